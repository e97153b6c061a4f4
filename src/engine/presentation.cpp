#include "engine/presentation.h"

#include <algorithm>
#include <cstdint>

ScreenRect FitBackBuffer(int drawableWidth, int drawableHeight, int bufferWidth, int bufferHeight) {
    if (drawableWidth <= 0 || drawableHeight <= 0 || bufferWidth <= 0 || bufferHeight <= 0) return {};
    ScreenRect rect;
    const int scale = std::min(drawableWidth / bufferWidth, drawableHeight / bufferHeight);
    if (scale >= 1) {
        rect.w = bufferWidth * scale;
        rect.h = bufferHeight * scale;
    } else if (std::int64_t(drawableWidth) * bufferHeight <= std::int64_t(drawableHeight) * bufferWidth) {
        rect.w = drawableWidth; // narrower than the buffer's proportions: the width decides
        rect.h = static_cast<int>(std::int64_t(drawableWidth) * bufferHeight / bufferWidth);
    } else {
        rect.h = drawableHeight;
        rect.w = static_cast<int>(std::int64_t(drawableHeight) * bufferWidth / bufferHeight);
    }
    if (rect.empty()) return {};
    rect.x = (drawableWidth - rect.w) / 2;
    rect.y = (drawableHeight - rect.h) / 2;
    return rect;
}

void FramePacer::setRate(double hz) {
    if (!(hz > 0)) hz = 60;
    _period = static_cast<std::int64_t>(1e9 / hz + 0.5);
}

std::int64_t FramePacer::goOnAt(std::int64_t now) const {
    if (_last < 0) return now;
    return std::max(now, _last + _period);
}
