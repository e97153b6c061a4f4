#include "driver/keys.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>

#include "engine/keyboard.h"

namespace {
bool throughWindow = false;

void pushKeyEvent(int key, bool down) {
    SDL_Event event{};
    event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    event.key.keysym.sym = SdlKeycodeOf(key);
    event.key.keysym.scancode = SDL_GetScancodeFromKey(event.key.keysym.sym);
    SDL_PushEvent(&event);
}

void sendThroughWindow(KeyEvent event) {
    switch (event.kind) {
    case KeyEvent::Down:
    case KeyEvent::Press:
        pushKeyEvent(static_cast<int>(event.code), true);
        break;
    case KeyEvent::Up:
        pushKeyEvent(static_cast<int>(event.code), false);
        break;
    case KeyEvent::Tap:
        pushKeyEvent(static_cast<int>(event.code), true);
        pushKeyEvent(static_cast<int>(event.code), false);
        break;
    default:
        break; // characters come with their keys
    }
}
} // namespace

void sendKeysThroughWindow(bool on) {
    if (on == throughWindow) return;
    // Headless, the queue is there only while somebody holds SDL's event part.
    if (on && SDL_InitSubSystem(SDL_INIT_EVENTS) != 0) {
        std::fprintf(stderr, "the window's event queue: %s\n", SDL_GetError());
        std::exit(2);
    }
    if (!on) SDL_QuitSubSystem(SDL_INIT_EVENTS);
    throughWindow = on;
}

void giveKey(KeyEvent event) {
    if (throughWindow) {
        sendThroughWindow(event);
        return;
    }
    ApplyInputEvent(event);
}

void keyDown(int key) {
    giveKey({KeyEvent::Down, static_cast<std::uint32_t>(key)});
}
void keyUp(int key) {
    giveKey({KeyEvent::Up, static_cast<std::uint32_t>(key)});
}
void keyTap(int key) {
    giveKey({KeyEvent::Tap, static_cast<std::uint32_t>(key)});
}

int SdlKeycodeOf(int key) {
    if (key >= KEY_A && key <= KEY_Z) return SDLK_a + (key - KEY_A);
    if (key >= KEY_0 && key <= KEY_9) return SDLK_0 + (key - KEY_0);
    switch (key) {
    case KEY_LEFT:
        return SDLK_LEFT;
    case KEY_RIGHT:
        return SDLK_RIGHT;
    case KEY_UP:
        return SDLK_UP;
    case KEY_DOWN:
        return SDLK_DOWN;
    case KEY_ENTER:
        return SDLK_RETURN;
    case KEY_ESCAPE:
        return SDLK_ESCAPE;
    case KEY_SPACE:
        return SDLK_SPACE;
    case KEY_TAB:
        return SDLK_TAB;
    case KEY_BACKSPACE:
        return SDLK_BACKSPACE;
    default:
        return SDLK_UNKNOWN;
    }
}
