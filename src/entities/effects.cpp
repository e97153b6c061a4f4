#include "entities/effects.h"

#include <cmath>

#include "engine/engine.h"
#include "game/assets.h"
#include "game/battle.h"
#include "game/constants.h"
#include "game/game_clock.h"
#include "player/foo.h"

namespace {

int frameCount(const std::shared_ptr<TImage>& image) {
    return image ? image->FrameCount() : 0;
}

// Common start of an effect: position, picture, frame 0, the first step one frame time from now.
void startEffect(tOnscreenObject& fx, float x, float y, const std::shared_ptr<TImage>& image, int frameTime) {
    fx.x = x;
    fx.y = y;
    fx.defaultImg = image;
    fx.frame = 0;
    fx.animDelay = frameTime;
    fx.animTimer = gameMillisecs() + frameTime;
}

void leaveFx(tOnscreenObject* fx) {
    battle::removeFrom(&tProgram::fxList, fx);
}

void drawAt(tOnscreenObject& fx, float screenY) {
    SetDrawScale(2, 2);
    DrawFrame(fx.defaultImg, fx.getX(), screenY, fx.frame);
}

} // namespace

// --- tBigExplosion ---------------------------------------------------------------------------------

std::shared_ptr<tBigExplosion> tBigExplosion::Create(float x, float y) {
    auto fx = std::make_shared<tBigExplosion>();
    startEffect(*fx, x, y, gfx::bigExplosion, 75);
    fx->setPicture(fx->defaultImg);
    battle::play(tSfx::explode);
    return fx;
}

void tBigExplosion::update() {
    if (!timerReady(animTimer, animDelay)) return;
    frame += 1;
    if (frame >= frameCount(defaultImg)) leaveFx(this);
}

void tBigExplosion::draw() {
    drawAt(*this, y);
} // the world y: no vertical shake

// --- tEgg --------------------------------------------------------------------------------------------

std::shared_ptr<tEgg> tEgg::Create(float x, float y) {
    auto fx = std::make_shared<tEgg>();
    startEffect(*fx, x, y, gfx::egg, 60);
    fx->setPicture(fx->defaultImg);
    return fx;
}

void tEgg::update() {
    if (!timerReady(animTimer, animDelay)) return;
    frame += 1;
    const std::shared_ptr<tFoo> larva = getPlayer();
    // A larva that died while still in the egg (its homebase was destroyed) stays dead: the egg
    // neither freezes nor frees it.
    const bool larvaAlive = larva && larva->state != states::DEAD;
    if (frame == kStunFrame && larvaAlive) larva->setStateStunned(0);
    if (frame >= frameCount(defaultImg)) {
        if (larvaAlive) larva->setStateIdle(0);
        leaveFx(this);
    }
}

void tEgg::draw() {
    drawAt(*this, y);
}

// --- tBileSplash ---------------------------------------------------------------------------------------

std::shared_ptr<tBileSplash> tBileSplash::Create(float x, float y) {
    auto fx = std::make_shared<tBileSplash>();
    startEffect(*fx, x, y, gfx::splash, 50);
    battle::play(tSfx::splat);
    return fx;
}

void tBileSplash::update() {
    if (!timerReady(animTimer, animDelay)) return;
    frame += 1;
    if (frame > frameCount(defaultImg) - 1) leaveFx(this);
}

void tBileSplash::draw() {
    drawAt(*this, getY());
}

// --- tBulletHit ----------------------------------------------------------------------------------------

std::shared_ptr<tBulletHit> tBulletHit::Create(float x, float y) {
    auto fx = std::make_shared<tBulletHit>();
    startEffect(*fx, x, y, gfx::bulletHit, 50);
    fx->animSpeed = 50;
    return fx;
}

void tBulletHit::update() {
    if (!timerReady(animTimer, animSpeed)) return;
    frame += 1;
    if (frame > frameCount(defaultImg) - 1) {
        frame = 0;
        leaveFx(this);
    }
}

void tBulletHit::draw() {
    drawAt(*this, getY());
}

// --- tHeartSpawner ---------------------------------------------------------------------------------------

std::shared_ptr<tHeartSpawner> tHeartSpawner::Create(float x, float y, int maxHearts,
                                                     std::shared_ptr<tOnscreenObject> owner) {
    auto fx = std::make_shared<tHeartSpawner>();
    startEffect(*fx, x, y, nullptr, 80);
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
    if (numHearts >= maxHearts) leaveFx(this);
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
        leaveFx(this);
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
