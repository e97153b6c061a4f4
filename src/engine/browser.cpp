#include "engine/browser.h"

#ifdef __EMSCRIPTEN__
#include <emscripten.h>

namespace {
double waitedMillis = 0;
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

void EndInBrowser() {
    for (;;)
        vevu_end_game();
}

} // namespace engine_detail

#endif
