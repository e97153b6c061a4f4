#include "engine/graphics.h"
#include "engine/scripted_pad.h"

#include <zlib.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <utility>
#include <vector>

#include "engine/browser.h"
#ifdef __EMSCRIPTEN__
#include <emscripten.h>
#endif
#include "engine/clock.h"
#include "engine/font.h"
#include "engine/gamepad.h"
#include "engine/keyboard.h"
#include "engine/platform.h"
#include "engine/presentation.h"
#include "engine/resources.h"
#include "engine/sound.h"
#include "engine/touch.h"

using engine_detail::Platform;
using engine_detail::platform;

namespace {
// A colour channel as the renderer takes it: 0 to 255.
int colourChannel(int v) {
    return std::clamp(v, 0, 255);
}

std::string windowTitle = "";
std::string windowClass = "";
std::string windowIconPath = "";
DrawingState drawing;
std::function<void()> frameOverlay; // drawn over each frame before it is shown
FramePacer pacer;

// VEVU_FRAME_LOG names a file that gets a line for every frame shown: the clock the game read and a hash
// of the picture the game drew (before any overlay). A session played and then watched shows the same
// frame at the same clock: tests/smoke/replay_smoke.sh compares the two logs.
void logFrame(const engine_detail::Platform& p) {
    static std::FILE* log = [] {
        const char* path = std::getenv("VEVU_FRAME_LOG");
        return path && *path ? std::fopen(path, "w") : nullptr;
    }();
    if (!log) return;
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(p.width) * static_cast<std::size_t>(p.height));
    if (!ReadBackBuffer(0, 0, p.width, p.height, pixels.data())) return;
    const uLong hash = crc32(0, reinterpret_cast<const Bytef*>(pixels.data()),
                             static_cast<uInt>(pixels.size() * sizeof(std::uint32_t)));
    std::fprintf(log, "%d %08lx\n", Millis(), static_cast<unsigned long>(hash));
    std::fflush(log);
}

DrawListener drawListener = nullptr;

SDL_BlendMode sdlBlend(int mode) {
    switch (mode) {
    case BLEND_SOLID:
        return SDL_BLENDMODE_NONE;
    case BLEND_LIGHT:
        return SDL_BLENDMODE_ADD;
    case BLEND_SHADE:
        return SDL_BLENDMODE_MOD;
    default:
        return SDL_BLENDMODE_BLEND; // mask and alpha both keep transparent pixels out
    }
}

void updateMatrix() {
    double radians = drawing.tform_rot * 0.017453292519943295;
    double c = std::cos(radians), s = std::sin(radians);
    drawing.tform_ix = static_cast<float>(c * drawing.tform_scale_x);
    drawing.tform_iy = static_cast<float>(-s * drawing.tform_scale_y);
    drawing.tform_jx = static_cast<float>(s * drawing.tform_scale_x);
    drawing.tform_jy = static_cast<float>(c * drawing.tform_scale_y);
}

// The back buffer's drawing scale; SDL forgets it whenever the target changes.
void applySampling(Platform& p) {
    const float scale = 1.0f / static_cast<float>(p.sampling);
    SDL_RenderSetScale(p.renderer, scale, scale);
}

// Makes the back buffer and clears it; the renderer must exist.
bool createTarget(Platform& p) {
    SDL_RendererInfo info{};
    p.software = SDL_GetRendererInfo(p.renderer, &info) == 0 && (info.flags & SDL_RENDERER_SOFTWARE) != 0;
    // SDL's software renderer blends a picture with translucent pixels onto a back buffer of the
    // pictures' own ARGB layout, unmodulated, with an MMX routine on x86 and a C one elsewhere, which
    // round differently: the page would draw other pixels than the desktop. Onto a buffer of the other
    // channel order every platform blends with the same C routines. The buffer's alpha was never seen
    // (it is copied opaque), so it has none.
    const Uint32 format = p.software ? SDL_PIXELFORMAT_XBGR8888 : SDL_PIXELFORMAT_ARGB8888;
    p.target = SDL_CreateTexture(p.renderer, format, SDL_TEXTUREACCESS_TARGET, p.width, p.height);
    if (!p.target) return false;
    SDL_SetTextureScaleMode(p.target, SDL_ScaleModeNearest);
    // The back buffer is opaque: Flip copies it as it is rather than blending it over the window.
    SDL_SetTextureBlendMode(p.target, SDL_BLENDMODE_NONE);
    SDL_SetRenderTarget(p.renderer, p.target);
    applySampling(p);
    SDL_SetRenderDrawColor(p.renderer, 0, 0, 0, 255);
    SDL_RenderClear(p.renderer);
    ++p.generation;
    p.rendererAlive = true;
    return true;
}

