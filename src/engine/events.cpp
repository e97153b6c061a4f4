// The window's event queue: keys, pads, sound devices, the close button, the focus and the fullscreen keys.
#include <cstdio>

#include "engine/graphics.h"
#include "engine/platform.h"
#include "engine/scripted_pad.h"
#include "engine/sound.h"

namespace {

// F11, or Enter with Alt held, belongs to the window: the game never sees it.
bool isFullscreenKey(const SDL_Event& event) {
    if (event.type != SDL_KEYDOWN) return false;
    const SDL_Keycode key = event.key.keysym.sym;
    const bool alt = (event.key.keysym.mod & KMOD_ALT) != 0;
    return key == SDLK_F11 || (alt && (key == SDLK_RETURN || key == SDLK_KP_ENTER));
}

} // namespace

// Between the window and borderless fullscreen on the desktop's own mode; SDL gives the window back
// the size it had. The pointer only gets in the way of a fullscreen picture.
void SetFullscreen(bool fullscreen) {
    engine_detail::Platform& p = engine_detail::platform();
    if (!p.window) {
        p.fullscreen = fullscreen; // the window opens so
        return;
    }
    if (SDL_SetWindowFullscreen(p.window, fullscreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0) != 0) {
        std::fprintf(stderr, "vevu: cannot switch to %s: %s\n", fullscreen ? "fullscreen" : "a window",
                     SDL_GetError());
        return;
    }
    p.fullscreen = fullscreen;
    SDL_ShowCursor(fullscreen ? SDL_DISABLE : SDL_ENABLE);
}

bool Fullscreen() {
    const engine_detail::Platform& p = engine_detail::platform();
    if (!p.window) return p.fullscreen;
    return (SDL_GetWindowFlags(p.window) & SDL_WINDOW_FULLSCREEN) != 0;
}

namespace engine_detail {

void PumpEvents() {
    // While a session is recorded the events wait for the next pass, so that each reaches the game
    // between two passes, where a replay gives it again.
    if (!EventsHeldBack()) PumpEventsAnyway();
}

void PumpEventsAnyway() {
    if (TakeStopSignal()) platform().closeRequested = true;
    if (!platform().sdlVideo && !SDL_WasInit(SDL_INIT_EVENTS)) return;
    StepScriptedPad();
    SDL_Event event;
    while (SDL_PollEvent(&event))
        HandleEvent(event);
}

void HandleEvent(const SDL_Event& event) {
    switch (event.type) {
    case SDL_QUIT:
        platform().closeRequested = true;
        break;
    case SDL_DROPFILE:
        if (event.drop.file) {
            platform().droppedFile = event.drop.file;
            SDL_free(event.drop.file);
        }
        break;
    case SDL_RENDER_DEVICE_RESET:
        RecreateRenderer();
        break;
    case SDL_WINDOWEVENT:
        HandleWindowEvent(event);
        HandleKeyboardEvent(event);
        break;
    case SDL_KEYDOWN:
        if (isFullscreenKey(event)) {
            if (!event.key.repeat) SetFullscreen(!Fullscreen());
        } else {
            HandleKeyboardEvent(event);
        }
        break;
    case SDL_AUDIODEVICEADDED:
    case SDL_AUDIODEVICEREMOVED:
        HandleAudioDeviceEvent(event);
        break;
    case SDL_CONTROLLERDEVICEADDED:
    case SDL_CONTROLLERDEVICEREMOVED:
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP:
    case SDL_CONTROLLERAXISMOTION:
        HandleGamepadEvent(event);
        break;
    default:
        HandleKeyboardEvent(event);
        break;
    }
}

void HandleWindowEvent(const SDL_Event& event) {
    Platform& p = platform();
    switch (event.window.event) {
#ifdef __EMSCRIPTEN__
    case SDL_WINDOWEVENT_HIDDEN: // the page's tab was put in the background
#endif
    case SDL_WINDOWEVENT_MINIMIZED:
    case SDL_WINDOWEVENT_FOCUS_LOST:
        // A minimised window pauses play as losing the focus does, whatever the window manager does
        // with the focus meanwhile: nobody watches, and its loop slows to a few passes a second.
        p.focusLost = true;
        p.focused = false;
        SetAudioMuted(true);
        ApplyScreenSaver();
        break;
    case SDL_WINDOWEVENT_FOCUS_GAINED:
        p.focused = true;
        SetAudioMuted(false);
        ApplyScreenSaver();
        break;
#ifdef __EMSCRIPTEN__
    case SDL_WINDOWEVENT_SHOWN:
        // The page's tab is in front again. A phone's lock screen hides and shows the page without taking
        // the focus, so waiting for the focus would leave the game silent.
        SetAudioMuted(false);
        break;
#endif
    case SDL_WINDOWEVENT_MOVED:
    case SDL_WINDOWEVENT_DISPLAY_CHANGED:
        ReadRefreshRate(); // the window may now be on a display of another rate
        break;
    default:
        break;
    }
}

} // namespace engine_detail
