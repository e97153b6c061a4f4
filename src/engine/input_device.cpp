#include "engine/input_device.h"

#include <SDL.h>

#ifdef __EMSCRIPTEN__
#include <emscripten.h>
#endif

namespace {
InputDevice lastDevice = InputDevice::Keyboard;
PadStyle lastPadStyle = PadStyle::Xbox;

// The web page shows its line of keys for the device used last, as the game's prompts do (within the frame
// the device changes: this runs as its event is read).
void use(InputDevice device, PadStyle style) {
    if (device == lastDevice && style == lastPadStyle) return;
    lastDevice = device;
    lastPadStyle = style;
#ifdef __EMSCRIPTEN__
    EM_ASM(
        {
            if (Module["vevuDeviceUsed"]) Module["vevuDeviceUsed"]($0, $1);
        },
        static_cast<int>(device), static_cast<int>(style));
#endif
}
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
    use(InputDevice::Keyboard, lastPadStyle);
}

void NotePadUsed(PadStyle style) {
    use(InputDevice::Pad, style);
}

void NoteTouchUsed() {
    use(InputDevice::Touch, lastPadStyle);
}

void ResetInputDevice() {
    lastDevice = InputDevice::Keyboard;
    lastPadStyle = PadStyle::Xbox;
}

} // namespace engine_detail
