#include "engine/clock.h"

#include <SDL.h>

namespace {
bool manualClock = false;
int manualMillis = 0;
} // namespace

int Millis() {
    if (manualClock) return manualMillis;
    return static_cast<int>(SDL_GetTicks());
}

void SleepMillis(int ms) {
    if (ms <= 0) return;
    if (manualClock) {
        manualMillis += ms;
        return;
    }
    SDL_Delay(static_cast<Uint32>(ms));
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
    manualMillis += ms;
}