void destroyRenderer(Platform& p) {
    p.rendererAlive = false; // SDL frees every texture of the renderer with it
    if (p.renderer) {
        SDL_SetRenderTarget(p.renderer, nullptr); // SDL leaks the target's state if it is still bound
        SDL_DestroyRenderer(p.renderer);
    }
    p.renderer = nullptr;
    p.target = nullptr;
    p.prescaled = nullptr;
    p.prescaledScale = 0;
    p.prescaleLimit = -1;
}

bool createWindowRenderer(Platform& p, std::string* error) {
    // Frames are presented in step with the display; SDL_RENDER_VSYNC=0 in the environment (SDL's own
    // hint) turns that off, and the frame pacer in Flip then keeps to the display's rate.
    // The player may turn it off too (the frame cap still holds).
    const Uint32 vsync = p.vsync ? SDL_RENDERER_PRESENTVSYNC : 0;
    p.renderer =
        SDL_CreateRenderer(p.window, -1, SDL_RENDERER_ACCELERATED | SDL_RENDERER_TARGETTEXTURE | vsync);
    if (!p.renderer) p.renderer = SDL_CreateRenderer(p.window, -1, SDL_RENDERER_SOFTWARE | vsync);
    if (!p.renderer || !createTarget(p)) {
        if (error) *error = std::string("cannot create a renderer: ") + SDL_GetError();
        destroyRenderer(p);
        return false;
    }
    SDL_RendererInfo info{};
    pacer.setVsyncWanted(SDL_GetRendererInfo(p.renderer, &info) == 0 &&
                         (info.flags & SDL_RENDERER_PRESENTVSYNC) != 0);
    return true;
}

// Paints black what the picture leaves of the drawable: only the bars, since the picture covers the rest
// and on the software renderer every pixel painted twice costs time.
void paintBars(Platform& p, int outputWidth, int outputHeight, const ScreenRect& picture) {
    SDL_SetRenderDrawColor(p.renderer, 0, 0, 0, 255);
    const SDL_Rect bars[4] = {
        {0, 0, outputWidth, picture.y},
        {0, picture.y + picture.h, outputWidth, outputHeight - picture.y - picture.h},
        {0, picture.y, picture.x, picture.h},
        {picture.x + picture.w, picture.y, outputWidth - picture.x - picture.w, picture.h}};
    SDL_RenderFillRects(p.renderer, bars, 4);
}

// Fill scaling's intermediate picture at `scale` times the back buffer, smooth when scaled again; null
// when the renderer cannot make one.
SDL_Texture* prescaledTexture(Platform& p, int scale) {
    if (p.prescaled && p.prescaledScale == scale) return p.prescaled;
    if (p.prescaled) SDL_DestroyTexture(p.prescaled);
    p.prescaledScale = 0;
    p.prescaled = SDL_CreateTexture(p.renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_TARGET,
                                    p.width * scale, p.height * scale);
    if (!p.prescaled) return nullptr;
    SDL_SetTextureScaleMode(p.prescaled, SDL_ScaleModeLinear);
    SDL_SetTextureBlendMode(p.prescaled, SDL_BLENDMODE_NONE);
    p.prescaledScale = scale;
    return p.prescaled;
}

// The largest whole number the renderer's textures allow for the intermediate picture (no limit: 0), read
// once per renderer.
int largestPrescale(Platform& p) {
    if (p.prescaleLimit >= 0) return p.prescaleLimit;
    SDL_RendererInfo info{};
    p.prescaleLimit = 0;
    if (SDL_GetRendererInfo(p.renderer, &info) == 0 && info.max_texture_width > 0 &&
        info.max_texture_height > 0)
        p.prescaleLimit = std::min(info.max_texture_width / p.width, info.max_texture_height / p.height);
    return p.prescaleLimit;
}

// Fill scaling: the back buffer copied at a whole number into the intermediate picture (nearest), then
// that picture smoothly into the rectangle. False when the renderer cannot: the caller falls back.
bool presentFilled(Platform& p, int outputWidth, int outputHeight) {
    const FillPlan plan = FillBackBuffer(outputWidth, outputHeight, p.width, p.height);
    if (plan.rect.empty()) return false;
    int scale = plan.prescale;
    if (const int largest = largestPrescale(p); largest > 0) scale = std::min(scale, largest);
    SDL_Texture* prescaled = scale >= 1 ? prescaledTexture(p, scale) : nullptr;
    if (!prescaled || SDL_SetRenderTarget(p.renderer, prescaled) != 0) return false;
    SDL_RenderCopy(p.renderer, p.target, nullptr, nullptr);
    SDL_SetRenderTarget(p.renderer, nullptr);
    paintBars(p, outputWidth, outputHeight, plan.rect);
    const SDL_Rect destination{plan.rect.x, plan.rect.y, plan.rect.w, plan.rect.h};
    SDL_RenderCopy(p.renderer, prescaled, nullptr, &destination);
    return true;
}

