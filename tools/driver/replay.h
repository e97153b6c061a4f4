#pragma once
// Replays: the keys and frame times of every pass of a session, written down by the engine's recorder and
// played again by its player (engine/pass_input.h), as a player's sessions are, on the manual clock; and
// compared digest by digest with what the game did when the session was recorded.
//
// A session is tProgram::run from start-up (entry "run": intro, map, missions, outro), the outro alone
// (entry "outro"), or one battlefield started as the map screen starts it and played in the game's
// main loop (entry "battle3": the boss mission, whose node opens only once the other three are won); its file
// is driver/replay_file.h's. Digests are taken after every pass that ends a second
// of game clock or changes the game state; a frame is drawn only for those passes (every other pass runs the
// draw code with drawing switched off).
#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "driver/digest.h"
#include "driver/keys.h"
#include "driver/replay_file.h"

// What a session's player does on each pass. A player of code: the pass's frame time (0: the input has
// run out), then its keys, given through driver/keys.h into the window's queue as a player's are; the
// engine's recorder (engine/pass_input.h) reads them and moves the clock at the top of the pass, and
// writes the pass down. A recording: its passes, played by the engine's player as a watched session's are.
struct PassInput {
    std::function<int(int pass)> frameMs;
    std::function<void(int pass)> keys;
    const std::vector<PassRecord>* recorded = nullptr;
    // When set: every pass is drawn (not only those a digest looks at) and this is called once each
    // frame is, with the game clock of the pass that drew it.
    std::function<void(int ms)> frameDrawn = nullptr;
};
// A recorded replay's frame times and keys as a session's input.
PassInput recordedInput(const Replay& replay);
// Called with each digest as it is taken and the class of every object number so far; answering false
// ends the session early.
using DigestCheck = std::function<bool(const Digest& digest, const std::vector<std::uint8_t>& classes)>;

struct SessionResult {
    Replay replay;           // the passes played and the digests taken
    bool ranPastEnd = false; // the game wanted passes after the input ran out
    std::set<std::string> classesSeen, soundsPlayed, picturesDrawn;
};

// Plays one session from start-up in a fresh harness.
SessionResult playSession(const std::string& entry, int seed, const PassInput& input,
                          const DigestCheck& check);

// Plays a recorded replay and compares; empty when every digest matched, else the first difference in
// words. outDir: where a differing frame is written as PNG (empty: nowhere).
std::string checkReplay(const std::string& path, const Replay& recorded, const std::string& outDir,
                        SessionResult* result = nullptr);
// The first difference between two digests, in words ("" when equal).
std::string compareDigests(const Digest& got, const Digest& want, const std::vector<std::uint8_t>& gotClasses,
                           const std::vector<std::uint8_t>& wantClasses);
