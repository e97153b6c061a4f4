#include "engine/gamepad.h"

#include <algorithm>
#include <array>
#include <utility>
#include <vector>

#include "engine/input_device.h"
#include "engine/keyboard.h"
#include "engine/platform.h"
#include "engine/sound.h"

namespace {

struct Pad {
    SDL_GameController* controller = nullptr;
    SDL_JoystickID id = -1;
    int source = 0; // its bit in the key state
    PadStyle style = PadStyle::Generic;
    std::array<bool, PAD_BUTTON_COUNT> buttons{}; // SDL's, then the triggers and the right stick
    int stickX = 0, stickY = 0;
};

std::vector<Pad> pads;
bool listening = false;
int lastPressedButton = -1; // the button pressed last (TakePadButtonPressed), before mapping

// Which of the game's keys each button holds.
static_assert(SDL_CONTROLLER_BUTTON_MAX == PAD_LEFT_TRIGGER, "the triggers are numbered after SDL's buttons");

std::array<int, PAD_BUTTON_COUNT> defaultPadMap() {
    std::array<int, PAD_BUTTON_COUNT> map{};
    map[SDL_CONTROLLER_BUTTON_DPAD_LEFT] = KEY_LEFT;
    map[SDL_CONTROLLER_BUTTON_DPAD_RIGHT] = KEY_RIGHT;
    map[SDL_CONTROLLER_BUTTON_DPAD_UP] = KEY_UP;
    map[SDL_CONTROLLER_BUTTON_DPAD_DOWN] = KEY_DOWN;
    map[SDL_CONTROLLER_BUTTON_A] = KEY_Z;
    map[SDL_CONTROLLER_BUTTON_B] = KEY_X;
    map[SDL_CONTROLLER_BUTTON_Y] = KEY_C;
    map[SDL_CONTROLLER_BUTTON_START] = KEY_P;
    map[SDL_CONTROLLER_BUTTON_BACK] = KEY_ESCAPE;
    return map;
}
std::array<int, PAD_BUTTON_COUNT> padMap = defaultPadMap();

constexpr int kKeys = 256;
using KeySet = std::array<bool, kKeys>;

// The keys the pad, as it is now, holds: those its pressed buttons are mapped to, and an arrow for the
// stick leaning past the dead zone.
KeySet held(const Pad& pad) {
    KeySet keys{};
    for (int b = 0; b < PAD_BUTTON_COUNT; ++b) {
        const int key = padMap[static_cast<std::size_t>(b)];
        if (pad.buttons[static_cast<std::size_t>(b)] && key > 0 && key < kKeys)
            keys[static_cast<std::size_t>(key)] = true;
    }
    if (pad.stickX < -PAD_DEAD_ZONE) keys[KEY_LEFT] = keys[KEY_MENU_LEFT] = true;
    if (pad.stickX > PAD_DEAD_ZONE) keys[KEY_RIGHT] = keys[KEY_MENU_RIGHT] = true;
    if (pad.stickY < -PAD_DEAD_ZONE) keys[KEY_UP] = keys[KEY_MENU_UP] = true;
    if (pad.stickY > PAD_DEAD_ZONE) keys[KEY_DOWN] = keys[KEY_MENU_DOWN] = true;
    // The menu keys by the buttons' places, whatever they are bound to: south takes, east steps back.
    const auto button = [&pad](int b) { return pad.buttons[static_cast<std::size_t>(b)]; };
    if (button(SDL_CONTROLLER_BUTTON_DPAD_LEFT)) keys[KEY_MENU_LEFT] = true;
    if (button(SDL_CONTROLLER_BUTTON_DPAD_RIGHT)) keys[KEY_MENU_RIGHT] = true;
    if (button(SDL_CONTROLLER_BUTTON_DPAD_UP)) keys[KEY_MENU_UP] = true;
    if (button(SDL_CONTROLLER_BUTTON_DPAD_DOWN)) keys[KEY_MENU_DOWN] = true;
    if (button(SDL_CONTROLLER_BUTTON_A)) keys[KEY_MENU_CONFIRM] = true;
    if (button(SDL_CONTROLLER_BUTTON_B)) keys[KEY_MENU_BACK] = true;
    return keys;
}

// Applies a change of the pad's buttons or stick to the key state: only keys whose hold changed are
// told, so a key released by ClearKeys stays released until the pad lets go and takes hold again.
template <class Change> void change(Pad& pad, Change&& apply) {
    const KeySet before = held(pad);
    apply();
    const KeySet now = held(pad);
    for (int key = 1; key < kKeys; ++key) {
        if (now[static_cast<std::size_t>(key)] != before[static_cast<std::size_t>(key)])
            engine_detail::SetKeyHeldBy(pad.source, key, now[static_cast<std::size_t>(key)]);
    }
}

// A key held while its button's meaning changes would never be let go of: the pads let go of all.
void releasePadKeys() {
    for (const Pad& pad : pads)
        engine_detail::ReleaseKeysHeldBy(pad.source);
}

Pad* padOf(SDL_JoystickID id) {
    auto found = std::find_if(pads.begin(), pads.end(), [id](const Pad& pad) { return pad.id == id; });
    return found == pads.end() ? nullptr : &*found;
}

int freeSource() {
    for (int source = 1; source < engine_detail::kTouchSource; ++source) {
        if (std::none_of(pads.begin(), pads.end(), [source](const Pad& pad) { return pad.source == source; }))
            return source;
    }
    return 0;
}

// SDL reports a pad it has a mapping for; one without a mapping never comes here.
void plugIn(int deviceIndex) {
    const SDL_JoystickID id = SDL_JoystickGetDeviceInstanceID(deviceIndex);
    if (id < 0 || padOf(id)) return; // already open (SDL reports the pads present when it starts)
    const int source = freeSource();
    if (source == 0) return; // more pads than the key state has room for: the extra ones are ignored
    SDL_GameController* controller = SDL_GameControllerOpen(deviceIndex);
    if (!controller) return;
    Pad pad;
    pad.controller = controller;
    pad.id = id;
    pad.source = source;
    pad.style = PadStyleOfControllerType(SDL_GameControllerGetType(controller));
    pads.push_back(pad);
}

void unplug(SDL_JoystickID id) {
    Pad* pad = padOf(id);
    if (!pad) return;
    engine_detail::ReleaseKeysHeldBy(pad->source);
    SDL_GameControllerClose(pad->controller);
    pads.erase(pads.begin() + (pad - pads.data()));
}

void pressButton(Pad& pad, int which, bool down) {
    if (which < 0 || which >= PAD_BUTTON_COUNT || pad.buttons[static_cast<std::size_t>(which)] == down)
        return;
    change(pad, [&] { pad.buttons[static_cast<std::size_t>(which)] = down; });
    if (down) {
        engine_detail::NotePadUsed(pad.style);
        if (engine_detail::NoteChosen(InputEvent::ButtonChosen, which)) lastPressedButton = which;
        engine_detail::TypeKeyChar(VirtualKeyFromPadButton(which));
    }
}

bool leaning(int value) {
    return value < -PAD_DEAD_ZONE || value > PAD_DEAD_ZONE;
}

// The triggers and the right stick press as buttons: a trigger pulled a third of the way, the right
// stick leaning half its range (further than the left stick's dead zone: it is a button, not a move).
constexpr int kTriggerPress = 32767 / 3;
constexpr int kRightStickPress = 16384;

void moveAxis(Pad& pad, int axis, int value) {
    switch (axis) {
    case SDL_CONTROLLER_AXIS_TRIGGERLEFT:
        pressButton(pad, PAD_LEFT_TRIGGER, value > kTriggerPress);
        return;
    case SDL_CONTROLLER_AXIS_TRIGGERRIGHT:
        pressButton(pad, PAD_RIGHT_TRIGGER, value > kTriggerPress);
        return;
    case SDL_CONTROLLER_AXIS_RIGHTX:
        pressButton(pad, PAD_RIGHT_STICK_LEFT, value < -kRightStickPress);
        pressButton(pad, PAD_RIGHT_STICK_RIGHT, value > kRightStickPress);
        return;
    case SDL_CONTROLLER_AXIS_RIGHTY:
        pressButton(pad, PAD_RIGHT_STICK_UP, value < -kRightStickPress);
        pressButton(pad, PAD_RIGHT_STICK_DOWN, value > kRightStickPress);
        return;
    default:
        break;
    }
    int* stick = axis == SDL_CONTROLLER_AXIS_LEFTX   ? &pad.stickX
                 : axis == SDL_CONTROLLER_AXIS_LEFTY ? &pad.stickY
                                                     : nullptr;
    if (!stick) return;
    // A stick counts as used once it leans past the dead zone: a resting stick's drift is no use.
    if (leaning(value) && !leaning(*stick)) engine_detail::NotePadUsed(pad.style);
    change(pad, [&] { *stick = value; });
}

} // namespace

