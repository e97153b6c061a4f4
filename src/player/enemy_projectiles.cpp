#include "player/enemy_projectiles.h"

#include "engine/engine.h"
#include "entities/actor.h"
#include "entities/effects.h"
#include "game/assets.h"
#include "game/battle.h"
#include "game/game_clock.h"

// --- tTankShot ---------------------------------------------------------------------------------------

std::shared_ptr<tTankShot> tTankShot::Create(float x, float y, float dir) {
    auto shot = std::make_shared<tTankShot>();
    shot->x = x;
    shot->y = y;
    shot->setPicture(gfx::tankShot);
    shot->dir = dir;
    shot->speed = 300;
    shot->lifeTime = gameMillisecs() + 3000;
    shot->baseDamage = 15;
    battle::play(tSfx::tankBullet);
    return shot;
}

void tTankShot::update() {
    if (y < 0 || y > groundLevel() || timerReady(lifeTime, 0)) {
        selfDestruct();
        return;
    }
    tOnscreenObject* larva = theProgram ? theProgram->playerObject() : nullptr;
    tActor* larvaActor = objectAs<tActor>(larva);
    if (larva && checkRegionCollision(larva) && larvaActor && larvaActor->isHitState()) {
        collideWithTarget(larva);
        return;
    }
    tOnscreenObject* base = theProgram ? theProgram->homebaseObject() : nullptr;
    if (base && checkRegionCollision(base)) {
        collideWithTarget(base);
        return;
    }
    const double dt = Delta::Time();
    x = static_cast<float>(x + CosDeg(dir) * speed * dt);
    y = static_cast<float>(y + SinDeg(dir) * speed * dt);
}

void tTankShot::draw() {
    SetDrawScale(2, 2);
    DrawFrame(defaultImg, getX(), getY(), 0);
}

void tTankShot::resetTimers() {
    tWeapon::resetTimers();
    shiftByPause(lifeTime);
}

void tTankShot::collideWithTarget(tOnscreenObject* target) {
    if (target) {
        target->damage(static_cast<float>(baseDamage));
        if (tActor* actor = objectAs<tActor>(target)) actor->setStateKnockback(dir, 100);
    }
    selfDestruct();
}

void tTankShot::selfDestruct() {
    battle::addFx(tTankShotHit::Create(x, y));
    battle::removeFrom(&tProgram::weaponList, this);
}

// --- tBullet -------------------------------------------------------------------------------------------

tBullet::tBullet() {
    setPicture(gfx::bullet);
    speed = 300;
    lifeTime = gameMillisecs() + 2000;
    baseDamage = 3;
}

std::shared_ptr<tBullet> tBullet::Create(float x, float y, float dir) {
    auto shot = std::make_shared<tBullet>();
    shot->x = x;
    shot->y = y;
    shot->dir = dir;
    battle::play(tSfx::bullet);
    return shot;
}

void tBullet::collideWithTarget(tOnscreenObject* target) {
    if (target) target->damage(static_cast<float>(baseDamage));
    selfDestruct();
}

void tBullet::selfDestruct() {
    battle::removeFrom(&tProgram::weaponList, this);
    battle::addFx(tBulletHit::Create(x, y));
}

// --- tTankShotHit ---------------------------------------------------------------------------------------

std::shared_ptr<tTankShotHit> tTankShotHit::Create(float x, float y) {
    auto fx = std::make_shared<tTankShotHit>();
    fx->startEffect(x, y, gfx::tankShotHit, 50);
    return fx;
}

void tTankShotHit::update() {
    stepEffect();
}

void tTankShotHit::draw() {
    SetDrawScale(2, 2);
    DrawFrame(defaultImg, getX(), getY(), frame);
}
