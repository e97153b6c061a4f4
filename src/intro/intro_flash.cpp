#include "intro/intro_flash.h"

#include "engine/engine.h"
#include "game/assets.h"
#include "game/battle.h"
#include "game/game_clock.h"

tIntroFlash::tIntroFlash() {
    defaultImg = TImage::Load("incbin::whitePixel.png", 0);
    battle::play(tSfx::introExplosion);
}

void tIntroFlash::update() {
    alpha -= static_cast<float>(1.0 * Delta::Time());
}

void tIntroFlash::draw() {
    SetDrawScale(2, 2);
    SetAlpha(alpha);
    DrawFrame(defaultImg, 0, 0, 0);
    SetAlpha(1.0f);
}
