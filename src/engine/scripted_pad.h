#pragma once
#include <cstdint>
#include <string>

// A pad for the real-window tests, driven from outside the program: when VEVU_TEST_PAD names a file, the
// window plugs in one of SDL's virtual game controllers and, pass by pass, plays the lines appended to
// that file on it, as a player's thumbs would. A player's run never sets the variable, and then nothing
// here happens. A line is one of
//   press BUTTON     release BUTTON     tap BUTTON (pressed now, let go of on the next pass)
//   axis AXIS VALUE  (VALUE from -32768 to 32767)
// with SDL's names for the buttons and axes ("a", "start", "dpup", "lefttrigger", "leftx"). A line that
// is none of these is refused on stderr and skipped.

struct tPadScriptStep {
    enum class Kind { Press, Release, Tap, Axis };
    Kind kind = Kind::Press;
    int which = 0;     // SDL_GameControllerButton or SDL_GameControllerAxis
    int16_t value = 0; // an axis's
};

// Reads one line of a pad script; false, with why in words, for a line that is no step.
bool ParsePadScriptLine(const std::string& line, tPadScriptStep& step, std::string& why);

namespace engine_detail {
// Plugs the pad in when VEVU_TEST_PAD is set (the game-controller layer must be open).
void AttachScriptedPad();
// Plays the next step of the script, if one has been written; called before each read of the events.
void StepScriptedPad();
void DetachScriptedPad();
} // namespace engine_detail
