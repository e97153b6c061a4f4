#include "sessions/session_player.h"

#include "engine/engine.h"
#include "game/program.h"
#include "sessions/session.h"

void tSessionPlayer::play() {
    const bool wasManual = ManualClockActive();
    const int clockBefore = Millis();
    UseManualClock(true);
    SetManualMillis(recording.start.clock);
    BeginSessionProgram(recording.start, SessionUse::Watched);
    next = 0;
    playedMillis = 0;
    PlayPasses([this](PassRecord& pass) {
        if (next >= static_cast<int>(recording.passes.size())) return false;
        if (pace && !pace(next)) return false;
        pass = recording.passes[static_cast<std::size_t>(next++)];
        playedMillis += pass.frameMs;
        return true;
    });
    theProgram->playFromMap();
    PlayPasses(nullptr);
    EndWatchedSession();
    StopAllChannels(); // nothing of the session goes on sounding
    SetDrawingEnabled(true);
    SetManualMillis(clockBefore);
    UseManualClock(wasManual);
}
