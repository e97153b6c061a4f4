#pragma once
#include <string>

// Game controllers through SDL's game-controller layer, plugged in before or during the game, as many
// as are plugged in. They hold and press the same keys as the keyboard, so KeyHeld, KeyPressCount and
// NextChar answer for them: the d-pad and the left stick are the arrows, A is Z, B is X, Y is C,
// Start is P and Back is Esc, and every button also types a character. A pad SDL has no mapping for
// is ignored; a pad unplugged releases everything it held.

// Besides SDL's buttons (SDL_GameControllerButton, 0 to 20), the triggers and the right stick press like
// buttons and can be bound like them: numbered after SDL's.
constexpr int PAD_LEFT_TRIGGER = 21;
constexpr int PAD_RIGHT_TRIGGER = 22;
constexpr int PAD_RIGHT_STICK_LEFT = 23;
constexpr int PAD_RIGHT_STICK_RIGHT = 24;
constexpr int PAD_RIGHT_STICK_UP = 25;
constexpr int PAD_RIGHT_STICK_DOWN = 26;
constexpr int PAD_BUTTON_COUNT = 27;

// How far the left stick must lean before it holds an arrow: a quarter of its range.
constexpr int PAD_DEAD_ZONE = 8192;

// Starts listening for pads (the windowed platform does so when it opens the window). False when SDL's
// game-controller layer cannot start: the game then plays by keyboard alone.
bool OpenGamepads();
// Closes every pad and releases what they held.
void CloseGamepads();
// Pads open now.
int GamepadCount();
// The game's key a pad button (SDL_GameControllerButton) holds, or 0 when it holds none.
int VirtualKeyFromPadButton(int button);

// The player's buttons: each button holds one of the game's keys (or none, 0), the defaults as above.
// The left stick always holds the arrows. Changing the mapping lets go of every key the pads hold.
void MapPadButton(int button, int gameKey);
void ResetPadMap();
// The first button that holds gameKey, or -1.
int PadButtonHolding(int gameKey);
// The button pressed last on any pad (mapped or not) since the last call, or -1.
int TakePadButtonPressed();
// A button's name as players know it: "A", "Start", "D-pad left"; "" for no button.
std::string PadButtonName(int button);
// Whether a pad plugged in now can rumble.
bool GamepadsCanRumble();
// Rumbles every pad that can, at strength 0..1, for ms milliseconds (none while a replay plays quiet).
void RumbleGamepads(float strength, int ms);
