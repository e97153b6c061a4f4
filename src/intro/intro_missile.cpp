#include "intro/intro_missile.h"

#include "engine/engine.h"
#include "game/game_clock.h"

tIntroMissile::tIntroMissile() {
    defaultImg = TImage::Load("incbin::nukeMissile.png", 0);
    CenterImageAnchor(defaultImg);
    width = 22;
    height = 36;
}

std::shared_ptr<tIntroMissile> tIntroMissile::Create(float x, float y) {
    auto missile = std::make_shared<tIntroMissile>();
    missile->x = x;
    missile->y = y;
    return missile;
}

void tIntroMissile::update() {
    y -= static_cast<float>(200.0 * Delta::Time());
}

void tIntroMissile::draw() {
    SetDrawScale(2, 2);
    DrawFrame(defaultImg, x, y, 0);
}