int VirtualKeyFromPadButton(int which) {
    if (which < 0 || which >= PAD_BUTTON_COUNT) return 0;
    return padMap[static_cast<std::size_t>(which)];
}

void MapPadButton(int button, int gameKey) {
    if (button < 0 || button >= PAD_BUTTON_COUNT) return;
    padMap[static_cast<std::size_t>(button)] = gameKey > 0 && gameKey < kKeys ? gameKey : 0;
    releasePadKeys();
}

void ResetPadMap() {
    padMap = defaultPadMap();
    releasePadKeys();
}

int PadButtonHolding(int gameKey) {
    if (gameKey <= 0) return -1;
    for (int b = 0; b < PAD_BUTTON_COUNT; ++b) {
        if (padMap[static_cast<std::size_t>(b)] == gameKey) return b;
    }
    return -1;
}

namespace engine_detail {
void ChooseButton(int button) {
    if (button >= 0 && button < PAD_BUTTON_COUNT) lastPressedButton = button;
}
} // namespace engine_detail

int TakePadButtonPressed() {
    engine_detail::PumpEvents();
    return std::exchange(lastPressedButton, -1);
}

std::string PadButtonName(int button) {
    // The names the settings file keeps: a new one is only ever added, so older files stay readable.
    static const char* const names[PAD_BUTTON_COUNT] = {"A",
                                                        "B",
                                                        "X",
                                                        "Y",
                                                        "Back",
                                                        "Guide",
                                                        "Start",
                                                        "L stick",
                                                        "R stick",
                                                        "L shoulder",
                                                        "R shoulder",
                                                        "D-pad up",
                                                        "D-pad down",
                                                        "D-pad left",
                                                        "D-pad right",
                                                        "Misc",
                                                        "Paddle 1",
                                                        "Paddle 2",
                                                        "Paddle 3",
                                                        "Paddle 4",
                                                        "Touchpad",
                                                        "L trigger",
                                                        "R trigger",
                                                        "R stick left",
                                                        "R stick right",
                                                        "R stick up",
                                                        "R stick down"};
    if (button < 0 || button >= PAD_BUTTON_COUNT) return "";
    return names[button];
}

