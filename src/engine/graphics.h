#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "engine/image.h"

class TFont;

// Window, frame and the process-wide drawing state.
//
// Everything is drawn with SDL's renderer into one 640x480 render-target texture (the back buffer);
// Flip copies it to the window and presents. The windowed platform uses the accelerated renderer
// (software if none); the headless platform draws with the software renderer into a memory surface:
// no window, no video driver, no sound device, the manual clock. The drawing code is the same.

constexpr int BLEND_SOLID = 1;
constexpr int BLEND_MASK = 2;
constexpr int BLEND_ALPHA = 3; // the only mode the game sets
constexpr int BLEND_LIGHT = 4; // additive
constexpr int BLEND_SHADE = 5; // multiply

struct DrawingState {
    int color_red = 255, color_green = 255, color_blue = 255;
    float color_alpha = 1.0f;
    int clscolor_red = 0, clscolor_green = 0, clscolor_blue = 0;
    float tform_rot = 0;
    float tform_scale_x = 1, tform_scale_y = 1;
    float tform_ix = 1, tform_iy = 0, tform_jx = 0, tform_jy = 1;
    float origin_x = 0, origin_y = 0;
    std::shared_ptr<TFont> image_font;
    int blend_mode = BLEND_MASK;
};

// Window and frame.
void SetWindowTitle(const std::string& title);
// The window's class (X11) or application id (Wayland): the desktop entry's id, so that docks and task
// bars show the running game as its menu entry. Takes effect when the window is opened.
void SetWindowClass(const std::string& appId);
// The window's icon, a PNG among the resources (now, or when the window is opened).
void SetWindowIcon(const std::string& path);
// From now on SIGTERM and SIGINT (a desktop logging out, Ctrl+C in a terminal) ask the game to close, as
// the window's close button does: CloseRequested answers true.
void CatchStopSignals();
// Opens the window (depth 0: windowed) with its back buffer. Without a display it prints one line on
// stderr and ends the process with exit code 1.
void CreateGraphics(int width, int height, int depth = 0, int hertz = 60, int flags = 0);
// As CreateGraphics, but answers false (with the reason in error) instead of ending the process.
bool TryCreateGraphics(int width, int height, int depth, int hertz, int flags, std::string* error);
void Cls();
// Shows the back buffer. In a window, in step with the display (vertical sync, or a frame cap at the
// display's refresh rate where the driver ignores it); while the window is minimised or hidden it shows
// nothing and waits a little for an event instead. Headless it never waits. `sync` is not used.
void Flip(int sync = 0);
// True once after the user asked to close the window; reading clears it.
bool CloseRequested();
// A file dropped on the window (its path), taken once; empty when none waits. Waiting tells without taking.
std::string TakeDroppedFile();
bool DroppedFileWaiting();
// Drawn over each frame just before Flip shows it (a replay's status line); null draws nothing.
void SetFrameOverlay(std::function<void()> overlay);
// True once after the window lost the keyboard focus (the player switched to another window or tab);
// reading clears it. The sound stays muted until the focus comes back.
bool FocusLost();
// Whether the desktop's screen saver may start: the game allows it on calm screens (paused, the map)
// and forbids it in play; while the window has no focus it is always allowed.
void AllowScreenSaver(bool allowed);
bool ScreenSaverAllowed();
// Whether the game may end now because the player pressed Esc (or a pad's Back). On the desktop the
// answer is yes at once. The web page, where Esc is also the browser's key for dialogs and fullscreen
// (so a slip would lose the mission in progress), asks the player first: the game stands still, its clock
// too, until they answer, and it finds no key held or pressed afterwards.
bool ConfirmEnd();
// Ends the process with exit code 0.
[[noreturn]] void EndProgram();

