#include "player/weapon.h"

#include "engine/engine.h"
#include "entities/actor.h"
#include "game/battle.h"

void tWeapon::draw() {
    SetDrawScale(2, 2);
    DrawFrame(defaultImg, getX(), getY(), 0);
}

void tWeapon::disengage() {
    battle::removeFrom(&tProgram::weaponList, this);
}

bool tWeapon::hitActor(tActor* actor) {
    return actor && actor->isHitState();
}