// Copies the back buffer into the window's drawable at the scale that fits, on black; a window with no
// area (minimised, or resized to nothing) shows nothing.
void presentBackBuffer(Platform& p) {
    int outputWidth = 0, outputHeight = 0;
    if (SDL_GetRendererOutputSize(p.renderer, &outputWidth, &outputHeight) != 0) return;
    if (p.fill && presentFilled(p, outputWidth, outputHeight)) return;
    const ScreenRect fit = FitBackBuffer(outputWidth, outputHeight, p.width, p.height);
    SDL_SetRenderDrawColor(p.renderer, 0, 0, 0, 255);
    if (fit.empty()) {
        SDL_RenderClear(p.renderer);
        return;
    }
    paintBars(p, outputWidth, outputHeight, fit);
    const SDL_Rect destination{fit.x, fit.y, fit.w, fit.h};
    SDL_RenderCopy(p.renderer, p.target, nullptr, &destination);
}

// The window's icon, from a PNG among the resources, so docks and task bars show the game's own art.
void applyWindowIcon(Platform& p) {
    if (!p.window || windowIconPath.empty()) return;
    ResourceData data = OpenResource(windowIconPath);
    TPixmap icon;
    if (!data || !DecodePng(data.bytes, data.size, icon)) {
        std::fprintf(stderr, "vevu: cannot read the window icon %s\n", windowIconPath.c_str());
        return;
    }
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(icon.pixels.data(), icon.width, icon.height, 32,
                                                              icon.width * 4, SDL_PIXELFORMAT_ARGB8888);
    if (!surface) return;
    SDL_SetWindowIcon(p.window, surface); // SDL keeps its own copy
    SDL_FreeSurface(surface);
}

#ifndef __EMSCRIPTEN__
// The page never sleeps: the browser's frames set its pace.
std::int64_t nowNanos() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

void sleepUntil(std::int64_t when) {
    const std::int64_t now = nowNanos();
    if (when > now) std::this_thread::sleep_for(std::chrono::nanoseconds(when - now));
}
#endif

// Presents the frame, held back first only where presents do not wait for the display themselves (the
// pacer measures which). Headless and on the page nothing waits: the manual clock and the browser's
// frames set the pace there.
void presentPaced(Platform& p) {
#ifndef __EMSCRIPTEN__
    if (p.window) {
        sleepUntil(pacer.presentAt(nowNanos()));
        const std::int64_t called = nowNanos();
        SDL_RenderPresent(p.renderer);
        pacer.presented(called, nowNanos());
        return;
    }
#endif
    SDL_RenderPresent(p.renderer);
}

// While nobody sees the window the loop waits for an event (a close request, the window shown again)
// instead of drawing frames; the game goes on, a few passes a second.
void waitWhileUnseen(Platform& p) {
#ifndef __EMSCRIPTEN__ // the page runs once per browser frame
    constexpr int kUnseenWaitMs = 100;
    if (p.window) SDL_WaitEventTimeout(nullptr, kUnseenWaitMs);
#endif
}

bool createHeadlessRenderer(Platform& p) {
    p.renderer = SDL_CreateSoftwareRenderer(p.surface);
    if (!p.renderer || !createTarget(p)) {
        destroyRenderer(p);
        return false;
    }
    return true;
}

engine_detail::RendererMaker rendererMaker; // null: the platform's own

// A renderer for the window or the headless screen, as after a lost device.
bool makeRendererAgain(Platform& p, std::string* error) {
    if (rendererMaker) return rendererMaker(error);
    if (!p.headless) return createWindowRenderer(p, error);
    if (createHeadlessRenderer(p)) return true;
    if (error) *error = std::string("cannot create a renderer: ") + SDL_GetError();
    return false;
}

// The renderer was lost and could not be made again: nothing can be drawn, and without a present to wait
// on the loop would spin flat out behind the frozen picture. It goes on at the display's rate, planned
// from when it really went on, and tries again every second.
void waitForLostRenderer(Platform& p) {
    if (MillisBetween(p.rendererRetryAt, Millis()) >= 0) RecreateRenderer();
    if (!p.rendererLost) return;
    const int periodMs = std::max(1, static_cast<int>(std::lround(1000 / p.refreshHz)));
    SleepMillis(std::min(periodMs, MillisBetween(Millis(), MillisAfter(p.lostFrameAt, periodMs))));
    p.lostFrameAt = Millis();
}
// The same quad as DrawFrame's corners, as the software renderer's copy: scaled (a negative scale flips)
// about the drawing position, then turned about it by the rotation, clockwise on screen.
void drawTurnedOnSoftware(Platform& p, SDL_Texture* texture, SDL_Color colour, float ox, float oy, float u0,
                          float v0, float u1, float v1) {
    const DrawingState& s = drawing;
    const float sx = s.tform_scale_x, sy = s.tform_scale_y;
    const float left = ox + std::min(sx * u0, sx * u1), top = oy + std::min(sy * v0, sy * v1);
    const SDL_FRect rect{left, top, std::fabs(sx) * (u1 - u0), std::fabs(sy) * (v1 - v0)};
    const SDL_FPoint centre{ox - left, oy - top};
    const int flip = (sx < 0 ? SDL_FLIP_HORIZONTAL : 0) | (sy < 0 ? SDL_FLIP_VERTICAL : 0);
    SDL_SetTextureColorMod(texture, colour.r, colour.g, colour.b);
    SDL_SetTextureAlphaMod(texture, colour.a);
    SDL_RenderCopyExF(p.renderer, texture, nullptr, &rect, s.tform_rot, &centre,
                      static_cast<SDL_RendererFlip>(flip));
    SDL_SetTextureColorMod(texture, 255, 255, 255);
    SDL_SetTextureAlphaMod(texture, 255);
}
} // namespace