bool GamepadsCanRumble() {
    engine_detail::PumpEvents();
    return std::any_of(pads.begin(), pads.end(), [](const Pad& pad) {
        return SDL_GameControllerHasRumble(pad.controller) == SDL_TRUE;
    });
}

void RumbleGamepads(float strength, int ms) {
    if (!(strength > 0) || ms <= 0 || PlaybackQuiet()) return;
    const auto motor = static_cast<Uint16>(std::clamp(strength, 0.0f, 1.0f) * 0xFFFF);
    for (const Pad& pad : pads)
        SDL_GameControllerRumble(pad.controller, motor, motor, static_cast<Uint32>(ms));
}

bool OpenGamepads() {
    if (listening) return true;
    // Buttons by their place, not their label: south is A on every pad, as the game's defaults and menus
    // expect; a Nintendo pad's labels are the prompts' business.
    SDL_SetHint(SDL_HINT_GAMECONTROLLER_USE_BUTTON_LABELS, "0");
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) return false;
    listening = true;
    return true;
}

void CloseGamepads() {
    if (!listening) return;
    while (!pads.empty())
        unplug(pads.back().id);
    SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
    listening = false;
}

int GamepadCount() {
    engine_detail::PumpEvents();
    return static_cast<int>(pads.size());
}

namespace engine_detail {

void HandleGamepadEvent(const SDL_Event& event) {
    if (!listening) return;
    switch (event.type) {
    case SDL_CONTROLLERDEVICEADDED:
        plugIn(event.cdevice.which);
        break;
    case SDL_CONTROLLERDEVICEREMOVED:
        unplug(event.cdevice.which);
        break;
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP:
        if (Pad* pad = padOf(event.cbutton.which))
            pressButton(*pad, event.cbutton.button, event.type == SDL_CONTROLLERBUTTONDOWN);
        break;
    case SDL_CONTROLLERAXISMOTION:
        if (Pad* pad = padOf(event.caxis.which)) moveAxis(*pad, event.caxis.axis, event.caxis.value);
        break;
    default:
        break;
    }
}

} // namespace engine_detail
