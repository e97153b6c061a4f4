#pragma once
// Where the back buffer lands in the window (the game always draws 640x480, the window may be any size)
// and when it is shown.
#include <cstdint>

struct ScreenRect {
    int x = 0, y = 0, w = 0, h = 0;
    bool empty() const { return w <= 0 || h <= 0; }
    bool operator==(const ScreenRect&) const = default;
};

// The back buffer at the largest whole-number scale that fits the drawable, centred, so every art pixel
// stays a square of whole screen pixels. A drawable smaller than the buffer gets the buffer scaled down
// to fit with its proportions kept (never cropped); a drawable with no area gets an empty rectangle.
ScreenRect FitBackBuffer(int drawableWidth, int drawableHeight, int bufferWidth, int bufferHeight);

// The "fill" scaling: the back buffer scaled up by a whole number (nearest) into an intermediate picture,
// which is then scaled smoothly into the largest rectangle of the buffer's proportions that fits the
// drawable, centred. The whole number is the smallest that reaches the rectangle's size, so the smooth
// step only ever shrinks: every art pixel stays sharp, with at most one blended screen pixel at its
// edges. A drawable with no area gets an empty rectangle and a scale of 0.
struct FillPlan {
    ScreenRect rect;
    int prescale = 0;
    bool operator==(const FillPlan&) const = default;
};
FillPlan FillBackBuffer(int drawableWidth, int drawableHeight, int bufferWidth, int bufferHeight);

// Keeps frames in step with the display. Where vertical sync is honoured the present itself waits for the
// display and is the whole pacing: a sleep on top of it, planned from the rate the display reports (often a
// little below the real one: a 59.94 Hz panel reported as 59 Hz), drifts later frame by frame until a
// refresh passes without a new frame. So the pacer measures whether presents wait, and only where they do
// not (a driver that ignores vertical sync, or vertical sync turned off) holds each present until one period
// after the last one really returned. Times are in nanoseconds of a monotonic clock.
class FramePacer {
  public:
    // The display's refresh rate; 0 or less (a display that does not say) counts as 60 Hz.
    void setRate(double hz);
    std::int64_t period() const { return _period; }
    // Whether the renderer was asked to wait for the display. A change measures presents afresh.
    void setVsyncWanted(bool wanted);
    bool vsyncWanted() const { return _vsyncWanted; }
    // What the last presents showed: they wait for the display.
    bool presentsWait() const { return _presentsWait; }

    // When the present about to be made may be made, asked at `now`: at once where presents wait (or
    // before the first), else one period after the last present returned.
    std::int64_t presentAt(std::int64_t now) const;
    // A present was made at `called` and returned at `returned`.
    void presented(std::int64_t called, std::int64_t returned);

  private:
    std::int64_t _period = 1'000'000'000 / 60;
    bool _vsyncWanted = true;
    bool _presentsWait = false; // until a present is seen to wait, frames are held a period apart
    int _quickPresents = 0;     // presents in a row that returned sooner than the display could show them
    bool _presentsSeenQuick = false; // since when only a present held half a refresh counts as waiting
    std::int64_t _lastReturn = -1;
};