namespace engine_detail {

void SetRendererMaker(RendererMaker maker) {
    rendererMaker = std::move(maker);
}

Platform& platform() {
    // Never destroyed: images held by process-wide handles ask it about their textures at exit.
    static Platform* instance = new Platform;
    return *instance;
}

void DrawImageFrame(TImage& image, int frame, float x, float y, float offsetU, float offsetV) {
    Platform& p = platform();
    if (!p.renderer || !p.drawing || frame < 0 || frame >= image.FrameCount()) return;
    SDL_Texture* texture = FrameTexture(image, frame);
    if (!texture) return;

    const DrawingState& s = drawing;
    const float u0 = offsetU - image.handle_x, v0 = offsetV - image.handle_y;
    const float u1 = u0 + static_cast<float>(image.width), v1 = v0 + static_cast<float>(image.height);
    const float ox = x + s.origin_x, oy = y + s.origin_y;
    // A position that is not a number or lies millions of pixels away is on no screen; SDL would turn it
    // into integers it cannot hold.
    if (!(std::fabs(ox) < 1e6f && std::fabs(oy) < 1e6f)) return;
    if (!std::isfinite(s.tform_ix + s.tform_iy + s.tform_jx + s.tform_jy)) return;
    float alpha = s.color_alpha < 0 ? 0 : (s.color_alpha > 1 ? 1 : s.color_alpha);
    const SDL_Color colour{static_cast<Uint8>(s.color_red), static_cast<Uint8>(s.color_green),
                           static_cast<Uint8>(s.color_blue), static_cast<Uint8>(std::lround(alpha * 255.0f))};
    SDL_SetTextureBlendMode(texture, sdlBlend(s.blend_mode));
    // SDL's software renderer blits an upright, unmirrored quad exactly but misplaces texels in its
    // triangle sampler; a mirrored or turned quad goes through its copy with flip and rotation there.
    const bool upright = s.tform_iy == 0 && s.tform_jx == 0 && s.tform_ix > 0 && s.tform_jy > 0;
    if (p.software && !upright) {
        drawTurnedOnSoftware(p, texture, colour, ox, oy, u0, v0, u1, v1);
        return;
    }
    SDL_Vertex corners[4];
    const float us[4] = {u0, u1, u0, u1};
    const float vs[4] = {v0, v0, v1, v1};
    for (int i = 0; i < 4; ++i) {
        corners[i].position.x = ox + us[i] * s.tform_ix + vs[i] * s.tform_iy;
        corners[i].position.y = oy + us[i] * s.tform_jx + vs[i] * s.tform_jy;
        corners[i].color = colour;
        corners[i].tex_coord.x = (i & 1) ? 1.0f : 0.0f;
        corners[i].tex_coord.y = (i & 2) ? 1.0f : 0.0f;
    }
    // Both triangles share the top-left to bottom-right diagonal: SDL's software renderer recognises this
    // layout as a rectangle and blits it texel-exact.
    static const int indices[6] = {0, 1, 3, 0, 3, 2};
    SDL_RenderGeometry(p.renderer, texture, corners, 4, indices, 6);
}

} // namespace engine_detail

void SetWindowTitle(const std::string& title) {
    windowTitle = title;
    if (platform().window) SDL_SetWindowTitle(platform().window, title.c_str());
}

void SetWindowClass(const std::string& appId) {
    windowClass = appId;
}

void SetWindowIcon(const std::string& path) {
    windowIconPath = path;
    applyWindowIcon(platform());
}

namespace {
volatile std::sig_atomic_t stopSignalled = 0;
extern "C" void onStopSignal(int number) {
    stopSignalled = 1;
    // Windows' C runtime puts back the default action (ending the program at once) before it calls the
    // handler: set again, a second Ctrl+C asks the game to close as the first did.
    std::signal(number, onStopSignal);
}
} // namespace

