#include "engine/browser.h"

#ifdef __EMSCRIPTEN__
#include <emscripten.h>

#include "engine/platform.h"
#include "engine/sound.h"
#include "engine/touch.h"

namespace {
double waitedMillis = 0;
double heldMillis = 0;
bool framePresented = false;

// Asyncify suspends the game's whole call stack here and resumes it when the promise settles. The
// page's first frame is marked for the measurements (performance.mark "vevu-first-frame").
EM_ASYNC_JS(void, vevu_wait_for_frame, (int first), {
    await new Promise(function(resolve) {
        var settled = false;
        function settle() {
            if (!settled) {
                settled = true;
                if (first) performance.mark("vevu-first-frame");
                resolve();
            }
        }
        requestAnimationFrame(settle);
        setTimeout(settle, 100);
    });
});

// The page's question whether to end the game: 1 to end, 0 to play on. A page without one ends; a
// question that fails plays on (a promise left unsettled would hold the game still for good).
EM_ASYNC_JS(int, vevu_ask_to_end, (), {
    if (!Module["confirmEnd"]) return 1;
    try {
        return (await Module["confirmEnd"]()) ? 1 : 0;
    } catch (error) {
        console.log("The page could not ask whether to end the game (" + error + "); playing on.");
        return 0;
    }
});

EM_ASYNC_JS(void, vevu_end_game, (), {
    if (Module["onGameEnded"]) Module["onGameEnded"]();
    await new Promise(function(){}); // never settles: the ended game keeps no loop alive
});
} // namespace

namespace engine_detail {

void WaitForBrowserFrame() {
    const double start = emscripten_get_now();
    vevu_wait_for_frame(!framePresented);
    framePresented = true;
    waitedMillis += emscripten_get_now() - start;
}

void SleepInBrowser(int ms) {
    const double start = emscripten_get_now();
    emscripten_sleep(static_cast<unsigned>(ms));
    waitedMillis += emscripten_get_now() - start;
}

double BrowserWaitMillis() {
    return waitedMillis;
}

bool AskInBrowserToEnd() {
    ReleaseTouches(); // the page covers the controls while it asks
    const bool wasMuted = AudioMuted();
    SetAudioMuted(true);
    const double start = emscripten_get_now();
    const bool end = vevu_ask_to_end() != 0;
    heldMillis += emscripten_get_now() - start;
    SetAudioMuted(wasMuted);
    if (!end) {
        // Keys pressed or let go while the page asked were the question's, not the game's (a replay
        // forgets the game's keys at the same moment: ConfirmEnd).
        PumpEventsAnyway();
        ResetKeyboard();
    }
    return end;
}

double BrowserHeldMillis() {
    return heldMillis;
}

void EndInBrowser() {
    for (;;)
        vevu_end_game();
}

} // namespace engine_detail

namespace {
TouchTarget targetOf(int target) {
    return target >= 0 && target <= static_cast<int>(TouchTarget::Picture) ? static_cast<TouchTarget>(target)
                                                                           : TouchTarget::Nothing;
}
} // namespace

// The page's touch controls (web/shell.html) call these as fingers land, slide and lift.
extern "C" {
EMSCRIPTEN_KEEPALIVE void vevu_touch_land(int finger, int target, float x, float y) {
    engine_detail::TouchLand(finger, targetOf(target), x, y);
}
EMSCRIPTEN_KEEPALIVE void vevu_touch_slide(int finger, int target, float x, float y) {
    engine_detail::TouchSlide(finger, targetOf(target), x, y);
}
EMSCRIPTEN_KEEPALIVE void vevu_touch_lift(int finger) {
    engine_detail::TouchLift(finger);
}
EMSCRIPTEN_KEEPALIVE void vevu_touch_release() {
    engine_detail::ReleaseTouches();
}
// A replay file the page was given (dropped on it, or opened) and wrote at path: the game takes it as it
// takes a file dropped on a window.
EMSCRIPTEN_KEEPALIVE void vevu_open_replay(const char* path) {
    if (path && *path) engine_detail::platform().droppedFile = path;
}
}

#endif
