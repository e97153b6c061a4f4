#include "engine/keyboard.h"

#include <array>
#include <cstdint>
#include <utility>
#include <vector>

#include "engine/input_device.h"
#include "engine/pass_input.h"
#include "engine/platform.h"

namespace {
constexpr int kKeys = 256;
constexpr int kQueue = 256;

constexpr std::uint32_t kKeyboardBit = 1; // pads hold keys with the higher bits

std::array<int, kKeys> identityMap() {
    std::array<int, kKeys> map{};
    for (int key = 0; key < kKeys; ++key)
        map[key] = key;
    return map;
}

struct Keyboard {
    std::array<std::uint32_t, kKeys> heldBy{}; // one bit per input source holding the key
    std::array<int, kKeys> presses{};
    std::array<int, kQueue> queue{}; // typed characters, circular
    int queueHead = 0;               // next to read
    int queueCount = 0;
};

// The game's key state, and the player's while a replay plays (the window's keys then steer the viewer,
// not the game).
Keyboard keyboard;
Keyboard playerKeyboard;
Keyboard* devices = &keyboard; // where the window's keys, the pads and the touches go
// Which of the game's keys each key on the keyboard holds (its own until the player maps it). The map
// outlives a cleared key state.
std::array<int, kKeys> keyMap = identityMap();
// Per game key: the key on the keyboard mapped to it first, and the one that pressed it last, so that a
// prompt names the key the player uses (W, having steered with WASD) or else the first bound.
std::array<int, kKeys> firstHolder{};
std::array<int, kKeys> lastHolderUsed{};
int lastPressed = 0; // the key on the keyboard last pressed, before mapping (TakeKeyPressed)
std::vector<InputEvent>* inputLog = nullptr;

void logInput(const Keyboard& kb, InputEvent::Kind kind, int code) {
    if (inputLog && &kb == &keyboard) inputLog->push_back({kind, static_cast<std::uint32_t>(code)});
}

bool validKey(int key) {
    return key > 0 && key < kKeys;
}

void pushChar(Keyboard& kb, int character) {
    if (character <= 0) return;
    logInput(kb, InputEvent::Char, character);
    if (kb.queueCount == kQueue) return; // a full queue drops new characters
    kb.queue[(kb.queueHead + kb.queueCount) % kQueue] = character;
    ++kb.queueCount;
}

// Sets who holds the key; a press counts one more. The log tells what the game can see of it: a press,
// a key held without one, a key no longer held by anyone.
void setHolders(Keyboard& kb, int key, std::uint32_t holders, bool press) {
    const bool was = kb.heldBy[key] != 0;
    kb.heldBy[key] = holders;
    if (press) {
        ++kb.presses[key];
        logInput(kb, InputEvent::Press, key);
    } else if (!was && holders != 0) {
        logInput(kb, InputEvent::Hold, key);
    } else if (was && holders == 0) {
        logInput(kb, InputEvent::Up, key);
    }
}

void releaseSource(Keyboard& kb, std::uint32_t bit) {
    for (int key = 1; key < kKeys; ++key)
        if (kb.heldBy[key] & bit) setHolders(kb, key, kb.heldBy[key] & ~bit, false);
}

// The character a key types by itself, as a message loop would deliver it (no shift held).
int charOfKey(int key) {
    if (key >= KEY_A && key <= KEY_Z) return 'a' + (key - KEY_A);
    if (key >= KEY_0 && key <= KEY_9) return '0' + (key - KEY_0);
    switch (key) {
    case KEY_SPACE:
        return ' ';
    case KEY_ENTER:
        return 13;
    case KEY_ESCAPE:
        return 27;
    case KEY_BACKSPACE:
        return 8;
    case KEY_TAB:
        return 9;
    default:
        return 0;
    }
}

void keyDown(Keyboard& kb, int key, bool repeat) {
    if (!validKey(key)) return;
    // Auto-repeat keeps the key held but is not a new press: holding P must not toggle the pause.
    setHolders(kb, key, kb.heldBy[key] | kKeyboardBit, !repeat);
}

void keyUp(Keyboard& kb, int key) {
    if (validKey(key)) setHolders(kb, key, kb.heldBy[key] & ~kKeyboardBit, false);
}

// The character a key event types, as a message loop delivers it (auto-repeats included): the control
// characters of Enter, Esc, Backspace and Tab, and the printable character of the layout's key, a Latin
// letter in capitals with Shift or Caps Lock. SDL's text input stays off (the game takes no text, and an
// input method would swallow the letters), so the characters come from the keys themselves.
int charOfKeyEvent(const SDL_Keysym& keysym, int key) {
    if (key == KEY_ENTER || key == KEY_ESCAPE || key == KEY_BACKSPACE || key == KEY_TAB)
        return charOfKey(key);
    const SDL_Keycode code = keysym.sym;
    if (code < ' ' || code == SDLK_DELETE || (code & SDLK_SCANCODE_MASK) != 0 || code > 0x10FFFF) return 0;
    const bool shifted = ((keysym.mod & KMOD_SHIFT) != 0) != ((keysym.mod & KMOD_CAPS) != 0);
    if (shifted && code >= 'a' && code <= 'z') return code - 'a' + 'A';
    return code;
}
} // namespace

