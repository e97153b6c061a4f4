#include "engine/clock.h"

#include <SDL.h>

#include <chrono>

#include "engine/browser.h"

namespace {
bool manualClock = false;
int manualMillis = 0;
} // namespace

int Millis() {
    if (manualClock) return manualMillis;
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

void SleepMillis(int ms) {
    if (ms <= 0) return;
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
