#pragma once
#include <memory>

#include "engine/object.h"

class TImage;
class tOnscreenObject;

// The radar strip at the bottom of the battle screen: buildings and units around the visible part of
// the battlefield as small marks by side and kind, or a picture message while the homebase leaves.
class tRadar : public Object {
  public:
    tRadar();

    float x = 162.0f;
    float y = 380.0f;
    float width = 316.0f;
    float height = 100.0f;
    float radarScale = 4.0f;
    float radarXOffset;
    float radarYOffset;
    float contactRadius = 7.0f;
    std::shared_ptr<TImage> retreatMessage; // loaded on first need; shared by take-off and victory

    void draw();
    float getDrawX(tOnscreenObject* object);
    float getDrawY(tOnscreenObject* object);
    // Whether a mark at radar x `dx` for an object at world y `worldY` lies inside the strip.
    bool isShown(float dx, float worldY) const;
};