int VirtualKeyFromKeycode(int code) {
    if (code >= SDLK_a && code <= SDLK_z) return KEY_A + (code - SDLK_a);
    if (code >= SDLK_0 && code <= SDLK_9) return KEY_0 + (code - SDLK_0);
    if (code >= SDLK_F1 && code <= SDLK_F12) return KEY_F1 + (code - SDLK_F1);
    if (code >= SDLK_KP_1 && code <= SDLK_KP_9) return KEY_NUM0 + 1 + (code - SDLK_KP_1);
    switch (code) {
    case SDLK_BACKSPACE:
        return KEY_BACKSPACE;
    case SDLK_TAB:
        return KEY_TAB;
    case SDLK_RETURN:
    case SDLK_KP_ENTER:
        return KEY_ENTER;
    case SDLK_LSHIFT:
    case SDLK_RSHIFT:
        return KEY_SHIFT;
    case SDLK_LCTRL:
    case SDLK_RCTRL:
        return KEY_CONTROL;
    case SDLK_LALT:
    case SDLK_RALT:
        return KEY_ALT;
    case SDLK_PAUSE:
        return KEY_PAUSE;
    case SDLK_CAPSLOCK:
        return KEY_CAPSLOCK;
    case SDLK_ESCAPE:
        return KEY_ESCAPE;
    case SDLK_SPACE:
        return KEY_SPACE;
    case SDLK_PAGEUP:
        return KEY_PAGEUP;
    case SDLK_PAGEDOWN:
        return KEY_PAGEDOWN;
    case SDLK_END:
        return KEY_END;
    case SDLK_HOME:
        return KEY_HOME;
    case SDLK_LEFT:
        return KEY_LEFT;
    case SDLK_UP:
        return KEY_UP;
    case SDLK_RIGHT:
        return KEY_RIGHT;
    case SDLK_DOWN:
        return KEY_DOWN;
    case SDLK_INSERT:
        return KEY_INSERT;
    case SDLK_DELETE:
        return KEY_DELETE;
    case SDLK_KP_0:
        return KEY_NUM0;
    case SDLK_KP_MULTIPLY:
        return KEY_NUMMULTIPLY;
    case SDLK_KP_PLUS:
        return KEY_NUMADD;
    case SDLK_KP_MINUS:
        return KEY_NUMSUBTRACT;
    case SDLK_KP_PERIOD:
        return KEY_NUMDECIMAL;
    case SDLK_KP_DIVIDE:
        return KEY_NUMDIVIDE;
    case SDLK_NUMLOCKCLEAR:
        return KEY_NUMLOCK;
    case SDLK_SCROLLLOCK:
        return KEY_SCROLLLOCK;
    case SDLK_SEMICOLON:
        return KEY_SEMICOLON;
    case SDLK_EQUALS:
        return KEY_EQUALS;
    case SDLK_COMMA:
        return KEY_COMMA;
    case SDLK_MINUS:
        return KEY_MINUS;
    case SDLK_PERIOD:
        return KEY_PERIOD;
    case SDLK_SLASH:
        return KEY_SLASH;
    case SDLK_BACKQUOTE:
        return KEY_TILDE;
    case SDLK_LEFTBRACKET:
        return KEY_OPENBRACKET;
    case SDLK_BACKSLASH:
        return KEY_BACKSLASH;
    case SDLK_RIGHTBRACKET:
        return KEY_CLOSEBRACKET;
    case SDLK_QUOTE:
        return KEY_QUOTES;
    default:
        return 0;
    }
}

