#pragma once
#include <memory>

#include "engine/object.h"

class TImage;

// The white flash of the missile's hit: the whole screen white, fading out within a second.
class tIntroFlash : public Object {
  public:
    float alpha = 1.0f;
    std::shared_ptr<TImage> defaultImg;

    tIntroFlash(); // loads the white picture and plays the explosion
    virtual void update();
    virtual void draw();
};
