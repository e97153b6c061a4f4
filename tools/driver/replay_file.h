#pragma once
// The test replays (*.vrp, format 1): the game's own reader (sessions/replay_file.h) reads their header
// and passes; the harness reads on from there the digests it took, and writes the whole file when it
// records one. Whatever the bytes, a replay is read or refused with the reason, in bounded memory and time.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "driver/digest.h"
#include "driver/keys.h"
#include "engine/atomic_file.h"
#include "sessions/replay_file.h"

struct Replay {
    std::string entry = "run";
    int seed = 12345;
    std::uint32_t assets = 0;
    std::vector<PassRecord> passes;
    std::vector<Digest> digests;
    std::vector<std::uint8_t> objectClasses; // the class of every object number
    bool operator==(const Replay&) const = default;
};

// The number a digest's value is filed under: its object, then its field.
inline std::uint64_t digestKey(const DigestItem& item) {
    return std::uint64_t{item.object} << 8 | item.field;
}

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
