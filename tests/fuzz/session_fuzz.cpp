// The game's one reader of replay files on any bytes: a session read holds only passes the game can play
// (frame times within bounds, known event kinds, characters within Unicode) and marks of known kinds; a
// test's replay read holds passes of 1 to 255 ms with keys below 256 and a reader standing within its
// data; a session holds no more than the longest the game records, and the replays list's summary of it
// agrees with it; a refusal always says why; nothing crashes, hangs or allocates without bound.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "sessions/replay_file.h"

namespace {
void require(bool holds) {
    if (!holds) std::abort();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    ReplayFile replay;
    std::string error;
    const bool read = ReadReplayFile(bytes, replay, error);
    // The replays list's summary reads a player's session as the viewer does.
    SessionSummary summary;
    std::string summaryError;
    if (replay.format == kSessionFormat) {
        require(ReadSessionSummary(bytes, summary, summaryError) == read);
        require(summaryError == error);
    }
    if (!read) {
        require(!error.empty());
        return 0;
    }
    if (replay.format == kTestReplayFormat) {
        for (const PassRecord& pass : replay.test.passes) {
            require(pass.frameMs >= 1 && pass.frameMs <= 255);
            for (const InputEvent& event : pass.events)
                require(event.kind <= InputEvent::Char && event.code <= 255);
        }
        require(replay.test.restAt <= replay.test.data.size() &&
                replay.test.heldSoFar <= kMaxReplayHeldBytes);
        return 0;
    }
    const SessionRecording& recording = replay.session;
    // Never more than the longest session the game records.
    std::size_t held = recording.marks.size() * sizeof(SessionMark);
    for (const PassRecord& pass : recording.passes)
        held += SessionHeldBytes(pass.events.size());
    require(held <= kMostSessionHeldBytes && recording.lengthMs() <= kLongestSessionMs);
    require(summary.lengthMs == recording.lengthMs() && summary.finished == recording.finished &&
            summary.missionsPlayed == recording.missionsPlayed() &&
            summary.missionsWon == recording.missionsWon());
    for (const PassRecord& pass : recording.passes) {
        require(pass.frameMs >= 0 && pass.frameMs <= kLongestPassMs);
        for (const InputEvent& event : pass.events)
            require(event.kind < InputEvent::kKinds && event.code <= 0x10FFFF);
    }
    for (const SessionMark& mark : recording.marks)
        require(mark.kind >= 1 && mark.kind <= SessionMark::kLastKind && mark.mission >= 0 &&
                mark.mission <= 3 && mark.pass <= static_cast<int>(recording.passes.size()));
    return 0;
}