int VirtualKeyFromScancode(int code) {
    if (code >= SDL_SCANCODE_A && code <= SDL_SCANCODE_Z) return KEY_A + (code - SDL_SCANCODE_A);
    if (code >= SDL_SCANCODE_1 && code <= SDL_SCANCODE_9) return KEY_1 + (code - SDL_SCANCODE_1);
    switch (code) {
    case SDL_SCANCODE_0:
        return KEY_0;
    case SDL_SCANCODE_MINUS:
        return KEY_MINUS;
    case SDL_SCANCODE_EQUALS:
        return KEY_EQUALS;
    case SDL_SCANCODE_LEFTBRACKET:
        return KEY_OPENBRACKET;
    case SDL_SCANCODE_RIGHTBRACKET:
        return KEY_CLOSEBRACKET;
    case SDL_SCANCODE_BACKSLASH:
        return KEY_BACKSLASH;
    case SDL_SCANCODE_SEMICOLON:
        return KEY_SEMICOLON;
    case SDL_SCANCODE_APOSTROPHE:
        return KEY_QUOTES;
    case SDL_SCANCODE_GRAVE:
        return KEY_TILDE;
    case SDL_SCANCODE_COMMA:
        return KEY_COMMA;
    case SDL_SCANCODE_PERIOD:
        return KEY_PERIOD;
    case SDL_SCANCODE_SLASH:
        return KEY_SLASH;
    default:
        return 0;
    }
}

std::string KeyName(int key) {
    if (!validKey(key)) return "";
    if ((key >= KEY_A && key <= KEY_Z) || (key >= KEY_0 && key <= KEY_9)) return std::string(1, char(key));
    if (key >= KEY_F1 && key <= KEY_F12) return "F" + std::to_string(key - KEY_F1 + 1);
    if (key >= KEY_NUM0 && key <= KEY_NUM0 + 9) return "Num " + std::to_string(key - KEY_NUM0);
    static const struct {
        int key;
        const char* name;
    } named[] = {{KEY_BACKSPACE, "Backspace"},
                 {KEY_TAB, "Tab"},
                 {KEY_ENTER, "Enter"},
                 {KEY_SHIFT, "Shift"},
                 {KEY_CONTROL, "Ctrl"},
                 {KEY_ALT, "Alt"},
                 {KEY_PAUSE, "Pause"},
                 {KEY_CAPSLOCK, "Caps"},
                 {KEY_ESCAPE, "Esc"},
                 {KEY_SPACE, "Space"},
                 {KEY_PAGEUP, "PgUp"},
                 {KEY_PAGEDOWN, "PgDn"},
                 {KEY_END, "End"},
                 {KEY_HOME, "Home"},
                 {KEY_LEFT, "Left"},
                 {KEY_UP, "Up"},
                 {KEY_RIGHT, "Right"},
                 {KEY_DOWN, "Down"},
                 {KEY_INSERT, "Ins"},
                 {KEY_DELETE, "Del"},
                 {KEY_NUMMULTIPLY, "Num *"},
                 {KEY_NUMADD, "Num +"},
                 {KEY_NUMSUBTRACT, "Num -"},
                 {KEY_NUMDECIMAL, "Num ."},
                 {KEY_NUMDIVIDE, "Num /"},
                 {KEY_NUMLOCK, "NumLock"},
                 {KEY_SCROLLLOCK, "ScrLock"},
                 {KEY_SEMICOLON, ";"},
                 {KEY_EQUALS, "="},
                 {KEY_COMMA, ","},
                 {KEY_MINUS, "-"},
                 {KEY_PERIOD, "."},
                 {KEY_SLASH, "/"},
                 {KEY_TILDE, "`"},
                 {KEY_OPENBRACKET, "["},
                 {KEY_BACKSLASH, "\\"},
                 {KEY_CLOSEBRACKET, "]"},
                 {KEY_QUOTES, "'"}};
    for (const auto& n : named) {
        if (n.key == key) return n.name;
    }
    return ""; // no key on a keyboard makes this code
}