void CatchStopSignals() {
    std::signal(SIGTERM, onStopSignal);
    std::signal(SIGINT, onStopSignal);
}

namespace engine_detail {
bool TakeStopSignal() {
    if (!stopSignalled) return false;
    stopSignalled = 0;
    return true;
}
} // namespace engine_detail

bool TryCreateGraphics(int width, int height, int depth, int hertz, int flags, std::string* error) {
    Platform& p = platform();
    if (p.renderer) ShutdownEngine();
    if (width <= 0 || height <= 0) {
        if (error) *error = "the window size must be positive";
        return false;
    }
#ifdef __EMSCRIPTEN__
    // Flip hands control to the page once a frame itself; SDL's own yield in every present goes.
    SDL_SetHint(SDL_HINT_EMSCRIPTEN_ASYNCIFY, "0");
    // The page's own touch controls read the fingers; a touch must not come again as a mouse click.
    SDL_SetHint(SDL_HINT_TOUCH_MOUSE_EVENTS, "0");
#elif defined(_WIN32)
    // The window's size in the screen's scaled points and its drawable in real pixels, as on the other
    // desktops: 640x480 on a screen scaled to 200 % is 1280x960 pixels, and Flip doubles the picture.
    SDL_SetHint(SDL_HINT_WINDOWS_DPI_SCALING, "1");
    // The frame pacer's sleeps, in whole milliseconds on a system timer that ticks every 15.6 ms unless
    // asked to tick every millisecond (SDL asks while it runs; said here so that it stays so).
    SDL_SetHint(SDL_HINT_TIMER_RESOLUTION, "1");
#else // the page's canvas is always there; a desktop may have no display
    // No X or Wayland display and no driver asked for by name: say so in one line rather than let every
    // video driver try and complain in turn.
    if (!SDL_getenv("DISPLAY") && !SDL_getenv("WAYLAND_DISPLAY") && !SDL_getenv("SDL_VIDEODRIVER")) {
        if (error) *error = "no display to open the window on";
        return false;
    }
#endif
#ifndef __EMSCRIPTEN__
    // The window's class (X11) or application id (Wayland) is the desktop entry's id, so the desktop
    // shows the running game as its menu entry; a class set in the environment wins.
    if (!windowClass.empty()) {
        SDL_setenv("SDL_VIDEO_X11_WMCLASS", windowClass.c_str(), 0);
        SDL_setenv("SDL_VIDEO_WAYLAND_WMCLASS", windowClass.c_str(), 0);
    }
#endif
    // Sound mixers and screen-saver inhibitors name the game by its title.
    if (!windowTitle.empty()) SDL_SetHint(SDL_HINT_APP_NAME, windowTitle.c_str());
    // The game says when the screen saver may start (AllowScreenSaver); SDL's default blocks it always.
    SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        if (error) *error = std::string("no display: ") + SDL_GetError();
        return false;
    }
    p.sdlVideo = true;
    // Without a display SDL falls back to drivers that show nothing; the game would run unseen. They are
    // used only when asked for by name (SDL_VIDEODRIVER).
    const char* driver = SDL_GetCurrentVideoDriver();
    const char* requested = SDL_getenv("SDL_VIDEODRIVER");
    if (driver && (SDL_strcmp(driver, "offscreen") == 0 || SDL_strcmp(driver, "dummy") == 0) &&
        !(requested && SDL_strcasecmp(requested, driver) == 0)) {
        if (error) *error = "no display to open the window on";
        ShutdownEngine();
        return false;
    }
    p.headless = false;
    p.width = width;
    p.height = height;
#ifdef __EMSCRIPTEN__
    // The canvas stays 640 x 480: the page scales it on screen and shows it fullscreen.
    const Uint32 windowFlags = SDL_WINDOW_SHOWN;
#else
    // Resizable, and on high-DPI screens a drawable of the screen's real pixels: Flip scales the picture.
    // The player's fullscreen setting opens the window fullscreen at once, as F11 makes it.
    Uint32 windowFlags = SDL_WINDOW_SHOWN | SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI |
                         (depth != 0 ? SDL_WINDOW_FULLSCREEN : 0) |
                         (p.fullscreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
#endif
    p.window = SDL_CreateWindow(windowTitle.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width,
                                height, windowFlags);
    if (!p.window) {
        if (error) *error = std::string("cannot open a window: ") + SDL_GetError();
        ShutdownEngine();
        return false;
    }
    if (!createWindowRenderer(p, error)) {
        ShutdownEngine();
        return false;
    }
    applyWindowIcon(p);
    if (p.fullscreen) SDL_ShowCursor(SDL_DISABLE);
#ifndef __EMSCRIPTEN__
    // The game takes no text: with text input on, an input method would swallow the letters it uses as
    // keys. Typed characters come from the key events.
    SDL_StopTextInput();
#endif
    p.focused = true;
    p.screenSaverOn = SDL_IsScreenSaverEnabled() == SDL_TRUE;
    engine_detail::ApplyScreenSaver();
    engine_detail::ReadRefreshRate();
    UseManualClock(false);
    OpenAudio();    // no sound device: the game runs silent
    OpenGamepads(); // none: the keyboard alone
    engine_detail::AttachScriptedPad();
    Cls();
    return true;
}

