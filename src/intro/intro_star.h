#pragma once
#include <memory>

#include "entities/onscreen_object.h"

// A star of the intro's and the outro's sky. Brighter stars rise faster.
class tIntroStar : public tKinded<tIntroStar, tOnscreenObject, Kind::IntroStar> {
  public:
    tIntroStar();

    float alpha = 0;
    float speed = 0; // pixels per second upwards

    static std::shared_ptr<tIntroStar> Create(float x, float y);
    void update() override;
    void draw() override;
};