int MenuKeyOfKey(int key) {
    switch (key) {
    case KEY_LEFT:
        return KEY_MENU_LEFT;
    case KEY_RIGHT:
        return KEY_MENU_RIGHT;
    case KEY_UP:
        return KEY_MENU_UP;
    case KEY_DOWN:
        return KEY_MENU_DOWN;
    case KEY_ENTER:
        return KEY_MENU_CONFIRM;
    case KEY_ESCAPE:
        return KEY_MENU_BACK;
    default:
        return 0;
    }
}

int VirtualKeyFromKeysym(int keycode, int scancode) {
    const int key = VirtualKeyFromKeycode(keycode);
    return key != 0 ? key : VirtualKeyFromScancode(scancode);
}

namespace engine_detail {

void HandleKeyboardEvent(const SDL_Event& event) {
    switch (event.type) {
    case SDL_KEYDOWN: {
        const int key = VirtualKeyFromKeysym(event.key.keysym.sym, event.key.keysym.scancode);
        if (!event.key.repeat && validKey(key)) {
            engine_detail::NoteKeyboardUsed();
            if (validKey(keyMap[key])) lastHolderUsed[keyMap[key]] = key;
            if (engine_detail::NoteChosen(InputEvent::KeyChosen, key)) lastPressed = key;
        }
        keyDown(*devices, MappedKey(key), event.key.repeat != 0);
        keyDown(*devices, MenuKeyOfKey(key), event.key.repeat != 0);
        pushChar(*devices, charOfKeyEvent(event.key.keysym, key));
        break;
    }
    case SDL_KEYUP: {
        const int key = VirtualKeyFromKeysym(event.key.keysym.sym, event.key.keysym.scancode);
        keyUp(*devices, MappedKey(key));
        keyUp(*devices, MenuKeyOfKey(key));
        break;
    }
    case SDL_WINDOWEVENT:
        // A window that loses the focus gets no key-up events: release every key.
        if (event.window.event == SDL_WINDOWEVENT_FOCUS_LOST) releaseSource(*devices, kKeyboardBit);
        break;
    default:
        break;
    }
}

void ResetKeyboard() {
    keyboard = Keyboard{};
}

void SetKeyHeldBy(int source, int key, bool held) {
    if (!validKey(key) || source < 1 || source >= kInputSources) return;
    Keyboard& kb = *devices;
    const std::uint32_t bit = std::uint32_t{1} << source;
    const bool press = held && !(kb.heldBy[key] & bit);
    setHolders(kb, key, held ? (kb.heldBy[key] | bit) : (kb.heldBy[key] & ~bit), press);
}

void ReleaseKeysHeldBy(int source) {
    if (source < 1 || source >= kInputSources) return;
    releaseSource(*devices, std::uint32_t{1} << source);
}

void TypeKeyChar(int key) {
    const int character = validKey(key) ? charOfKey(key) : 0;
    pushChar(*devices, character != 0 ? character : ' ');
}

void LogInputTo(std::vector<InputEvent>* log) {
    inputLog = log;
}

void SendDeviceInputToPlayer(bool toPlayer) {
    Keyboard* wanted = toPlayer ? &playerKeyboard : &keyboard;
    if (devices == wanted) return;
    // Keys held when the window's input changes hands are let go: neither side sees their release.
    releaseSource(*devices, ~std::uint32_t{0});
    playerKeyboard = Keyboard{};
    devices = wanted;
}

bool NoteChosen(InputEvent::Kind kind, int code) {
    if (devices != &keyboard) return false;
    logInput(keyboard, kind, code);
    return true;
}

void ApplyKeyEvent(InputEvent::Kind kind, int code) {
    switch (kind) {
    case InputEvent::KeyChosen:
        if (validKey(code)) lastPressed = code;
        break;
    case InputEvent::Down:
        InjectKeyDown(code);
        break;
    case InputEvent::Up:
        keyUp(keyboard, code);
        break;
    case InputEvent::Tap:
        InjectKeyTap(code);
        break;
    case InputEvent::Char:
        pushChar(keyboard, code);
        break;
    case InputEvent::Press:
        if (validKey(code)) setHolders(keyboard, code, keyboard.heldBy[code] | kKeyboardBit, true);
        break;
    case InputEvent::Hold:
        if (validKey(code)) setHolders(keyboard, code, keyboard.heldBy[code] | kKeyboardBit, false);
        break;
    default:
        break;
    }
}

} // namespace engine_detail

