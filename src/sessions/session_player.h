#pragma once
// Plays a recorded session in theProgram: the game made anew from the session's start on the manual
// clock, then its passes one by one through the engine (src/engine/pass_input.h). Whoever shows it
// (the in-game viewer, the tests) decides through `pace` when each pass plays and which are drawn.
#include <functional>

#include "engine/pass_input.h"
#include "sessions/session_file.h"

class tSessionPlayer {
  public:
    explicit tSessionPlayer(const SessionRecording& recording) : recording(recording) {}

    // Called before each pass with its number: false stops the playback there.
    std::function<bool(int pass)> pace;

    // Plays to the end of the recording (or until pace stops it). The engine's clock and theProgram are
    // the session's meanwhile; the clock is given back afterwards, theProgram is left as the session
    // ended it.
    void play();
    int passesPlayed() const { return next; }
    // Game milliseconds the passes played so far hold.
    long long playedMs() const { return playedMillis; }
    const SessionRecording& recording;

  private:
    int next = 0;
    long long playedMillis = 0;
};
