#include "engine/gamepad.h"

#include <algorithm>
#include <array>
#include <vector>

#include "engine/keyboard.h"
#include "engine/platform.h"

namespace {

struct Pad {
    SDL_GameController* controller = nullptr;
    SDL_JoystickID id = -1;
    int source = 0; // its bit in the key state
    std::array<bool, SDL_CONTROLLER_BUTTON_MAX> buttons{};
    int stickX = 0, stickY = 0;
};

std::vector<Pad> pads;
bool listening = false;

constexpr int kPadKeys[] = {KEY_LEFT, KEY_RIGHT, KEY_UP, KEY_DOWN, KEY_Z, KEY_X, KEY_C, KEY_P, KEY_ESCAPE};

// Whether the pad, as it is now, holds the key: a button mapped to it (the d-pad for the arrows), or the
// stick leaning past the dead zone for an arrow.
bool holds(const Pad& pad, int key) {
    for (int b = 0; b < SDL_CONTROLLER_BUTTON_MAX; ++b) {
        if (pad.buttons[b] && VirtualKeyFromPadButton(b) == key) return true;
    }
    switch (key) {
    case KEY_LEFT:
        return pad.stickX < -PAD_DEAD_ZONE;
    case KEY_RIGHT:
        return pad.stickX > PAD_DEAD_ZONE;
    case KEY_UP:
        return pad.stickY < -PAD_DEAD_ZONE;
    case KEY_DOWN:
        return pad.stickY > PAD_DEAD_ZONE;
    default:
        return false;
    }
}

// Applies a change of the pad's buttons or stick to the key state: only keys whose hold changed are
// told, so a key released by ClearKeys stays released until the pad lets go and takes hold again.
template <class Change> void change(Pad& pad, Change&& apply) {
    std::array<bool, std::size(kPadKeys)> before{};
    for (std::size_t k = 0; k < std::size(kPadKeys); ++k)
        before[k] = holds(pad, kPadKeys[k]);
    apply();
    for (std::size_t k = 0; k < std::size(kPadKeys); ++k) {
        const bool now = holds(pad, kPadKeys[k]);
        if (now != before[k]) engine_detail::SetKeyHeldBy(pad.source, kPadKeys[k], now);
    }
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
    if (which < 0 || which >= SDL_CONTROLLER_BUTTON_MAX || pad.buttons[which] == down) return;
    change(pad, [&] { pad.buttons[which] = down; });
    if (down) engine_detail::TypeKeyChar(VirtualKeyFromPadButton(which));
}

void moveStick(Pad& pad, int axis, int value) {
    if (axis == SDL_CONTROLLER_AXIS_LEFTX) change(pad, [&] { pad.stickX = value; });
    if (axis == SDL_CONTROLLER_AXIS_LEFTY) change(pad, [&] { pad.stickY = value; });
}

} // namespace

int VirtualKeyFromPadButton(int which) {
    switch (which) {
    case SDL_CONTROLLER_BUTTON_DPAD_LEFT:
        return KEY_LEFT;
    case SDL_CONTROLLER_BUTTON_DPAD_RIGHT:
        return KEY_RIGHT;
    case SDL_CONTROLLER_BUTTON_DPAD_UP:
        return KEY_UP;
    case SDL_CONTROLLER_BUTTON_DPAD_DOWN:
        return KEY_DOWN;
    case SDL_CONTROLLER_BUTTON_A:
        return KEY_Z;
    case SDL_CONTROLLER_BUTTON_B:
        return KEY_X;
    case SDL_CONTROLLER_BUTTON_Y:
        return KEY_C;
    case SDL_CONTROLLER_BUTTON_START:
        return KEY_P;
    case SDL_CONTROLLER_BUTTON_BACK:
        return KEY_ESCAPE;
    default:
        return 0;
    }
}

bool OpenGamepads() {
    if (listening) return true;
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
        if (Pad* pad = padOf(event.caxis.which)) moveStick(*pad, event.caxis.axis, event.caxis.value);
        break;
    default:
        break;
    }
}

} // namespace engine_detail
