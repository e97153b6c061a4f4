#include "hud/shake.h"

#include "engine/engine.h"
#include "game/game_clock.h"
#include "game/program.h"

void tShake::start(int newMagnitude, int newDuration) {
    const int now = Millis();
    stepDelay = 50.0f;
    duration = static_cast<float>(newDuration);
    nextStepTime = now + TruncInt(stepDelay);
    endTime = static_cast<float>(now) + duration;
    magnitude = static_cast<float>(newMagnitude);
    // The amplitude dies away linearly over the duration; a shake without duration has no steps.
    const float steps = duration / stepDelay;
    decay = steps > 0 ? magnitude / steps : magnitude;
    xOffset = static_cast<float>(RandomReal(-magnitude, magnitude));
    yOffset = static_cast<float>(RandomReal(-magnitude, magnitude));
}

void tShake::update() {
    const int now = Millis();
    if (!(endTime > static_cast<float>(now))) {
        xOffset = 0;
        yOffset = 0;
        return;
    }
    if (nextStepTime <= now) {
        magnitude -= decay;
        xOffset = static_cast<float>(RandomReal(-magnitude, magnitude));
        yOffset = static_cast<float>(RandomReal(-magnitude, magnitude));
        nextStepTime = now + TruncInt(stepDelay);
    }
}

void tShake::resetTimers() {
    // The shake runs on the engine clock; the game clock's start offset cancels out here and only the
    // pause's length is added.
    const int pauseTime = theProgram ? theProgram->pauseTime : 0;
    nextStepTime = gameMillisecs() + (nextStepTime - pauseTime);
    endTime = static_cast<float>(gameMillisecs()) + (endTime - static_cast<float>(pauseTime));
}
