#include "engine/file_frame.h"

#include <zlib.h>

namespace {

constexpr std::string_view kMagic = "VEVUFILE";

void putU32(std::string& out, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

std::uint32_t getU32(std::string_view bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i)
        value |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + i])) << (8 * i);
    return value;
}

// The CRC covers the version and length too, so a flipped bit in the header is caught like one in the
// contents.
std::uint32_t checksum(std::string_view versionAndLength, std::string_view contents) {
    uLong crc = crc32(0L, Z_NULL, 0);
    crc = crc32(crc, reinterpret_cast<const Bytef*>(versionAndLength.data()),
                static_cast<uInt>(versionAndLength.size()));
    crc = crc32(crc, reinterpret_cast<const Bytef*>(contents.data()), static_cast<uInt>(contents.size()));
    return static_cast<std::uint32_t>(crc);
}

} // namespace

std::string FrameFile(std::string_view contents, std::uint32_t version) {
    std::string out(kMagic);
    putU32(out, version);
    putU32(out, static_cast<std::uint32_t>(contents.size()));
    putU32(out, checksum(std::string_view(out).substr(8, 8), contents));
    out.append(contents);
    return out;
}

Unframed UnframeFile(std::string_view bytes, std::uint32_t newestVersion) {
    Unframed result;
    if (bytes.empty()) {
        result.check = FileCheck::damaged("it is empty");
        return result;
    }
    if (bytes.size() < kFrameHeaderBytes) {
        // A header cut short is told apart from a file that is no saved file at all.
        const bool ours = bytes.substr(0, std::min(bytes.size(), kMagic.size())) ==
                          kMagic.substr(0, std::min(bytes.size(), kMagic.size()));
        result.check = FileCheck::damaged(ours ? "it is cut short" : "it is not a file the game wrote");
        return result;
    }
    if (bytes.substr(0, kMagic.size()) != kMagic) {
        result.check = FileCheck::damaged("it is not a file the game wrote");
        return result;
    }
    const std::uint32_t version = getU32(bytes, 8);
    const std::uint32_t length = getU32(bytes, 12);
    const std::uint32_t crc = getU32(bytes, 16);
    const std::size_t present = bytes.size() - kFrameHeaderBytes;
    if (length > kMaxFramedBytes) {
        result.check = FileCheck::damaged("its length is impossible");
    } else if (present < length) {
        result.check = FileCheck::damaged("it is cut short");
    } else if (present > length) {
        result.check = FileCheck::damaged("it is longer than it says");
    } else if (checksum(bytes.substr(8, 8), bytes.substr(kFrameHeaderBytes)) != crc) {
        result.check = FileCheck::damaged("its checksum fails");
    } else if (version > newestVersion) {
        // Only believed once the checksum holds: a damaged version field is damage, not a newer game.
        result.check = FileCheck::newer("it comes from a newer version of the game");
        result.version = version;
    } else {
        result.version = version;
        result.contents = bytes.substr(kFrameHeaderBytes);
    }
    return result;
}
