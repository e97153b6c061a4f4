#include "world/camera.h"

#include <cmath>

#include "entities/onscreen_object.h"
#include "game/constants.h"
#include "game/game_clock.h"
#include "game/program.h"
#include "hud/shake.h"

std::shared_ptr<tCamera> tCamera::Create() {
    auto camera = std::make_shared<tCamera>();
    camera->xOffset = 0;
    camera->lastOffset = 0;
    camera->halfWidth = 320;
    camera->speed = 10;
    return camera;
}

tOnscreenObject* tCamera::followed() {
    return theProgram ? theProgram->focusObject() : nullptr;
}

float tCamera::getDistance() {
    tOnscreenObject* target = followed();
    if (!target) return 0;
    return halfWidth - (target->x - xOffset - tShake::xOffset);
}

float tCamera::cameraSpeed() {
    return getDistance() * speed;
}

void tCamera::update() {
    if (theProgram && theProgram->state == gamestate::MAP) return;
    tOnscreenObject* target = followed();
    if (!target) return;
    const float goal = target->x - halfWidth;
    if (std::fabs(goal - lastOffset) <= 3) {
        xOffset = goal; // close enough: snap (the shake does not count here)
    } else {
        // Each pass closes speed * dt of the gap; the shake offset biases the target meanwhile.
        xOffset = static_cast<float>(lastOffset - cameraSpeed() * Delta::Time());
    }
    lastOffset = xOffset;
}

void tCamera::resetOffset() {
    lastOffset = 0;
    xOffset = 0;
}
