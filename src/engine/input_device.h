#pragma once

// The device the player used last: what the game's prompts show (a key cap, a pad's button in that pad's
// own layout, the touch control's name). Only a real press or a stick leaning past its dead zone counts,
// so two pads lying idle never take turns. Prompts only: nothing the game records or plays depends on it.

enum class InputDevice : int { Keyboard, Pad, Touch };

// How a pad's face buttons are labelled. The game reads the buttons by position (south is A on every pad,
// SDL's A), so a style only changes the pictures: a Nintendo pad's south button reads "B".
enum class PadStyle : int { Xbox, PlayStation, Nintendo, Generic };

InputDevice LastInputDevice();
// The style of the pad used last (Xbox before any pad was used).
PadStyle LastPadStyle();
// The style of an SDL_GameControllerType.
PadStyle PadStyleOfControllerType(int sdlControllerType);

namespace engine_detail {
void NoteKeyboardUsed();
void NotePadUsed(PadStyle style);
void NoteTouchUsed();
// The keyboard again, as at start-up (a fresh headless platform, a test's end).
void ResetInputDevice();
} // namespace engine_detail
