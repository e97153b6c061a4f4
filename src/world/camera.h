#pragma once
#include <memory>

#include "engine/object.h"

class tOnscreenObject;

// The horizontal scroll. Follows the creature (or the homebase while it leaves) with an exponential
// ease: each pass closes 10 * dt of the remaining gap, snapping once within 3 pixels.
class tCamera : public Object {
  public:
    float xOffset = 0;    // world x of the screen's left edge
    float lastOffset = 0; // xOffset at the end of the previous update
    float halfWidth = 0;  // the followed object sits this far from the left edge
    float speed = 0;      // easing rate per second

    static std::shared_ptr<tCamera> Create();

    void update();
    float cameraSpeed();
    float getDistance();
    void resetOffset();

    // What the camera follows this pass: the homebase while it leaves, else the creature (or null).
    tOnscreenObject* followed();
};
