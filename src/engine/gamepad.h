#pragma once

// Game controllers through SDL's game-controller layer, plugged in before or during the game, as many
// as are plugged in. They hold and press the same keys as the keyboard, so KeyHeld, KeyPressCount and
// NextChar answer for them: the d-pad and the left stick are the arrows, A is Z, B is X, Y is C,
// Start is P and Back is Esc, and every button also types a character. A pad SDL has no mapping for
// is ignored; a pad unplugged releases everything it held.

// How far the left stick must lean before it holds an arrow: a quarter of its range.
constexpr int PAD_DEAD_ZONE = 8192;

// Starts listening for pads (the windowed platform does so when it opens the window). False when SDL's
// game-controller layer cannot start: the game then plays by keyboard alone.
bool OpenGamepads();
// Closes every pad and releases what they held.
void CloseGamepads();
// Pads open now.
int GamepadCount();
// The key a pad button (SDL_GameControllerButton) stands for, or 0 when it stands for none.
int VirtualKeyFromPadButton(int button);
