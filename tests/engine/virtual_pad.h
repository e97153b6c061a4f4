#pragma once
// A game pad for tests, made with SDL's virtual joystick driver (the game-controller layer must be open).
#include <SDL.h>
#include <gtest/gtest.h>

#include "engine/input_device.h"
#include "engine/platform.h"

// A pad made with SDL's virtual joystick driver: a game controller SDL maps by itself, or a bare
// joystick it has no mapping for. The test drives it through its own joystick handle.
class VirtualPad {
  public:
    // vendor and product (USB ids) make it a pad SDL knows the type of: 0x054c/0x09cc a PlayStation 4
    // pad, 0x057e/0x2009 a Nintendo Switch Pro pad, 0x045e/0x02ea an Xbox One pad.
    explicit VirtualPad(bool mapped = true, Uint16 vendor = 0, Uint16 product = 0) {
        SDL_VirtualJoystickDesc desc{};
        desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.type = mapped ? SDL_JOYSTICK_TYPE_GAMECONTROLLER : SDL_JOYSTICK_TYPE_UNKNOWN;
        desc.naxes = mapped ? SDL_CONTROLLER_AXIS_MAX : 2;
        desc.nbuttons = mapped ? SDL_CONTROLLER_BUTTON_MAX : 3;
        desc.name = mapped ? "test pad" : "odd stick";
        desc.vendor_id = vendor;
        desc.product_id = product;
        desc.userdata = this;
        desc.Rumble = [](void* self, Uint16, Uint16) {
            ++static_cast<VirtualPad*>(self)->rumbles;
            return 0;
        };
        const int index = SDL_JoystickAttachVirtualEx(&desc);
        EXPECT_GE(index, 0) << SDL_GetError();
        id = SDL_JoystickGetDeviceInstanceID(index);
        joystick = SDL_JoystickOpen(index);
    }
    ~VirtualPad() {
        unplug();
        engine_detail::ResetInputDevice();
    }
    // Each change is read at once: SDL reports only the state it finds when the queue is read.
    void button(SDL_GameControllerButton which, bool down) {
        SDL_JoystickSetVirtualButton(joystick, which, down ? 1 : 0);
        engine_detail::PumpEvents();
    }
    void tap(SDL_GameControllerButton which) {
        button(which, true);
        button(which, false);
    }
    void leftStick(int x, int y) {
        SDL_JoystickSetVirtualAxis(joystick, SDL_CONTROLLER_AXIS_LEFTX, static_cast<Sint16>(x));
        SDL_JoystickSetVirtualAxis(joystick, SDL_CONTROLLER_AXIS_LEFTY, static_cast<Sint16>(y));
    }
    void unplug() {
        if (!joystick) return;
        SDL_JoystickClose(joystick);
        joystick = nullptr;
        for (int i = 0; i < SDL_NumJoysticks(); ++i) {
            if (SDL_JoystickGetDeviceInstanceID(i) == id) SDL_JoystickDetachVirtual(i);
        }
        engine_detail::PumpEvents();
    }
    SDL_JoystickID id = -1;
    int rumbles = 0; // how often the game rumbled it

  private:
    SDL_Joystick* joystick = nullptr;
};
