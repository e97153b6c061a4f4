#include "hud/shake.h"

#include "engine/engine.h"
#include "game/game_clock.h"

void tShake::start(int newMagnitude, int newDuration) {
    const int now = Millis();
    stepDelay = 50.0f;
    duration = static_cast<float>(newDuration);
    nextStepTime = MillisAfter(now, TruncInt(stepDelay));
    endTime = MillisAfter(now, newDuration);
    magnitude = static_cast<float>(newMagnitude) * scale;
    // The amplitude dies away linearly over the duration; a shake without duration has no steps.
    const float steps = duration / stepDelay;
    decay = steps > 0 ? magnitude / steps : magnitude;
    xOffset = static_cast<float>(RandomReal(-magnitude, magnitude));
    yOffset = static_cast<float>(RandomReal(-magnitude, magnitude));
}

void tShake::update() {
    const int now = Millis();
    if (MillisBetween(now, endTime) <= 0) {
        xOffset = 0;
        yOffset = 0;
        return;
    }
    if (MillisBetween(now, nextStepTime) <= 0) {
        magnitude -= decay;
        xOffset = static_cast<float>(RandomReal(-magnitude, magnitude));
        yOffset = static_cast<float>(RandomReal(-magnitude, magnitude));
        nextStepTime = MillisAfter(now, TruncInt(stepDelay));
    }
}

void tShake::resetTimers() {
    // The shake runs on the engine clock: only the pause's length is added, across the counter's wrap.
    shiftByPause(nextStepTime);
    shiftByPause(endTime);
}
