#pragma once
// The input and the frame time of every pass, below the game's rules: what a session recorder writes
// down and what a replay gives the game again, so that a session played in the window plays again
// exactly, pass by pass.
//
// The game calls BeginPass at the top of every pass of its loops. While passes are recorded, the clock
// the game reads stands still within a pass (it moves at BeginPass to the system's time, and by exactly
// what a sleep asked for), and the window's events reach the key state only at BeginPass: each pass is
// then fully told by its frame time and the events given to it. While passes are played, BeginPass takes
// the next recorded pass instead: the manual clock moves by its frame time and its events reach the key
// state; the window's own keys, pads and touches then go to the player's key state (PlayerKey*), which
// steers whatever shows the replay.
#include <cstdint>
#include <functional>
#include <vector>

// One thing that reached the game's key state, focus or close flags between two passes.
struct InputEvent {
    enum Kind : std::uint8_t {
        Down,      // held, one press, and the character the key types
        Up,        // no longer held
        Tap,       // Down then Up
        Char,      // a typed character only
        Press,     // held and one press, no character
        Hold,      // held without a press (a key repeat after the focus came back)
        FocusLost, // the window lost the focus
        Close,     // the window was closed or the process asked to stop
        EndAnswer, // what the platform answered when the game asked to end (code 1: yes)
        // The key on the keyboard (before the player's mapping) or the pad button pressed: what the
        // options learn a key or a button to bind from.
        KeyChosen,
        ButtonChosen,
    };
    static constexpr int kKinds = ButtonChosen + 1;
    Kind kind = Down;
    std::uint32_t code = 0; // a virtual-key code, a character, or an answer
    bool operator==(const InputEvent&) const = default;
};

struct PassRecord {
    int frameMs = 10;
    std::vector<InputEvent> events;
    bool operator==(const PassRecord&) const = default;
};

// The longest pass a recording keeps: a pass that waited longer (a machine asleep, a debugger) counts
// this long, for the game being recorded as for its recording (the game's clock lets the rest go).
constexpr int kLongestPassMs = 60 * 1000;

// Gives one event to the game's key state, focus or close flags, as the window would have.
void ApplyInputEvent(const InputEvent& event);

// The top of a pass of the game's loops.
void BeginPass();

// Records from the next BeginPass on: each pass, complete, is handed to sink when the next one begins
// (and the last when recording stops). A null sink stops recording.
using PassSink = std::function<void(const PassRecord&)>;
void RecordPasses(PassSink sink);
bool RecordingPasses();

// Plays passes: at each BeginPass, source fills in the next pass (it may wait, draw or pump the window
// meanwhile) or answers false when there is none; from then on the game is told the window was closed,
// which ends every loop. A null source stops playing and gives the window's input back to the game.
// unrecordedAnswer: what the game is told when it asks to end and the passes hold no answer (passes
// recorded where the platform never asks, as the desktop's test replays were, always meant yes).
using PassSource = std::function<bool(PassRecord& next)>;
void PlayPasses(PassSource source, bool unrecordedAnswer = false);
bool PlayingPasses();
// True once the source ran out or StopPlayback was called.
bool PlaybackEnded();
// Ends the playback at the next question the game asks (the player left the viewer).
void StopPlayback();

// The player's own input while passes play (while none play: the game's).
int PlayerKeyPressCount(int key);
bool PlayerKeyHeld(int key);
// True while the window's close was asked and not yet taken by the game (CloseRequested takes it).
bool WindowCloseWaiting();

namespace engine_detail {
// What recording and playing change in the engine's other parts.
bool EventsHeldBack(); // true while recording, outside BeginPass: events wait in SDL's queue
bool PlaybackCloseRequested();
bool PlaybackFocusLost();
bool PlaybackEndAnswer();
void RecordEndAnswer(bool yes);
void RecordFocusLost();
void RecordClose();
} // namespace engine_detail
