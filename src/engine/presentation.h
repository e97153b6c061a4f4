#pragma once
// Where the back buffer lands in the window: the game always draws 640x480, the window may be any size.

struct ScreenRect {
    int x = 0, y = 0, w = 0, h = 0;
    bool empty() const { return w <= 0 || h <= 0; }
    bool operator==(const ScreenRect&) const = default;
};

// The back buffer at the largest whole-number scale that fits the drawable, centred, so every art pixel
// stays a square of whole screen pixels. A drawable smaller than the buffer gets the buffer scaled down
// to fit with its proportions kept (never cropped); a drawable with no area gets an empty rectangle.
ScreenRect FitBackBuffer(int drawableWidth, int drawableHeight, int bufferWidth, int bufferHeight);
