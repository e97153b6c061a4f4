#pragma once
// Engine-internal: the platform behind the window, the renderer and the event queue.
#include <SDL.h>

#include <cstdint>

class TImage;

namespace engine_detail {

struct Platform {
    SDL_Window* window = nullptr;
    SDL_Renderer* renderer = nullptr;
    SDL_Surface* surface = nullptr; // headless: the memory the software renderer draws into
    SDL_Texture* target = nullptr;  // the back buffer
    int width = 640;
    int height = 480;
    int generation = 0;         // bumped with every renderer; textures remember theirs
    bool rendererAlive = false; // false: textures from any generation are already gone
    bool headless = false;
    bool software = false; // the renderer is SDL's software renderer
    bool sdlVideo = false; // the SDL video subsystem is initialised (windowed)
    bool closeRequested = false;
    bool drawing = true; // false: draws, clears and flips are skipped
};

Platform& platform();

// Reads the window's event queue into the keyboard tables and the close flag (windowed only).
void PumpEvents();
// Keyboard side of one SDL event.
void HandleKeyboardEvent(const SDL_Event& event);
void ResetKeyboard();

// The texture of a frame, made or refreshed as needed; null without a renderer.
SDL_Texture* FrameTexture(TImage& image, int frame);
// Draws a frame whose image-space top-left corner is offset by (offsetU, offsetV) (glyphs within a line).
void DrawImageFrame(TImage& image, int frame, float x, float y, float offsetU, float offsetV);

} // namespace engine_detail