// The headless platform: a 640x480 back buffer in memory drawn by the software renderer, the manual
// clock at 0, cleared keys, a fresh drawing state. Safe to call again (it starts over).
bool InitHeadless(int width = 640, int height = 480);
// The headless stand-in for the window's drawable: Flip shows the back buffer on a memory screen of this
// size (after InitHeadless, the back buffer's own). The renderer is made anew and the back buffer cleared.
// False off the headless platform or for a size without area.
bool SetHeadlessScreenSize(int width, int height);
bool IsHeadless();
// Releases the renderer, window and sound device; images outlive it safely.
void ShutdownEngine();
// The player's display settings, kept while no window is open and applied when one opens: fullscreen
// (borderless, on the desktop's own mode; F11 and Alt+Enter switch it too), "fill" scaling instead of
// the whole-number one (FillBackBuffer), and vertical sync (off: frames still keep to the display's rate).
void SetFullscreen(bool fullscreen);
bool Fullscreen();
void SetFillScaling(bool fill);
bool FillScaling();
void SetVSync(bool on);
bool VSync();
// Whether the game's display settings do anything here: not on the web page, which sizes and shows its
// picture itself.
bool DisplaySettingsApply();
// Hands the web page its lines (the keys, the touch controls, the question: settings/page_lines.h) when
// the bindings or the language change; elsewhere nothing.
void SetPageLines(const std::string& json);
// Long headless runs that look at no pixels (soaks) may switch drawing off: DrawFrame, DrawString, Cls and
// Flip then do nothing (text images come out blank). On by default and after InitHeadless.
void SetDrawingEnabled(bool enabled);
bool DrawingEnabled();
// A check that only measures how bright frames are draws them at 1/divisor of their size into the back
// buffer's top left corner, a fraction of the pixels each (1, the default: full size). Text images must
// be made at full size: createTextImage draws them so.
void SetFrameSampling(int divisor);
int FrameSampling();
// Tears the renderer down and builds it again (as after a lost device); every texture is remade.
void RecreateRenderer();
// Bumped each time a renderer is created; a frame's texture belongs to one generation.
int GraphicsGeneration();
int GraphicsWidth();
int GraphicsHeight();

// Back buffer reads: ARGB pixels of the render target.
std::uint32_t ReadBackBufferPixel(int x, int y);
bool ReadBackBuffer(int x, int y, int width, int height, std::uint32_t* argbOut);
// Saves the back buffer as a PNG file.
bool SaveBackBufferPng(const std::string& path);

// Drawing state.
void SetColor(int r, int g, int b);
void ReadColor(int& r, int& g, int& b);
void SetAlpha(float alpha);
float GetAlpha();
void SetClsColor(int r, int g, int b);
void SetBlend(int mode);
void SetDrawScale(float sx, float sy);
void SetDrawRotation(float degrees);
void SetDrawTransform(float degrees, float sx, float sy);
void SetOrigin(float x, float y);
void SetFont(std::shared_ptr<TFont> font);
const DrawingState& GetDrawingState();
// Back to a fresh drawing state (white, alpha 1, scale 1, no rotation, no font).
void ResetDrawingState();

// Draws one frame: the quad with image-space corners (-handle_x, -handle_y) and
// (width - handle_x, height - handle_y), each corner (u, v) landing on
// (x + origin_x + u*ix + v*iy, y + origin_y + u*jx + v*jy), modulated by colour and alpha.
// A null image or a frame out of range draws nothing.
void DrawFrame(const std::shared_ptr<TImage>& image, float x, float y, int frame = 0);
void DrawFrame(TImage* image, float x, float y, int frame = 0);
// Told of every frame the game asks to draw, even while drawing is switched off (the replays count the
// pictures shown). Null: nobody listens.
using DrawListener = void (*)(const TImage& image, int frame);
void ListenToDraws(DrawListener listener);
// Copies the back-buffer rectangle at (x, y) of the image's size into that frame (parts outside the
// back buffer become transparent). Nothing when the image is null or the frame out of range.
void GrabFrame(const std::shared_ptr<TImage>& image, int x, int y, int frame = 0);
