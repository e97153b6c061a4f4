#include "hud/bars.h"

#include "engine/engine.h"
#include "game/assets.h"

namespace {

void drawBar(const std::shared_ptr<TImage>& image, float x, float y, float value, float maximum,
             float length) {
    SetDrawScale(length, 2.0f);
    DrawFrame(image, x, y, 1);
    // A bar without a maximum has nothing to fill (rather than a division by zero).
    const float filled = maximum != 0 ? value / maximum * length : 0.0f;
    SetDrawScale(filled, 2.0f);
    DrawFrame(image, x, y, 0);
}

} // namespace

void tHealthBar::draw(float x, float y, float value, float maximum, float length) {
    drawBar(gfx::healthBars, x, y, value, maximum, length);
}

void tBatteryBar::draw(float x, float y, float value, float maximum, float length) {
    drawBar(gfx::batteryBar, x, y, value, maximum, length);
}
