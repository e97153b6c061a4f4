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

// Holds frames at least one display refresh apart, for drivers that ignore vertical sync (and for those
// who turn it off): without it the loop would draw hundreds of frames a second that no screen shows. The
// wait comes after the present: with vertical sync honoured the present itself has taken a refresh and
// the pacer asks for no wait, so it never pushes a frame past the next refresh. Times are in nanoseconds
// of a monotonic clock.
class FramePacer {
  public:
    // The display's refresh rate; 0 or less (a display that does not say) counts as 60 Hz.
    void setRate(double hz);
    std::int64_t period() const { return _period; }
    // A frame was just presented at `now`: when the loop may go on, one period after the last frame, or
    // at once when that is past.
    std::int64_t goOnAt(std::int64_t now) const;
    // The loop goes on at `now`. A late frame starts the count afresh: lost time is never made up with a
    // burst of frames.
    void wentOn(std::int64_t now) { _last = now; }

  private:
    std::int64_t _period = 1'000'000'000 / 60;
    std::int64_t _last = -1; // no frame shown yet
};
