#pragma once
// The replay file (*.vrp): a few text lines (format version, entry, seed, the hash of the assets, the
// sizes) followed by the zlib-compressed passes and digests. The reader trusts nothing in it: whatever
// the bytes, it reads a replay or refuses them with the reason, in bounded memory and time.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "driver/digest.h"
#include "engine/atomic_file.h"
#include "driver/keys.h"

struct ReplayPass {
    std::uint8_t frameMs = 10;
    std::vector<KeyEvent> keys;
    bool operator==(const ReplayPass&) const = default;
};

struct Replay {
    static constexpr int kVersion = 1;
    std::string entry = "run";
    int seed = 12345;
    std::uint32_t assets = 0;
    std::vector<ReplayPass> passes;
    std::vector<Digest> digests;
    std::vector<std::uint8_t> objectClasses; // the class of every object number
    bool operator==(const Replay&) const = default;
};

// The most a replay may take: its file, its data unpacked, and what it holds once read. The whole
// campaign (19 minutes of play) is 150 KiB of file, 500 KiB of data and about 7 MiB held.
constexpr std::size_t kMaxReplayFileBytes = 64u << 20;
constexpr std::size_t kMaxReplayDataBytes = 64u << 20;
constexpr std::size_t kMaxReplayHeldBytes = 256u << 20;

// The number a digest's value is filed under: its object, then its field.
inline std::uint64_t digestKey(const DigestItem& item) {
    return std::uint64_t{item.object} << 8 | item.field;
}

// The hash of every embedded asset: a replay recorded with other pictures or sounds cannot match.
std::uint32_t assetsHash();

// A replay as the bytes of its file; false only when zlib cannot pack it (out of memory).
bool encodeReplay(const Replay& replay, std::string& bytes);
// The bytes of a replay file read back; false with the reason in error. The assets hash is read, not
// checked.
bool decodeReplay(std::string_view bytes, Replay& replay, std::string& error);

// Replaces the file whole or not at all (engine/atomic_file.h); false with the reason in error (the path
// is part of it). fault: tests make the write fail.
bool saveReplay(const std::string& path, const Replay& replay, std::string& error,
                const WriteFault* fault = nullptr);
// A replay recorded with other assets is refused unless otherAssetsAllowed (to re-record it, or to draw
// one of its frames: the picture that changed is what is looked for).
bool loadReplay(const std::string& path, Replay& replay, std::string& error, bool otherAssetsAllowed = false);