void CreateGraphics(int width, int height, int depth, int hertz, int flags) {
    std::string error;
    if (!TryCreateGraphics(width, height, depth, hertz, flags, &error)) {
        std::fprintf(stderr, "%s: %s\n", windowTitle.empty() ? "vevu" : windowTitle.c_str(), error.c_str());
        std::exit(1);
    }
}

bool InitHeadless(int width, int height) {
    ShutdownEngine();
    Platform& p = platform();
    if (width <= 0 || height <= 0) return false;
    p.headless = true;
    p.width = width;
    p.height = height;
    p.surface = SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, SDL_PIXELFORMAT_ARGB8888);
    if (!p.surface || !createHeadlessRenderer(p)) {
        ShutdownEngine();
        return false;
    }
    p.drawing = true;
    UseManualClock(true);
    SetManualMillis(0);
    ClearKeys();
    ResetDrawingState();
    return true;
}

bool SetHeadlessScreenSize(int width, int height) {
    Platform& p = platform();
    if (!p.headless || width <= 0 || height <= 0) return false;
    SDL_Surface* screen = SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, SDL_PIXELFORMAT_ARGB8888);
    if (!screen) return false;
    destroyRenderer(p); // the software renderer draws into one surface for its whole life
    SDL_FreeSurface(p.surface);
    p.surface = screen;
    return createHeadlessRenderer(p);
}

bool IsHeadless() {
    return platform().headless;
}

void ShutdownEngine() {
    Platform& p = platform();
    CloseAudio();
    engine_detail::DetachScriptedPad();
    CloseGamepads();
    engine_detail::ReleaseTouches();
    destroyRenderer(p);
    if (p.window) SDL_DestroyWindow(p.window);
    p.window = nullptr;
    if (p.surface) SDL_FreeSurface(p.surface);
    p.surface = nullptr;
    if (p.sdlVideo) SDL_QuitSubSystem(SDL_INIT_VIDEO);
    p.sdlVideo = false;
    p.headless = false;
    p.closeRequested = false;
    p.focusLost = false;
    p.focused = true;
    p.screenSaverWanted = true;
    p.rendererLost = false;
    SetAudioMuted(false);
    drawing.image_font.reset();
}

void RecreateRenderer() {
    constexpr int kLostRetryMs = 1000;
    Platform& p = platform();
    if (!p.renderer && !p.rendererLost) return;
    destroyRenderer(p);
    std::string error;
    if (makeRendererAgain(p, &error)) {
        if (p.rendererLost)
            std::fprintf(stderr, "vevu: the renderer is made again; the game is shown again\n");
        p.rendererLost = false;
        return;
    }
    if (!p.rendererLost)
        std::fprintf(stderr,
                     "vevu: the renderer was lost and cannot be made again (%s); trying again every second\n",
                     error.c_str());
    p.rendererLost = true;
    p.rendererRetryAt = MillisAfter(Millis(), kLostRetryMs);
    p.lostFrameAt = Millis();
}

void SetFillScaling(bool fill) {
    platform().fill = fill;
}

bool FillScaling() {
    return platform().fill;
}

void SetVSync(bool on) {
    Platform& p = platform();
    if (p.vsync == on) return;
    p.vsync = on;
    // Headless there is no display to wait for; a renderer that cannot switch is made anew.
    if (p.window && p.renderer && SDL_RenderSetVSync(p.renderer, on ? 1 : 0) != 0) RecreateRenderer();
}

bool VSync() {
    return platform().vsync;
}

bool DisplaySettingsApply() {
#ifdef __EMSCRIPTEN__
    return false; // the page sizes the canvas and switches to fullscreen itself
#else
    return true;
#endif
}

void SetPageLines(const std::string& json) {
#ifdef __EMSCRIPTEN__
    EM_ASM(
        {
            if (Module["vevuPageLines"])
                Module["vevuPageLines"](JSON.parse(new TextDecoder().decode(HEAPU8.subarray($0, $0 + $1))));
        },
        json.data(), static_cast<int>(json.size()));
#else
    (void)json;
#endif
}

void SetDrawingEnabled(bool enabled) {
    platform().drawing = enabled;
}
bool DrawingEnabled() {
    return platform().drawing;
}

void SetFrameSampling(int divisor) {
    Platform& p = platform();
    p.sampling = std::clamp(divisor, 1, 16);
    if (p.renderer) applySampling(p);
}
int FrameSampling() {
    return platform().sampling;
}

