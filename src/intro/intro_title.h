#pragma once
#include <memory>

#include "entities/onscreen_object.h"

// The game's title, fading in over one second once the formation has come to rest.
class tIntroTitle : public tKinded<tIntroTitle, tOnscreenObject, Kind::IntroTitle> {
  public:
    tIntroTitle();

    float alpha = 0;

    void update() override;
    void draw() override;
};
