#pragma once
#include <memory>

#include "entities/onscreen_object.h"

// The one ship left after the flash, tumbling away to the lower right: 40 degrees below the
// horizontal at 100 pixels a second, spinning 40 degrees a second.
class tIntroSurvivor : public tKinded<tIntroSurvivor, tOnscreenObject, Kind::IntroSurvivor> {
  public:
    tIntroSurvivor();

    float rot = 0;

    static std::shared_ptr<tIntroSurvivor> Create(float x, float y);
    void update() override;
    void draw() override;
};
