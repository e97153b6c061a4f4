#include "entities/person.h"

#include <cmath>

#include "buildings/building.h"
#include "engine/engine.h"
#include "engine/words.h"
#include "game/assets.h"
#include "game/battle.h"
#include "game/game_clock.h"

// --- tPerson -----------------------------------------------------------------------------------------

tPerson::tPerson() {
    // Facing right until its first step: a facing of 0 would draw the sprite at zero width (a person
    // caught by the beam in the frame it appeared would be invisible in the cage).
    facing = direction::FACE_RIGHT;
    dir = 270;
    matterballs = 0;
    animDelay = 200;
    animTimer = gameMillisecs() + 200;
}

void tPerson::place(float px, float py, std::shared_ptr<tBuilding> building,
                    const std::shared_ptr<TImage>& image, const std::shared_ptr<TImage>& greenImage) {
    x = px;
    y = py;
    spawner = std::move(building);
    defaultImg = image;
    radImg = greenImage;
    width = image ? image->width * 2.0f : 0.0f;
    height = image ? image->height * 2.0f : 0.0f;
}

void tPerson::draw() {
    if (!isOnscreen()) return;
    SetDrawScale(static_cast<float>(facing * 2), 2);
    DrawFrame(getCurrentImg(), getX(), getY(), getFrame());
}

void tPerson::onDestroy(bool withAnims) {
    tAbductable::onDestroy(withAnims);
    if (withAnims && !isRadiated()) battle::addFx(tPersonDeath::Create(x, y));
}

void tPerson::resetVelocities() {
    tAbductable::resetVelocities();
    ySpeed = 0;
}

void tPerson::setStateFalling() {
    tAbductable::setStateFalling();
    resetVelocities();
}

void tPerson::doStateFalling() {
    const double dt = Delta::Time();
    ySpeed = static_cast<float>(ySpeed - dt * gravity);
    y = static_cast<float>(y + dt * SinDeg(dir) * ySpeed);
    if (y > groundLevel()) {
        // Landing faster than 150 px/s, or flung sideways faster than 120 px/s, kills.
        if (ySpeed < -150 || xVel > 120 || xVel < -120) {
            destroy();
        } else {
            setStateIdle(0);
        }
    }
}

// --- tCivilian ---------------------------------------------------------------------------------------

std::shared_ptr<tCivilian> tCivilian::Create(float x, float y, std::shared_ptr<tBuilding> spawner) {
    auto civilian = std::make_shared<tCivilian>();
    civilian->place(x, y, std::move(spawner), gfx::civilian, gfx::civilianGreen);
    civilian->strName = TrMark("Civilian");
    civilian->hp = civilian->hpMax = 1;
    civilian->topSpeed = static_cast<float>(RandomInt(20, 30));
    civilian->maxAccel = 100;
    civilian->decelSpeed = 100;
    civilian->patrolDistance = 1200;
    civilian->matterAward = 25;
    civilian->radDamage = 225;
    return civilian;
}

// The beat of tActor without checkFire: civilians (and cows) never shoot.
void tCivilian::executePatrol() {
    if (std::abs(x - targetX) < 2)
        targetX = x > anchorX ? anchorX - patrolDistance : anchorX + patrolDistance;
    if (targetX > x) {
        goRight();
    } else {
        goLeft();
    }
}

// --- tSoldier ------------------------------------------------------------------------------------------

std::shared_ptr<tSoldier> tSoldier::Create(float x, float y, std::shared_ptr<tBuilding> spawner) {
    auto soldier = std::make_shared<tSoldier>();
    soldier->place(x, y, std::move(spawner), gfx::soldier, gfx::soldierGreen);
    soldier->strName = TrMark("Soldier");
    soldier->hp = soldier->hpMax = 1;
    soldier->topSpeed = static_cast<float>(RandomInt(20, 30));
    soldier->maxAccel = 100;
    soldier->decelSpeed = 100;
    soldier->patrolDistance = 160;
    soldier->matterAward = 10;
    soldier->radDamage = 225;
    soldier->fireDelay = soldier->getFireDelay();
    soldier->fireTimer = gameMillisecs() + soldier->fireDelay;
    return soldier;
}

int tSoldier::getFireDelay() {
    return RandomInt(2000, 5000);
}

// --- tPersonDeath ----------------------------------------------------------------------------------------

std::shared_ptr<tPersonDeath> tPersonDeath::Create(float x, float y) {
    auto fx = std::make_shared<tPersonDeath>();
    fx->startEffect(x, y, gfx::personDeath, 80);
    fx->lifeTimer = gameMillisecs() + 1500;
    return fx;
}

void tPersonDeath::update() {
    const int lastFrame = defaultImg ? defaultImg->FrameCount() - 1 : 0;
    if (timerReady(animTimer, animDelay) && frame < lastFrame) frame += 1;
    if (timerReady(lifeTimer, 0)) battle::removeFrom(&tProgram::fxList, this);
}

void tPersonDeath::draw() {
    SetDrawScale(2, 2);
    DrawFrame(defaultImg, getX(), getY(), frame);
}

void tPersonDeath::resetTimers() {
    tOnscreenObject::resetTimers();
    shiftByPause(lifeTimer);
}
