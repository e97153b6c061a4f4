#include "entities/abductable.h"

#include "buildings/building.h"
#include "engine/engine.h"
#include "game/assets.h"
#include "game/battle.h"
#include "game/game_clock.h"
#include "hud/shake.h"
#include "player/weapon_effects.h"

void tAbductable::onDestroy(bool withAnims) {
    tActor::onDestroy(withAnims);
    if (isRadiated()) radiationBlast();
}

void tAbductable::resetVelocities() {
    xVel = 0;
    yVel = 0;
}

void tAbductable::increaseRadiation(int n) {
    radCurrent += n;
    if (isRadiated()) radCurrent = radMax;
}

std::string tAbductable::getName() const {
    return isRadiated() ? "Radioactive " + strName : strName; // shown in the player's words by the HUD
}

std::shared_ptr<TImage> tAbductable::getCurrentImg() const {
    return isRadiated() ? radImg : defaultImg;
}

void tAbductable::radiationBlast() {
    tShake::start(15, 400);
    battle::addFx(tFlakExplosionRad::Create(x, y - 8));
    battle::play(tSfx::explode);
    // The reach is the radiated flak explosion's frame width, not doubled.
    const float reach = gfx::flakExplosionRad ? static_cast<float>(gfx::flakExplosionRad->width) : 40.0f;
    blastAround(reach, reach, reach, reach);
}

void tAbductable::blastAround(float actorReachX, float actorReachY, float buildingReachX,
                              float buildingReachY) {
    if (!theProgram) return;
    const float damageDealt = static_cast<float>(radDamage);
    if (theProgram->actorList) {
        for (const std::shared_ptr<tActor>& actor : theProgram->actorList->typed<tActor>()) {
            if (actor.get() == this) continue;
            if (inRange(x, actor->x, actorReachX) && inRange(y, actor->y, actorReachY) &&
                actor->isDestructable())
                actor->damage(damageDealt);
        }
    }
    if (theProgram->buildingList) {
        for (const std::shared_ptr<tBuilding>& building : theProgram->buildingList->typed<tBuilding>()) {
            if (inRange(x, building->x, buildingReachX) && inRange(y, building->y, buildingReachY))
                building->damage(damageDealt);
        }
    }
}