int PlayerKeyPressCount(int key) {
    engine_detail::PumpEvents();
    if (!validKey(key)) return 0;
    return std::exchange(devices->presses[key], 0);
}

bool PlayerKeyHeld(int key) {
    engine_detail::PumpEvents();
    return validKey(key) && devices->heldBy[key] != 0;
}

bool KeyHeld(int key) {
    engine_detail::PumpEvents();
    return validKey(key) && keyboard.heldBy[key] != 0;
}

int KeyPressCount(int key) {
    engine_detail::PumpEvents();
    if (!validKey(key)) return 0;
    int count = keyboard.presses[key];
    keyboard.presses[key] = 0;
    return count;
}

void ClearKeys() {
    engine_detail::PumpEvents();
    engine_detail::ResetKeyboard();
}

int NextChar() {
    engine_detail::PumpEvents();
    if (keyboard.queueCount == 0) return 0;
    int character = keyboard.queue[keyboard.queueHead];
    keyboard.queueHead = (keyboard.queueHead + 1) % kQueue;
    --keyboard.queueCount;
    return character;
}

void MapKey(int key, int gameKey) {
    if (!validKey(key)) return;
    keyMap[key] = validKey(gameKey) ? gameKey : 0;
    if (validKey(gameKey) && keyMap[firstHolder[gameKey]] != gameKey) firstHolder[gameKey] = key;
    releaseSource(*devices, kKeyboardBit); // a held key whose meaning changes would never be let go of
}

void ResetKeyMap() {
    keyMap = identityMap();
    firstHolder = {};
    lastHolderUsed = {};
    releaseSource(*devices, kKeyboardBit); // a held key whose meaning changes would never be let go of
}

int MappedKey(int key) {
    return validKey(key) ? keyMap[key] : 0;
}

int KeyHolding(int gameKey) {
    if (!validKey(gameKey)) return 0;
    for (int key : {lastHolderUsed[gameKey], firstHolder[gameKey]}) {
        if (validKey(key) && keyMap[key] == gameKey) return key;
    }
    if (keyMap[gameKey] == gameKey) return gameKey; // a key's own next: Z names Z while it can
    for (int key = 1; key < kKeys; ++key) {
        if (keyMap[key] == gameKey) return key;
    }
    return 0;
}

int TakeKeyPressed() {
    engine_detail::PumpEvents();
    return std::exchange(lastPressed, 0);
}

void InjectKeyDown(int key) {
    if (validKey(key)) lastPressed = key;
    keyDown(keyboard, key, false);
    if (validKey(key)) pushChar(keyboard, charOfKey(key));
}

void InjectKeyUp(int key) {
    keyUp(keyboard, key);
}

void InjectKeyTap(int key) {
    InjectKeyDown(key);
    InjectKeyUp(key);
}

void InjectChar(int character) {
    pushChar(keyboard, character);
}
