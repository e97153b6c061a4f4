#include "player/laser.h"

#include <cmath>

#include "buildings/building.h"
#include "engine/engine.h"
#include "entities/actor.h"
#include "game/assets.h"
#include "game/battle.h"
#include "game/constants.h"
#include "game/game_clock.h"
#include "player/foo.h"

// --- tLaser ----------------------------------------------------------------------------------------------

std::shared_ptr<tLaser> tLaser::Create(tFoo* owner, float x, float y) {
    auto laser = std::make_shared<tLaser>();
    laser->owner = owner;
    laser->x = x;
    laser->y = y;
    laser->defaultImg = gfx::laser;
    laser->ownerOffset = owner ? std::abs(owner->y - y) : 0.0f;
    laser->hitSpawner = 0;
    laser->baseDamage = 16;
    laser->faction = factions::ALLY;
    laser->checkCollision(); // the first tick is immediate
    laser->spinnerEffect = tLaserSpinner::Create(x, laser->getLaserScale(), laser.get());
    return laser;
}

void tLaser::update() {
    if (owner) {
        x = owner->x;
        y = owner->y - ownerOffset;
    }
    checkCollision();
    if (spinnerEffect) spinnerEffect->update();
}

bool tLaser::checkCollision() {
    if (!timerReady(hitSpawner, 100)) return lastHit != nullptr;
    lastHit.reset();
    const float ownerY = owner ? owner->y : y;
    float bestTop = 0;
    // The highest candidate (smallest top) under the beam, lower than the creature's feet.
    auto consider = [&](const std::shared_ptr<tOnscreenObject>& c) {
        if (!(c->x - c->width / 2 < x && x < c->x + c->width / 2) || !(c->y > ownerY) ||
            c->faction == faction)
            return;
        const float top = c->y - c->height;
        if (!lastHit || top < bestTop) {
            lastHit = c;
            bestTop = top;
        }
    };
    if (theProgram && theProgram->buildingList) {
        for (const std::shared_ptr<tOnscreenObject>& b : theProgram->buildingList->typed<tOnscreenObject>())
            consider(b);
    }
    if (theProgram && theProgram->actorList) {
        for (const std::shared_ptr<tActor>& a : theProgram->actorList->typed<tActor>()) {
            if (a.get() == static_cast<tActor*>(owner) || !a->destructable) continue;
            consider(a);
        }
    }
    if (lastHit) lastHit->damage(static_cast<float>(baseDamage));
    if (owner && !owner->batteryDischarge(25)) owner->stopLaser();
    battle::addFx(tLaserHit::Create(x, y + getLaserScale()));
    return lastHit != nullptr;
}

float tLaser::getLaserScale() {
    if (lastHit && owner) return (lastHit->y - lastHit->height / 3) - owner->y;
    return groundLevel() - y + 20;
}

float tLaser::getX() {
    return x - cameraXOffset();
}

void tLaser::draw() {
    SetDrawScale(2, getLaserScale());
    DrawFrame(defaultImg, getX(), getY(), 0);
    if (spinnerEffect) spinnerEffect->draw();
}

// --- tLaserHit ---------------------------------------------------------------------------------------------

std::shared_ptr<tLaserHit> tLaserHit::Create(float x, float y) {
    auto spark = std::make_shared<tLaserHit>();
    spark->x = x;
    spark->y = y;
    spark->defaultImg = gfx::laserHit;
    spark->sparkSpeed = 100;
    spark->lifeTimer = gameMillisecs() + 500;
    spark->angle = static_cast<float>(RandomReal(240, 300));
    return spark;
}

void tLaserHit::update() {
    const double dt = Delta::Time();
    x = static_cast<float>(x + CosDeg(angle) * sparkSpeed * dt);
    y = static_cast<float>(y + SinDeg(angle) * sparkSpeed * dt);
    if (timerReady(lifeTimer, 0)) battle::removeFrom(&tProgram::fxList, this);
}

void tLaserHit::draw() {
    SetDrawScale(2, 2);
    DrawFrame(defaultImg, getX(), getY(), 0);
}

void tLaserHit::resetTimers() {
    tOnscreenObject::resetTimers();
    shiftByPause(lifeTimer);
}

// --- tLaserSpinner
// ------------------------------------------------------------------------------------------

std::shared_ptr<tLaserSpinner> tLaserSpinner::Create(float x, float y, tLaser* owner) {
    auto spinner = std::make_shared<tLaserSpinner>();
    spinner->x = x;
    spinner->y = y;
    spinner->owner = owner;
    spinner->defaultImg = gfx::spinner;
    spinner->frame = 0;
    spinner->animDelay = 80;
    spinner->animTimer = gameMillisecs() + 80;
    return spinner;
}

void tLaserSpinner::update() {
    if (owner) {
        x = owner->x;
        y = owner->getLaserScale() + owner->y;
    }
    if (timerReady(animTimer, animDelay)) {
        frame += 1;
        const int frames = defaultImg ? defaultImg->FrameCount() : 0;
        if (frame >= frames) frame = 0;
    }
}

void tLaserSpinner::draw() {
    SetDrawScale(2, 2);
    DrawFrame(defaultImg, getX(), getY(), frame);
}
