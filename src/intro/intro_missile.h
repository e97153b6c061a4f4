#pragma once
#include <memory>

#include "entities/onscreen_object.h"

// The missile that rises from the bottom of the screen into the formation.
class tIntroMissile : public tKinded<tIntroMissile, tOnscreenObject, Kind::IntroMissile> {
  public:
    tIntroMissile();

    static std::shared_ptr<tIntroMissile> Create(float x, float y);
    void update() override;
    void draw() override;
};
