#include "intro/intro_flash.h"

#include "engine/engine.h"
#include "entities/onscreen_object.h"
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
    // The player's comfort setting covers this flash too: the screen does not turn white at all.
    if (!tOnscreenObject::flashesShown) return;
    SetDrawScale(2, 2);
    SetAlpha(alpha);
    DrawFrame(defaultImg, 0, 0, 0);
    SetAlpha(1.0f);
}
