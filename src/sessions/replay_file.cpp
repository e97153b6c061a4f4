#include "sessions/replay_file.h"

#include <zlib.h>

#include <algorithm>
#include <initializer_list>
#include <optional>

#include "engine/atomic_file.h"
#include "engine/utf8_paths.h"
#include "sessions/header_lines.h"

namespace {

constexpr std::string_view kMagic = "vevu replay";
// zlib packs at most 1032 bytes into one: data declared larger than that is damaged.
constexpr std::uint64_t kMostPackedRatio = 1032;
// The smallest block the allocator hands out for a pass's list of keys.
constexpr std::size_t kSmallestBlock = 32;

// The format the first line names; 0 with the reason in error when there is none.
int formatOf(std::string_view bytes, std::string& error) {
    if (bytes.substr(0, kMagic.size()) != kMagic ||
        (bytes.size() > kMagic.size() && bytes[kMagic.size()] != ' ' && bytes[kMagic.size()] != '\n')) {
        error = "it is not a replay (it does not start with \"vevu replay\")";
        return 0;
    }
    std::size_t at = 0;
    const auto first = NextHeaderLine(bytes, at);
    if (!first || first->size() <= kMagic.size()) {
        error = "its header is truncated or damaged (no format after \"vevu replay\")";
        return 0;
    }
    const std::string_view named = first->substr(kMagic.size() + 1);
    int format = 0;
    if (!ParseWholeNumber(named, format) || (format != kTestReplayFormat && format != kSessionFormat)) {
        error = "its replay format " + std::string(named) + " is not one this game reads (" +
                std::to_string(kTestReplayFormat) + " or " + std::to_string(kSessionFormat) + ")";
        return 0;
    }
    return format;
}

// ---------------------------------------------------------------------------------------------------
// Format 1

struct TestHeader {
    std::string entry;
    std::optional<int> seed;
    std::optional<std::uint32_t> assets;
    std::optional<std::uint64_t> passes, digests, dataSize, packedSize;
};

bool knownEntry(const std::string& entry) {
    const bool battle =
        entry.size() == 7 && entry.rfind("battle", 0) == 0 && entry[6] >= '0' && entry[6] <= '3';
    return entry == "run" || entry == "outro" || battle;
}

// The header's lines after the first, up to its "data" line; at ends where the packed data begins.
bool readTestHeader(std::string_view bytes, std::size_t& at, TestHeader& h, std::string& error) {
    const std::string damaged = "the header is truncated or damaged";
    NextHeaderLine(bytes, at); // the format, read already
    while (const auto line = NextHeaderLine(bytes, at)) {
        const std::size_t space = line->find(' ');
        const std::string_view word = line->substr(0, space);
        const std::string_view value = space == std::string_view::npos ? "" : line->substr(space + 1);
        bool read = true;
        if (word == "entry") {
            h.entry = value;
        } else if (word == "seed") {
            read = ParseWholeNumber(value, h.seed.emplace());
        } else if (word == "assets") {
            read = ParseWholeNumber(value, h.assets.emplace());
        } else if (word == "passes") {
            read = ParseWholeNumber(value, h.passes.emplace());
        } else if (word == "digests") {
            read = ParseWholeNumber(value, h.digests.emplace());
        } else if (word == "data") {
            const std::size_t between = value.find(' ');
            read = between != std::string_view::npos &&
                   ParseWholeNumber(value.substr(0, between), h.dataSize.emplace()) &&
                   ParseWholeNumber(value.substr(between + 1), h.packedSize.emplace());
        }
        if (!read) {
            error = damaged + " (\"" + std::string(*line) + "\")";
            return false;
        }
        if (word == "data") break;
    }
    for (const auto& [missing, name] :
         std::initializer_list<std::pair<bool, const char*>>{{h.entry.empty(), "entry"},
                                                             {!h.seed, "seed"},
                                                             {!h.assets, "assets"},
                                                             {!h.passes, "passes"},
                                                             {!h.digests, "digests"},
                                                             {!h.packedSize, "data"}})
        if (missing) {
            error = damaged + " (no \"" + name + "\" line)";
            return false;
        }
    if (!knownEntry(h.entry)) {
        error = "unknown entry \"" + h.entry + "\"";
        return false;
    }
    return true;
}

void readTestPasses(PackedReader& r, std::vector<PassRecord>& passes) {
    // A pass takes at least two numbers: its frame time and how many keys it gave.
    passes.resize(r.count(2, sizeof(PassRecord), "passes"));
    for (PassRecord& p : passes) {
        if (r.failed()) return;
        p.frameMs = static_cast<int>(r.get(255, "a frame time of"));
        if (p.frameMs == 0 && !r.failed()) r.fail("the data is damaged (a frame time of 0)");
        const std::size_t keys = r.count(2, sizeof(InputEvent), "keys");
        if (keys == 0 || !r.hold(kSmallestBlock)) continue;
        p.events.resize(keys);
        for (InputEvent& k : p.events) {
            // The engine's recorder writes every kind of event (an answer to a question to end, too).
            k.kind = static_cast<InputEvent::Kind>(r.get(InputEvent::kKinds - 1, "an input event of kind"));
            k.code = static_cast<std::uint32_t>(r.get(255, "a key of code"));
        }
    }
}

bool readTestReplay(std::string_view bytes, TestReplay& replay, std::string& error) {
    std::size_t at = 0;
    TestHeader header;
    if (!readTestHeader(bytes, at, header, error)) return false;
    const std::uint64_t packedSize = *header.packedSize, dataSize = *header.dataSize;
    if (packedSize > bytes.size() - at) {
        error = "truncated: " + std::to_string(bytes.size() - at) + " of " + std::to_string(packedSize) +
                " bytes of data";
        return false;
    }
    if (packedSize < bytes.size() - at) {
        error = "damaged: " + std::to_string(bytes.size() - at - packedSize) + " bytes after the data";
        return false;
    }
    if (dataSize == 0 || dataSize > kMaxReplayDataBytes || dataSize > packedSize * kMostPackedRatio) {
        error = "the header is truncated or damaged (" + std::to_string(dataSize) +
                " bytes of data packed into " + std::to_string(packedSize) + ")";
        return false;
    }
    TestReplay read;
    read.data.assign(dataSize, '\0');
    uLongf unpacked = static_cast<uLongf>(dataSize);
    if (uncompress(reinterpret_cast<Bytef*>(read.data.data()), &unpacked,
                   reinterpret_cast<const Bytef*>(bytes.data() + at),
                   static_cast<uLong>(packedSize)) != Z_OK ||
        unpacked != dataSize) {
        error = "the data is damaged (it does not decompress)";
        return false;
    }
    PackedReader r{read.data, 0, 0, kMaxReplayHeldBytes, {}};
    readTestPasses(r, read.passes);
    if (!r.failed() && read.passes.size() != *header.passes)
        r.fail("the data is damaged (the counts do not match the header)");
    if (r.failed()) {
        error = r.fault;
        return false;
    }
    read.entry = header.entry;
    read.seed = *header.seed;
    read.assets = *header.assets;
    read.digestCount = *header.digests;
    read.restAt = r.at;
    read.heldSoFar = r.held;
    replay = std::move(read);
    return true;
}

} // namespace

