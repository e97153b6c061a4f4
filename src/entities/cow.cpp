#include "entities/cow.h"

#include "engine/engine.h"
#include "engine/words.h"
#include "game/assets.h"
#include "game/battle.h"
#include "hud/shake.h"
#include "player/weapon_effects.h"

tCow::tCow() {
    radDamage = 500;
}

std::shared_ptr<tCow> tCow::Create(float x, float y, std::shared_ptr<tBuilding> spawner) {
    auto cow = std::make_shared<tCow>();
    cow->place(x, y, std::move(spawner), gfx::cow, gfx::cowGreen);
    cow->strName = TrMark("Cow");
    cow->hp = cow->hpMax = 1;
    cow->topSpeed = 10;
    cow->maxAccel = 80;
    cow->decelSpeed = 100;
    cow->patrolDistance = 800;
    cow->matterAward = 80;
    return cow;
}

void tCow::radiationBlast() {
    battle::play(tSfx::explode);
    tShake::start(20, 600);
    battle::addFx(tSuperFlakExplosionRad::Create(x, y - 16));
    // Actors within twice the radiated explosion's frame on each axis, buildings within one frame.
    const std::shared_ptr<TImage>& image = gfx::flakExplosionRad;
    const float w = image ? static_cast<float>(image->width) : 40.0f;
    const float h = image ? static_cast<float>(image->height) : 40.0f;
    blastAround(w * 2, h * 2, w, h);
}
