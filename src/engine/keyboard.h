#pragma once
#include <string>

// Keyboard polling with Windows virtual-key codes (1-255). SDL key events are mapped by keycode, so the
// key labelled Z is KEY_Z on every layout. Tables are refreshed from the event queue before each read.

constexpr int KEY_BACKSPACE = 8;
constexpr int KEY_TAB = 9;
constexpr int KEY_ENTER = 13;
constexpr int KEY_SHIFT = 16;
constexpr int KEY_CONTROL = 17;
constexpr int KEY_ALT = 18;
constexpr int KEY_PAUSE = 19;
constexpr int KEY_CAPSLOCK = 20;
constexpr int KEY_ESCAPE = 27;
constexpr int KEY_SPACE = 32;
constexpr int KEY_PAGEUP = 33;
constexpr int KEY_PAGEDOWN = 34;
constexpr int KEY_END = 35;
constexpr int KEY_HOME = 36;
constexpr int KEY_LEFT = 37;
constexpr int KEY_UP = 38;
constexpr int KEY_RIGHT = 39;
constexpr int KEY_DOWN = 40;
constexpr int KEY_INSERT = 45;
constexpr int KEY_DELETE = 46;
constexpr int KEY_0 = 48; // KEY_0 + n for digit n
constexpr int KEY_1 = 49;
constexpr int KEY_2 = 50;
constexpr int KEY_3 = 51;
constexpr int KEY_4 = 52;
constexpr int KEY_5 = 53;
constexpr int KEY_6 = 54;
constexpr int KEY_7 = 55;
constexpr int KEY_8 = 56;
constexpr int KEY_9 = 57;
constexpr int KEY_A = 65; // KEY_A + n for the n-th letter
constexpr int KEY_B = 66;
constexpr int KEY_C = 67;
constexpr int KEY_D = 68;
constexpr int KEY_E = 69;
constexpr int KEY_F = 70;
constexpr int KEY_G = 71;
constexpr int KEY_H = 72;
constexpr int KEY_I = 73;
constexpr int KEY_J = 74;
constexpr int KEY_K = 75;
constexpr int KEY_L = 76;
constexpr int KEY_M = 77;
constexpr int KEY_N = 78;
constexpr int KEY_O = 79;
constexpr int KEY_P = 80;
constexpr int KEY_Q = 81;
constexpr int KEY_R = 82;
constexpr int KEY_S = 83;
constexpr int KEY_T = 84;
constexpr int KEY_U = 85;
constexpr int KEY_V = 86;
constexpr int KEY_W = 87;
constexpr int KEY_X = 88;
constexpr int KEY_Y = 89;
constexpr int KEY_Z = 90;
constexpr int KEY_NUM0 = 96; // KEY_NUM0 + n for keypad digit n
constexpr int KEY_NUMMULTIPLY = 106;
constexpr int KEY_NUMADD = 107;
constexpr int KEY_NUMSUBTRACT = 109;
constexpr int KEY_NUMDECIMAL = 110;
constexpr int KEY_NUMDIVIDE = 111;
constexpr int KEY_F1 = 112; // KEY_F1 + n - 1 for Fn, up to F12
constexpr int KEY_F12 = 123;
constexpr int KEY_NUMLOCK = 144;
constexpr int KEY_SCROLLLOCK = 145;
constexpr int KEY_SEMICOLON = 186;
constexpr int KEY_EQUALS = 187;
constexpr int KEY_COMMA = 188;
constexpr int KEY_MINUS = 189;
constexpr int KEY_PERIOD = 190;
constexpr int KEY_SLASH = 191;
constexpr int KEY_TILDE = 192;
constexpr int KEY_OPENBRACKET = 219;
constexpr int KEY_BACKSLASH = 220;
constexpr int KEY_CLOSEBRACKET = 221;
constexpr int KEY_QUOTES = 222;
// The menu keys: no key on a keyboard makes them. The arrows, Enter and Esc hold them besides whatever
// the player bound those keys to, as the d-pad (and the left stick), A and B do on every pad, so a menu
// that answers them is never left without a way to move, take or step back, whatever the bindings.
constexpr int KEY_MENU_LEFT = 233;
constexpr int KEY_MENU_RIGHT = 234;
constexpr int KEY_MENU_UP = 235;
constexpr int KEY_MENU_DOWN = 236;
constexpr int KEY_MENU_CONFIRM = 237;
constexpr int KEY_MENU_BACK = 238;

// True while the key is down. Keys outside 1-255 are never down.
bool KeyHeld(int key);
// Presses of the key since the last call for that key; the count is then zeroed.
int KeyPressCount(int key);
// Zeroes the held and press tables of all 256 keys and empties the character queue.
void ClearKeys();
// Next typed character (printable text, Enter 13, Esc 27, Backspace 8, Tab 9), or 0 when none.
int NextChar();

// The virtual-key code of an SDL keycode (SDL_Keycode), or 0 when the game has no code for it.
int VirtualKeyFromKeycode(int sdlKeycode);
// The virtual-key code of a key by its place on the keyboard (SDL_Scancode), as a US layout labels it.
int VirtualKeyFromScancode(int sdlScancode);
// The key an SDL key event means: by its code where that is a Latin letter, a digit or a named key (the
// key labelled Z is Z on any Latin layout), otherwise by its place (on a Cyrillic, Greek or Hebrew
// layout the key where Z sits is Z).
int VirtualKeyFromKeysym(int sdlKeycode, int sdlScancode);

// The player's keys. Each key on the keyboard holds one of the game's keys: its own, until the game maps
// it to another (or to none, 0). KeyHeld, KeyPressCount and the injected keys speak of the game's keys
// only, so what the rules read, and what tests and replays inject, never changes with the mapping.
// Changing the mapping lets go of every key the keyboard holds.
void MapKey(int key, int gameKey);
// Every key back to holding itself.
void ResetKeyMap();
// The game's key a key on the keyboard holds (0: none; 0 for a key outside 1-255).
int MappedKey(int key);
// A key on the keyboard that holds gameKey, or 0: the one that pressed it last, else the one mapped to it
// first, else the key itself when it still holds itself, else the lowest.
int KeyHolding(int gameKey);
// The key on the keyboard pressed last (before mapping; auto-repeats do not count) since the last call,
// or 0: how the game learns which key a player wants for an action.
int TakeKeyPressed();
// A key's name as its cap shows it: "Z", "7", "Space", "Enter", "Left", "F5", "Num 4"; "" for a code no
// key on a keyboard makes (0, outside 1-255, or unused).
std::string KeyName(int key);

// The menu key a key on the keyboard holds besides its mapped one (KEY_MENU_BACK for Esc), or 0.
int MenuKeyOfKey(int key);
// Headless input, as the window's event queue would deliver it.
// A key going down: held, one more press, and the character it types queued (lower-case letters,
// digits, space, Enter, Esc, Backspace, Tab); TakeKeyPressed answers it. A key going up: no longer held.
// Injected keys are the game's keys: the mapping is not applied.
void InjectKeyDown(int key);
void InjectKeyUp(int key);
// Down then up: one press and its character.
void InjectKeyTap(int key);
// Queues a typed character only.
void InjectChar(int character);
