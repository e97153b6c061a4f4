#include "engine/clock.h"

#include <SDL.h>

#include <algorithm>
#include <chrono>

#include "engine/browser.h"

namespace {
bool manualClock = false;
int manualMillis = 0;
bool latchedClock = false;
int latchedMillis = 0;
int latchedLag = 0; // how far the latched clock stays behind the running one: the time it let go

int systemMillis() {
    // A system-wide count (since the machine started, not since the game did), so every launch reads a
    // different value and seeds the random generator differently. The low 32 bits make the int.
    const auto sinceBoot = std::chrono::steady_clock::now().time_since_epoch();
    auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(sinceBoot).count();
#ifdef __EMSCRIPTEN__
    // While the page asks the player whether to end, the game stands still: that time is not the game's.
    ms -= static_cast<decltype(ms)>(engine_detail::BrowserHeldMillis());
#endif
    return static_cast<int>(static_cast<std::uint32_t>(ms));
}

// The clock that goes on by itself: the system's, or the manual one tests move.
int runningMillis() {
    return manualClock ? manualMillis : systemMillis();
}
} // namespace

int Millis() {
    if (latchedClock) return latchedMillis;
    return runningMillis();
}

void SleepMillis(int ms) {
    if (ms <= 0) return;
    if (latchedClock) latchedMillis = MillisAfter(latchedMillis, ms);
    if (manualClock) {
        AdvanceMillis(ms);
        return;
    }
#ifdef __EMSCRIPTEN__
    engine_detail::SleepInBrowser(ms);
#else
    SDL_Delay(static_cast<Uint32>(ms));
#endif
}

void UseManualClock(bool on) {
    manualClock = on;
}
bool ManualClockActive() {
    return manualClock;
}
void SetManualMillis(int ms) {
    manualMillis = ms;
}
void AdvanceMillis(int ms) {
    manualMillis = MillisAfter(manualMillis, ms);
}

void UseLatchedClock(bool on) {
    if (on && !latchedClock) {
        latchedMillis = runningMillis();
        latchedLag = 0;
    }
    latchedClock = on;
}
bool LatchedClockActive() {
    return latchedClock;
}
int LatchClock(int longest) {
    if (!latchedClock) return 0;
    // A sleep may end a little early; the clock never goes back.
    const int ms = std::max(MillisBetween(MillisAfter(latchedMillis, latchedLag), runningMillis()), 0);
    const int taken = std::min(ms, std::max(longest, 0));
    latchedLag = MillisAfter(latchedLag, ms - taken);
    latchedMillis = MillisAfter(latchedMillis, taken);
    return taken;
}
