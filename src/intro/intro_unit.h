#pragma once
#include <memory>

#include "entities/onscreen_object.h"

// A ship of the invaders' formation in the intro, blinking between its two frames.
class tIntroUnit : public tKinded<tIntroUnit, tOnscreenObject, Kind::IntroUnit> {
  public:
    int trellanType = 0; // a constTypes value

    static std::shared_ptr<tIntroUnit> Create(int type, float x, float y);
    void update() override;
    void draw() override;
    virtual void animate();
};
