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

FillPlan FillBackBuffer(int drawableWidth, int drawableHeight, int bufferWidth, int bufferHeight) {
    if (drawableWidth <= 0 || drawableHeight <= 0 || bufferWidth <= 0 || bufferHeight <= 0) return {};
    FillPlan plan;
    ScreenRect& rect = plan.rect;
    const std::int64_t dw = drawableWidth, dh = drawableHeight, bw = bufferWidth, bh = bufferHeight;
    if (dw * bh <= dh * bw) { // narrower than the buffer's proportions: the width decides
        rect.w = drawableWidth;
        rect.h = static_cast<int>((dw * bh * 2 + bw) / (bw * 2)); // rounded to the nearest pixel
    } else {
        rect.h = drawableHeight;
        rect.w = static_cast<int>((dh * bw * 2 + bh) / (bh * 2));
    }
    if (rect.empty()) return {};
    rect.x = (drawableWidth - rect.w) / 2;
    rect.y = (drawableHeight - rect.h) / 2;
    // The smallest whole number whose picture is at least the rectangle's size.
    const int byWidth = static_cast<int>((rect.w + bw - 1) / bw);
    const int byHeight = static_cast<int>((rect.h + bh - 1) / bh);
    plan.prescale = std::max({byWidth, byHeight, 1});
    return plan;
}

void FramePacer::setRate(double hz) {
    if (!(hz > 0)) hz = 60;
    _period = static_cast<std::int64_t>(1e9 / hz + 0.5);
}

void FramePacer::setVsyncWanted(bool wanted) {
    if (wanted == _vsyncWanted) return;
    _vsyncWanted = wanted;
    _presentsWait = false;
    _presentsSeenQuick = false;
    _quickPresents = 0;
}

std::int64_t FramePacer::presentAt(std::int64_t now) const {
    if (_presentsWait || _lastReturn < 0) return now;
    return std::max(now, _lastReturn + _period);
}

void FramePacer::presented(std::int64_t called, std::int64_t returned) {
    // Presents that return sooner than three quarters of a refresh after the one before, three in a row
    // (one or two may, where the driver had room for frames queued ahead), did not wait for the display.
    // Otherwise a present that held the loop for an eighth of a refresh did: copying the picture takes far
    // less. Once presents were seen not to wait, only one that held the loop half a refresh counts.
    constexpr int kQuickPresentsToStop = 3;
    const bool quick = _presentsWait && _lastReturn >= 0 && returned - _lastReturn < _period * 3 / 4;
    if (quick) {
        if (++_quickPresents >= kQuickPresentsToStop) {
            _presentsWait = false;
            _presentsSeenQuick = true;
        }
    } else {
        _quickPresents = 0;
        if (returned - called >= (_presentsSeenQuick ? _period / 2 : _period / 8)) _presentsWait = true;
    }
    _lastReturn = returned;
}
