#include "entities/effects.h"

#include <cmath>

#include "engine/engine.h"
#include "game/assets.h"
#include "game/battle.h"
#include "game/constants.h"
#include "game/game_clock.h"
#include "player/foo.h"

namespace {

void drawAt(tOnscreenObject& fx, float screenY) {
    SetDrawScale(2, 2);
    DrawFrame(fx.defaultImg, fx.getX(), screenY, fx.frame);
}

} // namespace

// --- tBigExplosion ---------------------------------------------------------------------------------

std::shared_ptr<tBigExplosion> tBigExplosion::Create(float x, float y) {
    auto fx = std::make_shared<tBigExplosion>();
    fx->startEffect(x, y, gfx::bigExplosion, 75);
    fx->setPicture(fx->defaultImg);
    battle::play(tSfx::explode);
    return fx;
}

void tBigExplosion::update() {
    stepEffect();
}

void tBigExplosion::draw() {
    drawAt(*this, y);
} // the world y: no vertical shake

// --- tEgg --------------------------------------------------------------------------------------------

std::shared_ptr<tEgg> tEgg::Create(float x, float y) {
    auto fx = std::make_shared<tEgg>();
    fx->startEffect(x, y, gfx::egg, 60);
    fx->setPicture(fx->defaultImg);
    return fx;
}

void tEgg::update() {
    if (!stepEffect()) return;
    const std::shared_ptr<tFoo> larva = getPlayer();
    // A larva that died while still in the egg (its homebase was destroyed) stays dead: the egg
    // neither freezes nor frees it.
    const bool larvaAlive = larva && larva->state != states::DEAD;
    if (frame == kStunFrame && larvaAlive) larva->setStateStunned(0);
    if (frame >= (defaultImg ? defaultImg->FrameCount() : 0) && larvaAlive) larva->setStateIdle(0);
}

void tEgg::draw() {
    drawAt(*this, y);
}

// --- tBileSplash ---------------------------------------------------------------------------------------

std::shared_ptr<tBileSplash> tBileSplash::Create(float x, float y) {
    auto fx = std::make_shared<tBileSplash>();
    fx->startEffect(x, y, gfx::splash, 50);
    battle::play(tSfx::splat);
    return fx;
}

void tBileSplash::update() {
    stepEffect();
}

void tBileSplash::draw() {
    drawAt(*this, getY());
}

// --- tBulletHit ----------------------------------------------------------------------------------------

std::shared_ptr<tBulletHit> tBulletHit::Create(float x, float y) {
    auto fx = std::make_shared<tBulletHit>();
    fx->startEffect(x, y, gfx::bulletHit, 50);
    return fx;
}

void tBulletHit::update() {
    stepEffect();
}

void tBulletHit::draw() {
    drawAt(*this, getY());
}

// --- tHeartSpawner ---------------------------------------------------------------------------------------

std::shared_ptr<tHeartSpawner> tHeartSpawner::Create(float x, float y, int maxHearts,
                                                     std::shared_ptr<tOnscreenObject> owner) {
    auto fx = std::make_shared<tHeartSpawner>();
    fx->startEffect(x, y, nullptr, 80);
    fx->maxHearts = maxHearts;
    fx->owner = std::move(owner);
    return fx;
}

void tHeartSpawner::update() {
    if (owner) {
        x = owner->getXCenter();
        y = owner->getYCenter();
    }
    if (!timerReady(animTimer, animDelay)) return;
    battle::addFx(tHeart::Create(x, y));
    numHearts += 1;
    if (numHearts >= maxHearts) battle::removeFrom(&tProgram::fxList, this);
}

// --- tHeart ----------------------------------------------------------------------------------------------

std::shared_ptr<tHeart> tHeart::Create(float x, float y) {
    auto fx = std::make_shared<tHeart>();
    fx->x = x;
    fx->y = y;
    fx->defaultImg = gfx::heart;
    fx->dir = static_cast<float>(RandomInt(225, 315));
    fx->speed = static_cast<float>(RandomInt(60, 100));
    fx->lifeTimer = gameMillisecs() + 1500;
    return fx;
}

void tHeart::update() {
    if (timerReady(lifeTimer, 0) || speed < 0) {
        battle::removeFrom(&tProgram::fxList, this);
        return;
    }
    const double dt = Delta::Time();
    x = static_cast<float>(x + dt * CosDeg(dir) * speed);
    y = static_cast<float>(y + dt * SinDeg(dir) * speed);
    speed = static_cast<float>(speed - dt * speed);
}

void tHeart::draw() {
    SetDrawScale(2, 2);
    DrawFrame(defaultImg, getX(), getY(), 0);
}
