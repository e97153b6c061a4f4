#include "player/abduction_beam.h"

#include <cmath>

#include "engine/engine.h"
#include "entities/abductable.h"
#include "game/assets.h"
#include "game/battle.h"
#include "game/game_clock.h"
#include "hud/beam_status.h"
#include "hud/indicators.h"
#include "player/foo.h"

std::shared_ptr<tAbductionBeam> tAbductionBeam::Create(tFoo* owner, float x, float y) {
    auto beam = std::make_shared<tAbductionBeam>();
    beam->owner = owner;
    beam->x = x;
    beam->y = y;
    beam->defaultImg = gfx::abductoBeam;
    beam->ownerOffset = owner ? std::abs(owner->y - y) : 0.0f;
    beam->yVel = 0;
    beam->speed = 200;
    beam->checkCollision(); // a victim under the creature is caught on the first frame
    return beam;
}

void tAbductionBeam::update() {
    if (owner) {
        x = owner->x;
        y = owner->y - ownerOffset;
    }
    if (!lastHit) {
        checkCollision();
        return;
    }
    if (theProgram && theProgram->abductionBeamStatus)
        theProgram->abductionBeamStatus->updateText(lastHit->getName());
    reelPersonIn();
}

bool tAbductionBeam::checkCollision() {
    if (!timerReady(hitTimer, 100)) return false;
    lastHit.reset();
    bool found = false;
    if (theProgram && theProgram->actorList) {
        for (const std::shared_ptr<tAbductable>& a : theProgram->actorList->typed<tAbductable>()) {
            if (!(a->x - a->width / 2 < x && x < a->x + a->width / 2) || !(y < a->y)) continue;
            found = true;
            // The highest one (nearest the creature) wins; the first found keeps a tie.
            if (!lastHit || a->y < lastHit->y) lastHit = a;
        }
    }
    if (found) {
        lastHit->setStateStunned(0);
        lastHit->resetVelocities();
        animDelay = 50;
        animTimer = gameMillisecs() + 50;
    }
    return found;
}

void tAbductionBeam::reelPersonIn() {
    if (!lastHit || !owner) return;
    if (timerReady(radTimer, radDelay) && lastHit->radCurrent < lastHit->radMax) {
        lastHit->increaseRadiation(5);
        if (lastHit->radCurrent >= lastHit->radMax)
            battle::addFx(tRadiationIndicator::Create(lastHit->x, lastHit->y, lastHit));
    }
    lastHit->x = x;
    // Moving sideways holds the catch where it is and restarts the reel from rest.
    if (owner->isInXMotion != 0) {
        yVel = 0;
        return;
    }
    const double dt = Delta::Time();
    yVel = static_cast<float>(std::min<double>(yVel + antigrav * dt, speed));
    lastHit->y = static_cast<float>(lastHit->y - yVel * dt);
    if (!(lastHit->y < owner->y && lastHit->y > owner->y - 15)) return;

    // Arrival. A catch that was already destroyed while held (a flak burst, a blast) gives nothing
    // and is not destroyed a second time.
    const std::shared_ptr<tAbductable> victim = lastHit;
    const bool alreadyGone = victim->destroyed;
    owner->stopLoopingSound();
    battle::play(tSfx::abducted);
    victim->destroyNoAnims();
    if (!alreadyGone && !victim->isRadiated()) {
        owner->matterIncrease(victim->matterAward);
        owner->heal(victim->matterAward / 2);
    }
    battle::removeFrom(&tProgram::actorList, victim.get());
    disengage();
    lastHit.reset(); // swallowed: the creature's later stopLaser has nothing left to drop
}

void tAbductionBeam::disengage() {
    tWeapon::disengage();
    if (lastHit) {
        lastHit->setStateFalling();
        lastHit->yVel = -yVel; // it keeps the reel's upward speed
        lastHit->xVel = owner ? owner->xVel : 0.0f;
    }
    if (theProgram && theProgram->abductionBeamStatus) theProgram->abductionBeamStatus->clearText();
}

void tAbductionBeam::resetTimers() {
    tWeapon::resetTimers();
    shiftByPause(hitTimer);
    shiftByPause(radTimer);
}

float tAbductionBeam::getX() {
    return x - cameraXOffset();
}

float tAbductionBeam::getBeamScale() {
    if (lastHit && owner) return lastHit->y - owner->y;
    return groundLevel() - y + 20;
}

void tAbductionBeam::draw() {
    SetDrawScale(2, getBeamScale());
    DrawFrame(defaultImg, getX(), getY(), 0);
    if (!lastHit) return;
    if (timerReady(animTimer, animDelay)) {
        cageFrame += 1;
        const int frames = gfx::abductionCage ? gfx::abductionCage->FrameCount() : 0;
        if (cageFrame >= frames) cageFrame = 0;
    }
    SetDrawScale(2, 2);
    DrawFrame(gfx::abductionCage, lastHit->getX(), lastHit->y, cageFrame);
    SetDrawScale(static_cast<float>(lastHit->facing * 2), 2);
    DrawFrame(lastHit->getCurrentImg(), lastHit->getX(), lastHit->y, lastHit->frame);
}
