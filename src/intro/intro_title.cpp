#include "intro/intro_title.h"

#include "engine/engine.h"
#include "game/game_clock.h"

tIntroTitle::tIntroTitle() {
    defaultImg = TImage::Load("incbin::title.png", 0);
    CenterImageAnchor(defaultImg);
    width = 470;
    height = 112;
    x = 320.0f;
    y = 240.0f + height;
}

void tIntroTitle::update() {
    if (alpha < 1.0f) {
        alpha += static_cast<float>(1.0 * Delta::Time());
        if (alpha > 1.0f) alpha = 1.0f;
    }
}

void tIntroTitle::draw() {
    SetDrawScale(2, 2);
    SetAlpha(alpha);
    DrawFrame(defaultImg, x, y, 0);
    SetAlpha(1.0f);
}