PackedReader TestReplay::rest() const {
    return PackedReader{data, restAt, heldSoFar, kMaxReplayHeldBytes, {}};
}

bool ReadReplayFile(std::string_view bytes, ReplayFile& replay, std::string& error) {
    replay = ReplayFile{};
    replay.format = formatOf(bytes, error);
    if (replay.format == kTestReplayFormat) return readTestReplay(bytes, replay.test, error);
    if (replay.format == kSessionFormat) return ReadSession(bytes, replay.session, error);
    return false;
}

bool LoadReplayFile(const std::string& path, ReplayFile& replay, std::string& error) {
    constexpr std::size_t kLargest = std::max(kMaxReplayFileBytes, kMaxSessionFileBytes);
    const FileRead read = ReadWholeFile(PathFromUtf8(path), kLargest);
    switch (read.outcome) {
    case FileRead::Outcome::Missing:
        error = path + ": cannot be opened (there is no such file)";
        return false;
    case FileRead::Outcome::TooLarge:
        error = path + ": it is larger than any replay (at most " + std::to_string(kLargest >> 20) + " MiB)";
        return false;
    case FileRead::Outcome::Failed:
        error = path + ": cannot be read (" + read.error + ")";
        return false;
    case FileRead::Outcome::Read:
        break;
    }
    if (!ReadReplayFile(read.bytes, replay, error)) {
        error = path + ": " + error;
        return false;
    }
    return true;
}
