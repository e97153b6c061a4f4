#include "driver/flash_watch.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "driver/replay.h"
#include "engine/engine.h"
#include "entities/onscreen_object.h"

namespace {

const char* const kRegionNames[FlashWatch::kRegions] = {"the whole screen", "the top left quarter",
                                                        "the top right quarter", "the bottom left quarter",
                                                        "the bottom right quarter"};

// In thousandths, so a frame's sums stay whole numbers.
std::int64_t luma(std::uint32_t p) {
    return 299 * ((p >> 16) & 0xFF) + 587 * ((p >> 8) & 0xFF) + 114 * (p & 0xFF);
}

constexpr int kSampling = 8;

} // namespace

bool FlashWatch::look(const std::uint32_t* argb, int width, int height, int ms) {
    Frame frame{ms, {}};
    std::int64_t sums[kRegions] = {};
    const int halfW = width / 2, halfH = height / 2;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const std::int64_t l = luma(argb[static_cast<std::size_t>(y) * width + x]);
            sums[0] += l;
            sums[1 + (y >= halfH ? 2 : 0) + (x >= halfW ? 1 : 0)] += l;
        }
    }
    const double whole = 1000.0 * width * height;
    frame.brightness[0] = static_cast<double>(sums[0]) / whole;
    for (int r = 1; r < kRegions; ++r)
        frame.brightness[r] = static_cast<double>(sums[r]) / (whole / 4);

    while (!recent_.empty() && recent_.front().ms < ms - kWindowMs)
        recent_.pop_front();
    for (int r = 0; r < kRegions && flash_.empty(); ++r) {
        double darkest = frame.brightness[r];
        for (const Frame& before : recent_)
            darkest = std::min(darkest, before.brightness[r]);
        const double rise = frame.brightness[r] - darkest;
        largestRise_ = std::max(largestRise_, rise);
        if (rise > kLimit) {
            char text[160];
            std::snprintf(text, sizeof text, "at %.3f s %s brightened by %.0f of 255 within %d ms",
                          ms / 1000.0, kRegionNames[r], rise, kWindowMs);
            flash_ = text;
        }
    }
    recent_.push_back(frame);
    return flash_.empty();
}

int WatchReplayForFlashes(const Replay& replay, bool flashesShown, FlashWatch& watch) {
    const int width = 640 / kSampling, height = 480 / kSampling; // the back buffer's size
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height);
    int frames = 0;
    PassInput input = recordedInput(replay);
    input.frameDrawn = [&](int ms) {
        if (!watch.flash().empty() || !ReadBackBuffer(0, 0, width, height, pixels.data())) return;
        watch.look(pixels.data(), width, height, ms);
        ++frames;
    };
    const bool wasShown = tOnscreenObject::flashesShown;
    tOnscreenObject::flashesShown = flashesShown;
    SetFrameSampling(kSampling);
    playSession(replay.entry, replay.seed, input,
                [&](const Digest&, const auto&) { return watch.flash().empty(); });
    SetFrameSampling(1);
    tOnscreenObject::flashesShown = wasShown;
    return frames;
}
