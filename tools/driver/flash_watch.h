#pragma once
// Watches the frames of a session for a flash: a large part of the screen brightening fast.
//
// Each frame's brightness is measured as the mean luma (0.299 R + 0.587 G + 0.114 B, 0 to 255) of the
// whole picture and of each of its four quarters. A flash is a rise of more than a third of the range
// (85) over the darkest of the same region in the frames of the last 100 ms of game clock: a few
// frames at any frame rate. A fade-in over a second or an explosion smaller than a quarter of the
// screen is not one; a white screen, or a quarter of it, within a tenth of a second is.
#include <cstdint>
#include <deque>
#include <string>

struct Replay;

class FlashWatch {
  public:
    static constexpr int kRegions = 5; // the whole frame, then its quarters
    static constexpr double kLimit = 255.0 / 3.0;
    static constexpr int kWindowMs = 100;

    // A frame (0xAARRGGBB, any size) drawn at ms of game clock. False once a flash was seen.
    bool look(const std::uint32_t* argb, int width, int height, int ms);
    // The first flash seen, in words ("" when none).
    const std::string& flash() const { return flash_; }
    // The largest rise seen in any region within the window, for the log.
    double largestRise() const { return largestRise_; }

  private:
    struct Frame {
        int ms;
        double brightness[kRegions];
    };
    std::deque<Frame> recent_;
    std::string flash_;
    double largestRise_ = 0;
};

// Plays the replay's inputs with every frame drawn, at an eighth of its width and height (a 64th of
// the pixels: brightness over a quarter of the screen needs no more), and watches them; the digests are
// not compared, since the frames differ from the recording's. Returns the frames watched.
int WatchReplayForFlashes(const Replay& replay, bool flashesShown, FlashWatch& watch);
