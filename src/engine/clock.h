#pragma once

// The millisecond clock. The windowed game reads SDL's counter; the headless platform reads a manual
// clock that tests move forward (and that SleepMillis moves forward instead of sleeping).

// Milliseconds since the engine started (or the manual clock's reading when it is active).
int Millis();
// Sleeps for ms milliseconds; with the manual clock it advances the clock by ms instead. ms <= 0 does
// nothing.
void SleepMillis(int ms);

// Manual clock control (the headless platform switches it on).
void UseManualClock(bool on);
bool ManualClockActive();
void SetManualMillis(int ms);
void AdvanceMillis(int ms);
