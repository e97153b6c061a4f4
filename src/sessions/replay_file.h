#pragma once
// The one reader of replay files (*.vrp), whichever format wrote them:
//
//   format 2  a player's session (sessions/session_file.h): the game watches it.
//   format 1  a test's replay (tests/replays): a few text lines (entry, seed, the assets' hash, the
//             sizes) and the zlib-packed passes, then the digests the test harness took, which the
//             harness reads on from where this reader stops (tools/driver/replay_file.h).
//
//     vevu replay 1
//     entry run                     run (start-up on), outro, battle0 to battle3
//     seed 12345
//     assets 3735928559
//     passes 11520
//     digests 1163
//     data 503612 151203            bytes unpacked, bytes packed
//     <zlib: the passes (frame time, keys), the digests, the class of every object number>
//
// Whatever the bytes, the reader reads a replay or refuses them with the reason, in bounded memory and
// time.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/pass_input.h"
#include "sessions/packed_numbers.h"
#include "sessions/session_file.h"

// The most a test replay may take: its file, its data unpacked, and what it holds once read. The whole
// campaign (19 minutes of play) is 150 KiB of file, 500 KiB of data and about 7 MiB held.
constexpr std::size_t kMaxReplayFileBytes = 64u << 20;
constexpr std::size_t kMaxReplayDataBytes = 64u << 20;
constexpr std::size_t kMaxReplayHeldBytes = 128u << 20;
constexpr int kTestReplayFormat = 1;

// A test replay as far as the game reads it: how the session starts and every pass.
struct TestReplay {
    std::string entry = "run";
    int seed = 12345;
    std::uint32_t assets = 0;
    std::vector<PassRecord> passes; // frame times of 1 to 255 ms; event codes below 256
    std::uint64_t digestCount = 0;  // as the header declares
    // The data unpacked and a reader standing after the passes, what they hold counted.
    std::string data;
    PackedReader rest() const;
    std::size_t restAt = 0;
    std::size_t heldSoFar = 0;
};

struct ReplayFile {
    int format = 0;
    SessionRecording session; // format 2
    TestReplay test;          // format 1
};

// The bytes of a replay file; false with what is wrong in error.
bool ReadReplayFile(std::string_view bytes, ReplayFile& replay, std::string& error);
// A file from disk (UTF-8 name; at most the larger of the formats' limits); the error names the path.
bool LoadReplayFile(const std::string& path, ReplayFile& replay, std::string& error);
