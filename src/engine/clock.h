#pragma once
#include <cstdint>

// The millisecond clock. The windowed game reads the system's monotonic millisecond counter; the
// headless platform reads a manual clock that tests move forward (and that SleepMillis moves forward
// instead of sleeping).
//
// The counter runs since the machine started, so it passes the largest int after 24.8 days and goes
// on from the smallest: readings are compared only through MillisBetween and moved only through
// MillisAfter, which stay right across that wrap.

// The system's millisecond counter as an int (or the manual clock's reading when it is active).
int Millis();
// Sleeps for ms milliseconds; with the manual clock it advances the clock by ms instead. ms <= 0 does
// nothing.
void SleepMillis(int ms);

// Milliseconds from the reading `from` to the reading `to` (negative when `to` is earlier), across the
// counter's wrap while the two lie less than 24.8 days apart.
constexpr int MillisBetween(int from, int to) {
    return static_cast<int>(static_cast<std::uint32_t>(to) - static_cast<std::uint32_t>(from));
}
// The reading ms milliseconds after `from`, across the counter's wrap.
constexpr int MillisAfter(int from, int ms) {
    return static_cast<int>(static_cast<std::uint32_t>(from) + static_cast<std::uint32_t>(ms));
}

// Manual clock control (the headless platform switches it on).
void UseManualClock(bool on);
bool ManualClockActive();
void SetManualMillis(int ms);
void AdvanceMillis(int ms);

// The latched clock (a session being recorded): Millis stands still within a pass and moves only when
// LatchClock brings it to the system's time (the manual clock's, when that is on), and by exactly the
// length of each sleep, so that a pass is told by how far LatchClock moved it. LatchClock answers that
// length (never negative), at most `longest`: time beyond it (a stopped process, a dragged window) never
// reaches the game, which then moved as far as its recording says.
void UseLatchedClock(bool on);
bool LatchedClockActive();
int LatchClock(int longest);