int GraphicsGeneration() {
    return platform().generation;
}
int GraphicsWidth() {
    return platform().width;
}
int GraphicsHeight() {
    return platform().height;
}

void Cls() {
    Platform& p = platform();
    if (!p.renderer || !p.drawing) return;
    SDL_SetRenderDrawColor(p.renderer, static_cast<Uint8>(drawing.clscolor_red),
                           static_cast<Uint8>(drawing.clscolor_green),
                           static_cast<Uint8>(drawing.clscolor_blue), 255);
    if (p.sampling > 1) { // only the small frame's corner: a whole clear would cost as much as a frame
        const SDL_Rect frame{0, 0, p.width, p.height};
        SDL_SetRenderDrawBlendMode(p.renderer, SDL_BLENDMODE_NONE);
        SDL_RenderFillRect(p.renderer, &frame);
        return;
    }
    SDL_RenderClear(p.renderer);
}

void Flip(int sync) {
    Platform& p = platform();
    if (p.rendererLost) {
        waitForLostRenderer(p);
        engine_detail::PumpEvents();
        return;
    }
    if (!p.renderer) return;
    if (!p.drawing) {
        engine_detail::PumpEvents();
        return;
    }
    logFrame(p);
    if (frameOverlay) {
        const DrawingState saved = drawing;
        frameOverlay();
        drawing = saved;
    }
    // A minimised or hidden window is shown nothing: some drivers report its last size, others none.
    const bool unseen =
        p.window && (SDL_GetWindowFlags(p.window) & (SDL_WINDOW_MINIMIZED | SDL_WINDOW_HIDDEN)) != 0;
    if (unseen) {
        waitWhileUnseen(p);
    } else if (p.headless && p.sampling > 1) {
        // Frames drawn small are only measured, never shown: copying them out would cost a whole frame.
    } else {
        SDL_SetRenderTarget(p.renderer, nullptr);
        presentBackBuffer(p);
        presentPaced(p);
        SDL_SetRenderTarget(p.renderer, p.target);
        applySampling(p);
    }
#ifdef __EMSCRIPTEN__
    engine_detail::WaitForBrowserFrame(); // the page shows the frame and delivers the keys meanwhile
#endif
    engine_detail::PumpEvents();
}

bool CloseRequested() {
    Platform& p = platform();
    engine_detail::PumpEvents();
    // While a replay plays, the game hears the recorded close; the window's own waits for the viewer.
    if (PlayingPasses()) return engine_detail::PlaybackCloseRequested();
    const bool closed = std::exchange(p.closeRequested, false);
    if (closed) engine_detail::RecordClose();
    return closed;
}

std::string TakeDroppedFile() {
    engine_detail::PumpEvents();
    return std::exchange(platform().droppedFile, std::string());
}

bool DroppedFileWaiting() {
    engine_detail::PumpEvents();
    return !platform().droppedFile.empty();
}

void SetFrameOverlay(std::function<void()> overlay) {
    frameOverlay = std::move(overlay);
}

bool WindowCloseWaiting() {
    engine_detail::PumpEvents();
    return platform().closeRequested;
}

bool FocusLost() {
    Platform& p = platform();
    engine_detail::PumpEvents();
    if (PlayingPasses()) return engine_detail::PlaybackFocusLost();
    const bool lost = std::exchange(p.focusLost, false);
    if (lost) engine_detail::RecordFocusLost();
    return lost;
}

void AllowScreenSaver(bool allowed) {
    platform().screenSaverWanted = allowed;
    engine_detail::ApplyScreenSaver();
}

bool ScreenSaverAllowed() {
    const Platform& p = platform();
    return p.screenSaverWanted || !p.focused;
}

namespace engine_detail {
void ApplyScreenSaver() {
    Platform& p = platform();
    const bool allowed = ScreenSaverAllowed();
    if (!p.sdlVideo || allowed == p.screenSaverOn) return;
    if (allowed) {
        SDL_EnableScreenSaver();
    } else {
        SDL_DisableScreenSaver();
    }
    p.screenSaverOn = allowed;
}

void ReadRefreshRate() {
    Platform& p = platform();
    SDL_DisplayMode mode{};
    const int display = p.window ? SDL_GetWindowDisplayIndex(p.window) : -1;
    const bool known =
        display >= 0 && SDL_GetCurrentDisplayMode(display, &mode) == 0 && mode.refresh_rate > 0;
    p.refreshHz = known ? mode.refresh_rate : 60;
    pacer.setRate(p.refreshHz);
}
} // namespace engine_detail

bool ConfirmEnd() {
    if (PlayingPasses()) {
        const bool yes = engine_detail::PlaybackEndAnswer();
        // Where the page asked and the player stayed, the keys of that moment were the question's.
        if (!yes) engine_detail::ResetKeyboard();
        return yes;
    }
#ifdef __EMSCRIPTEN__
    const bool yes = engine_detail::AskInBrowserToEnd();
#else
    const bool yes = true;
#endif
    engine_detail::RecordEndAnswer(yes);
    return yes;
}

