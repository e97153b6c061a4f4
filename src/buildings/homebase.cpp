#include "buildings/homebase.h"

#include "engine/engine.h"
#include "engine/words.h"
#include "entities/effects.h"
#include "game/assets.h"
#include "game/battle.h"
#include "game/constants.h"
#include "game/game_clock.h"
#include "hud/bars.h"
#include "hud/warning.h"
#include "player/foo.h"

tHomebase::tHomebase() : baseState(cBaseStates::LANDING), loopChannel(std::make_shared<TChannel>()) {}

std::shared_ptr<tHomebase> tHomebase::Create(float x, float y, int /*ignored*/) {
    auto base = std::make_shared<tHomebase>();
    base->x = x;
    base->y = y;
    base->yVel = 150;
    base->defaultImg = gfx::homebase;
    base->width = 90;
    base->height = 80;
    base->frame = 0;
    base->hp = base->hpMax = 140;
    base->faction = factions::ALLY;
    base->interactDelay = 100;
    base->interactTimer = 0;
    base->matterballs = 0;
    base->animDelay = 100;
    base->animTimer = 0;
    base->dmgWarningTimer = 0;
    // Created on the ground line it stays LANDING without its flying picture and sound.
    if (y != groundLevel()) base->setBaseState(cBaseStates::LANDING);
    return base;
}

bool tHomebase::programBaseLeaving() {
    if (!theProgram || !theProgram->playerBase) return false;
    const int state = theProgram->playerBase->baseState;
    return state == cBaseStates::TAKEOFF || state == cBaseStates::VICTORY;
}

bool tHomebase::isLeaving() {
    return programBaseLeaving();
}

void tHomebase::setBaseState(int newState) {
    baseState = newState;
    if (newState == cBaseStates::LANDING || newState == cBaseStates::TAKEOFF ||
        newState == cBaseStates::VICTORY) {
        if (!loopChannel || !loopChannel->Playing()) {
            if (std::shared_ptr<TChannel> channel = battle::play(tSfx::dazozuzoFlying)) loopChannel = channel;
        }
        animDelay = 50;
        defaultImg = gfx::homebaseFlying;
        frame = 0;
    } else if (newState == cBaseStates::IDLE) {
        if (loopChannel && loopChannel->Playing()) loopChannel->Stop();
        animDelay = 100;
        defaultImg = gfx::homebase;
        frame = 0;
    }
}

void tHomebase::update() {
    if (timerReady(animTimer, animDelay)) {
        frame += 1;
        const int frames = defaultImg ? defaultImg->FrameCount() : 0;
        if (frame >= frames) frame = 0;
    }
    switch (baseState) {
    case cBaseStates::LANDING:
        doBaseStateLanding();
        break;
    case cBaseStates::TAKEOFF:
        doBaseStateTakeoff();
        break;
    case cBaseStates::VICTORY:
        doBaseStateVictory();
        break;
    default:
        doBaseStateIdle();
        break;
    }
}

void tHomebase::draw() {
    if (!isOnscreen()) return;
    SetDrawScale(2, 2);
    DrawFrame(defaultImg, getX(), getY(), frame);
    if (hp < hpMax)
        tHealthBar::draw(getX() - width / 2, getY() + 4, static_cast<float>(hp), static_cast<float>(hpMax),
                         width);
}

void tHomebase::doBaseStateLanding() {
    y = static_cast<float>(y + yVel * Delta::Time());
    const int ground = groundLevel();
    if (y < ground) return;
    setBaseState(cBaseStates::IDLE);
    if (const std::shared_ptr<tFoo> larva = getPlayer()) larva->hatch(x, static_cast<float>(ground));
}

void tHomebase::doBaseStateIdle() {
    const std::shared_ptr<tFoo> larva = getPlayer();
    if (!larva) return;
    if (inRange(larva->x, x, width / 2) && larva->isGrounded()) {
        // A larva that died beside the homebase is not healed during its death explosion.
        if (larva->hp < larva->hpMax && larva->state != states::DEAD) {
            battle::addFx(tHeartSpawner::Create(larva->getXCenter(), larva->getYCenter(), 5, larva));
            larva->heal(larva->hpMax - larva->hp);
            if (theProgram && theProgram->warnings)
                theProgram->warnings->setMessage(TrMark("Dazozuzo heals siege drone"), -1, -1, -1);
        }
        return;
    }
    // Away or airborne: walking or flying off closes the upgrade menu.
    larva->recentlyHatched = false;
    if (larva->isMenuOpen()) larva->menuClose();
}

void tHomebase::rise(float ceiling) {
    y = static_cast<float>(y - yVel * Delta::Time());
    if (y >= ceiling) return;
    if (loopChannel && loopChannel->Playing()) loopChannel->Stop();
    if (theProgram) theProgram->setGameState(gamestate::MAP, 0);
}

void tHomebase::doBaseStateTakeoff() {
    rise(-60);
}

void tHomebase::doBaseStateVictory() {
    y = static_cast<float>(y - yVel * Delta::Time());
    if (y >= -90) return;
    if (loopChannel && loopChannel->Playing()) loopChannel->Stop();
    loopChannel.reset();
    if (theProgram) theProgram->setGameState(gamestate::MAP, 0);
}

int tHomebase::takeDamage(float amount) {
    if (baseState == cBaseStates::TAKEOFF || baseState == cBaseStates::VICTORY) return 0;
    hp = TruncInt(static_cast<float>(hp) - amount);
    if (hp <= 0) {
        hp = 0;
        setBaseState(cBaseStates::TAKEOFF);
        if (const std::shared_ptr<tFoo> larva = getPlayer()) larva->setStateDead();
        if (theProgram && theProgram->warnings)
            theProgram->warnings->setMessage(TrMark("Dazozuzo is retreating into space!"), 255, 0, 0);
        return 0;
    }
    if (baseState == cBaseStates::IDLE && timerReady(dmgWarningTimer, 2000) && theProgram &&
        theProgram->warnings)
        theProgram->warnings->setMessage(TrMark("Dazozuzo is under attack!"), 255, 0, 0);
    return 1;
}

void tHomebase::interact(tActor* actor) {
    if (actor && timerReady(interactTimer, interactDelay)) actor->heal(8);
}
