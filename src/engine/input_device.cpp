#include "engine/input_device.h"

#include <SDL.h>

namespace {
InputDevice lastDevice = InputDevice::Keyboard;
PadStyle lastPadStyle = PadStyle::Xbox;
} // namespace

InputDevice LastInputDevice() {
    return lastDevice;
}

PadStyle LastPadStyle() {
    return lastPadStyle;
}

PadStyle PadStyleOfControllerType(int type) {
    switch (type) {
    case SDL_CONTROLLER_TYPE_XBOX360:
    case SDL_CONTROLLER_TYPE_XBOXONE:
        return PadStyle::Xbox;
    case SDL_CONTROLLER_TYPE_PS3:
    case SDL_CONTROLLER_TYPE_PS4:
    case SDL_CONTROLLER_TYPE_PS5:
        return PadStyle::PlayStation;
    case SDL_CONTROLLER_TYPE_NINTENDO_SWITCH_PRO:
    case SDL_CONTROLLER_TYPE_NINTENDO_SWITCH_JOYCON_LEFT:
    case SDL_CONTROLLER_TYPE_NINTENDO_SWITCH_JOYCON_RIGHT:
    case SDL_CONTROLLER_TYPE_NINTENDO_SWITCH_JOYCON_PAIR:
        return PadStyle::Nintendo;
    default:
        // Virtual pads, Steam's own, the Stadia and Luna pads and the unknown: their buttons by position.
        return PadStyle::Generic;
    }
}

namespace engine_detail {

void NoteKeyboardUsed() {
    lastDevice = InputDevice::Keyboard;
}

void NotePadUsed(PadStyle style) {
    lastDevice = InputDevice::Pad;
    lastPadStyle = style;
}

void NoteTouchUsed() {
    lastDevice = InputDevice::Touch;
}

void ResetInputDevice() {
    lastDevice = InputDevice::Keyboard;
    lastPadStyle = PadStyle::Xbox;
}

} // namespace engine_detail