void EndProgram() {
    ShutdownEngine();
    SDL_Quit();
#ifdef __EMSCRIPTEN__
    engine_detail::EndInBrowser();
#else
    std::exit(0);
#endif
}

bool ReadBackBuffer(int x, int y, int width, int height, std::uint32_t* argbOut) {
    Platform& p = platform();
    if (!p.renderer || !argbOut || width <= 0 || height <= 0) return false;
    if (x < 0 || y < 0 || x + width > p.width || y + height > p.height) return false;
    SDL_Rect rect{x, y, width, height};
    return SDL_RenderReadPixels(p.renderer, &rect, SDL_PIXELFORMAT_ARGB8888, argbOut,
                                width * static_cast<int>(sizeof(std::uint32_t))) == 0;
}

std::uint32_t ReadBackBufferPixel(int x, int y) {
    std::uint32_t pixel = 0;
    return ReadBackBuffer(x, y, 1, 1, &pixel) ? pixel : 0;
}

bool SaveBackBufferPng(const std::string& path) {
    Platform& p = platform();
    TPixmap shot(p.width, p.height);
    if (!ReadBackBuffer(0, 0, p.width, p.height, shot.pixels.data())) return false;
    return WritePng(path, shot);
}

void SetColor(int r, int g, int b) {
    drawing.color_red = colourChannel(r);
    drawing.color_green = colourChannel(g);
    drawing.color_blue = colourChannel(b);
}

void ReadColor(int& r, int& g, int& b) {
    r = drawing.color_red;
    g = drawing.color_green;
    b = drawing.color_blue;
}

void SetAlpha(float alpha) {
    drawing.color_alpha = alpha;
}
float GetAlpha() {
    return drawing.color_alpha;
}

void SetClsColor(int r, int g, int b) {
    drawing.clscolor_red = colourChannel(r);
    drawing.clscolor_green = colourChannel(g);
    drawing.clscolor_blue = colourChannel(b);
}

void SetBlend(int mode) {
    drawing.blend_mode = mode;
}

void SetDrawScale(float sx, float sy) {
    drawing.tform_scale_x = sx;
    drawing.tform_scale_y = sy;
    updateMatrix();
}

void SetDrawRotation(float degrees) {
    drawing.tform_rot = degrees;
    updateMatrix();
}

void SetDrawTransform(float degrees, float sx, float sy) {
    drawing.tform_rot = degrees;
    drawing.tform_scale_x = sx;
    drawing.tform_scale_y = sy;
    updateMatrix();
}

void SetOrigin(float x, float y) {
    drawing.origin_x = x;
    drawing.origin_y = y;
}

void SetFont(std::shared_ptr<TFont> font) {
    drawing.image_font = std::move(font);
}

const DrawingState& GetDrawingState() {
    return drawing;
}

void ResetDrawingState() {
    drawing = DrawingState{};
}

void DrawFrame(TImage* image, float x, float y, int frame) {
    if (!image) return;
    if (drawListener) drawListener(*image, frame);
    engine_detail::DrawImageFrame(*image, frame, x, y, 0, 0);
}

void ListenToDraws(DrawListener listener) {
    drawListener = listener;
}

void DrawFrame(const std::shared_ptr<TImage>& image, float x, float y, int frame) {
    DrawFrame(image.get(), x, y, frame);
}

void GrabFrame(const std::shared_ptr<TImage>& image, int x, int y, int frame) {
    Platform& p = platform();
    if (!image || !p.renderer) return;
    TPixmap* pixmap = image->Lock(frame, false, true);
    if (!pixmap || pixmap->width <= 0 || pixmap->height <= 0) return;
    // Read the part that lies on the back buffer; the rest of the frame becomes transparent.
    const int left = std::max(x, 0), top = std::max(y, 0);
    const int right = std::min(x + pixmap->width, p.width), bottom = std::min(y + pixmap->height, p.height);
    std::fill(pixmap->pixels.begin(), pixmap->pixels.end(), 0u);
    // With drawing switched off the back buffer holds nothing current: the frame stays blank.
    if (p.drawing && right > left && bottom > top) {
        std::vector<std::uint32_t> rows(static_cast<std::size_t>(right - left) * (bottom - top));
        if (ReadBackBuffer(left, top, right - left, bottom - top, rows.data())) {
            for (int row = top; row < bottom; ++row) {
                for (int col = left; col < right; ++col) {
                    std::uint32_t pixel =
                        rows[static_cast<std::size_t>(row - top) * (right - left) + (col - left)];
                    pixmap->WritePixel(col - x, row - y, pixel);
                }
            }
        }
    }
    pixmap->Touch();
}
