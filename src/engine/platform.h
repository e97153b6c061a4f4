#pragma once
// Engine-internal: the platform behind the window, the renderer and the event queue.
#include <SDL.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "engine/pass_input.h"

class TImage;

namespace engine_detail {

struct Platform {
    SDL_Window* window = nullptr;
    SDL_Renderer* renderer = nullptr;
    SDL_Surface* surface = nullptr; // headless: the screen Flip shows the back buffer on
    SDL_Texture* target = nullptr;  // the back buffer
    int width = 640;
    int height = 480;
    int generation = 0;         // bumped with every renderer; textures remember theirs
    bool rendererAlive = false; // false: textures from any generation are already gone
    bool headless = false;
    bool software = false; // the renderer is SDL's software renderer
    bool sdlVideo = false; // the SDL video subsystem is initialised (windowed)
    bool closeRequested = false;
    bool focusLost = false;
    bool focused = true;           // the window has the keyboard (headless: always)
    bool screenSaverWanted = true; // the game allows the screen saver (AllowScreenSaver)
    bool screenSaverOn = true;     // what SDL was last told
    double refreshHz = 60;         // the display's refresh rate, for the frame cap
    bool rendererLost = false;     // lost with its device and not made again yet: Flip tries every second
    int rendererRetryAt = 0;       // Millis() of the next try
    int lostFrameAt = 0;           // Millis() when the loop last went on without a renderer
    bool drawing = true;           // false: draws, clears and flips are skipped
    int sampling = 1;              // frames drawn at 1/sampling of their size (SetFrameSampling)
    std::string droppedFile;       // the last file dropped on the window, until taken
    // The player's display settings; kept while no window is open and applied when one opens.
    bool fullscreen = false;
    bool vsync = true;
    bool fill = false;                // "fill" scaling instead of the whole-number scale
    SDL_Texture* prescaled = nullptr; // fill scaling's intermediate picture, made as needed
    int prescaledScale = 0;
    int prescaleLimit = -1; // the renderer's largest whole number for it (0: none; -1: not read)
};

Platform& platform();

// Makes the renderer again after its device was lost; false with the reason. Tests stand in for a device
// that cannot be made again with one of their own (null: the platform's own).
using RendererMaker = std::function<bool(std::string* error)>;
void SetRendererMaker(RendererMaker maker);

// Reads SDL's event queue into the key state, the close and focus flags and the window's mode. Headless,
// the queue is read only while SDL's events are up (a test pushing window events, the pads).
void PumpEvents();
// The same even while a session is recorded (events that must not wait for the next pass).
void PumpEventsAnyway();
// One event from the queue. F11 and Alt+Enter switch fullscreen and reach no key table.
void HandleEvent(const SDL_Event& event);
// Focus: the flag the game reads and the muting; the keyboard releases its keys on its own.
void HandleWindowEvent(const SDL_Event& event);
// True once after SIGTERM or SIGINT arrived (CatchStopSignals).
bool TakeStopSignal();
// Tells SDL whether the screen saver may start: when the game allows it or the window has no focus.
void ApplyScreenSaver();
// Reads the refresh rate of the display the window is on (60 when the display does not say).
void ReadRefreshRate();
// Keyboard side of one SDL event.
void HandleKeyboardEvent(const SDL_Event& event);
void ResetKeyboard();
// Input sources besides the keyboard (source 0) share its key state: a key is held while any source
// holds it. Source 1 to kInputSources - 1 taking hold of a key counts one press.
constexpr int kInputSources = 32;
constexpr int kTouchSource = kInputSources - 1; // the on-screen touch controls; pads take 1 to 30
void SetKeyHeldBy(int source, int key, bool held);
void ReleaseKeysHeldBy(int source);
// Queues the character the key types, or a space for a key that types none: any pad button ends the
// intro and the outro.
void TypeKeyChar(int key);
// While a log is set, every change the window's input makes to the game's key state is appended to it.
void LogInputTo(std::vector<InputEvent>* log);
// True: the window's keys, pads and touches go to the player's key state instead of the game's (a
// replay plays); keys held at the change are let go.
void SendDeviceInputToPlayer(bool toPlayer);
// A key event of a recording, given to the game's key state.
void ApplyKeyEvent(InputEvent::Kind kind, int code);
// A key (KeyChosen) or pad button (ButtonChosen) a device pressed, as the options may bind it: false while
// the devices steer a replay's viewer instead of the game; else it is logged for the recording.
bool NoteChosen(InputEvent::Kind kind, int code);
// The pad button pressed last, as TakePadButtonPressed answers (a recording's ButtonChosen).
void ChooseButton(int button);
// A sound device plugged in or removed: a lost device is closed and the game goes on silent; when one
// appears the default device is opened again.
void HandleAudioDeviceEvent(const SDL_Event& event);
// The open sound device's SDL id, 0 without one.
unsigned AudioDeviceId();
// Pad side of one SDL event: pads plugged in and out, buttons and sticks.
void HandleGamepadEvent(const SDL_Event& event);

// The texture of a frame, made or refreshed as needed; null without a renderer.
SDL_Texture* FrameTexture(TImage& image, int frame);
// Draws a frame whose image-space top-left corner is offset by (offsetU, offsetV) (glyphs within a line).
void DrawImageFrame(TImage& image, int frame, float x, float y, float offsetU, float offsetV);

} // namespace engine_detail
