// The replay reader given any bytes: it reads them or refuses them with a reason, never crashes, never
// holds more than a replay may, and a replay it reads is written and read back the same; each digest it
// reads is told as a failing check would tell it, as the one recorded and as the one played.
#include <zlib.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "driver/replay.h"
#include "driver/replay_file.h"

namespace {

void require(bool holds, const char* what) {
    if (holds) return;
    std::fprintf(stderr, "replay_fuzz: %s\n", what);
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    Replay replay;
    std::string error;
    if (!decodeReplay(bytes, replay, error)) {
        require(!error.empty(), "a refusal without a reason");
        return 0;
    }
    std::string again;
    require(encodeReplay(replay, again), "a replay read cannot be written");
    Replay back;
    require(decodeReplay(again, back, error), "a replay written cannot be read back");
    require(back == replay, "a replay written and read back is another");
    for (const Digest& digest : replay.digests) {
        compareDigests(Digest{}, digest, {}, replay.objectClasses);
        compareDigests(digest, Digest{}, replay.objectClasses, {});
    }
    return 0;
}

#ifdef VEVU_LIBFUZZER
// Most of a replay is packed with zlib, so a byte changed there almost never unpacks. Half the changes
// unpack the data, change that and pack it again under a header that fits; the other half change the
// file as it is, since the header and the packing are read too.
extern "C" std::size_t LLVMFuzzerMutate(std::uint8_t* data, std::size_t size, std::size_t maxSize);

extern "C" std::size_t LLVMFuzzerCustomMutator(std::uint8_t* data, std::size_t size, std::size_t maxSize,
                                               unsigned int seed) {
    constexpr std::size_t kLargestData = 1u << 22;
    const std::string_view file(reinterpret_cast<const char*>(data), size);
    const std::size_t dataLine = file.find("\ndata ");
    const std::size_t dataEnd = file.find('\n', dataLine + 1);
    unsigned long long dataSize = 0, packedSize = 0;
    if (seed % 2 == 0 || dataLine == std::string_view::npos || dataEnd == std::string_view::npos ||
        std::sscanf(std::string(file.substr(dataLine + 6, dataEnd - dataLine - 6)).c_str(), "%llu %llu",
                    &dataSize, &packedSize) != 2 ||
        dataSize == 0 || dataSize > kLargestData / 2)
        return LLVMFuzzerMutate(data, size, maxSize);
    std::string unpacked(dataSize * 2 + 64, '\0');
    uLongf unpackedSize = static_cast<uLongf>(dataSize);
    if (uncompress(reinterpret_cast<Bytef*>(unpacked.data()), &unpackedSize,
                   reinterpret_cast<const Bytef*>(file.data() + dataEnd + 1),
                   static_cast<uLong>(file.size() - dataEnd - 1)) != Z_OK)
        return LLVMFuzzerMutate(data, size, maxSize);
    unpacked.resize(
        LLVMFuzzerMutate(reinterpret_cast<std::uint8_t*>(unpacked.data()), unpackedSize, unpacked.size()));
    uLongf packedNow = compressBound(unpacked.size());
    std::string packed(packedNow, '\0');
    if (compress2(reinterpret_cast<Bytef*>(packed.data()), &packedNow,
                  reinterpret_cast<const Bytef*>(unpacked.data()), unpacked.size(), 1) != Z_OK)
        return LLVMFuzzerMutate(data, size, maxSize);
    packed.resize(packedNow);
    const std::string changed = std::string(file.substr(0, dataLine)) + "\ndata " +
                                std::to_string(unpacked.size()) + " " + std::to_string(packed.size()) + "\n" +
                                packed;
    if (changed.size() > maxSize) return LLVMFuzzerMutate(data, size, maxSize);
    std::memcpy(data, changed.data(), changed.size());
    return changed.size();
}
#endif
