#include "player/foo.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "buildings/building.h"
#include "buildings/homebase.h"
#include "campaign/upgrade_menu.h"
#include "engine/engine.h"
#include "engine/words.h"
#include "entities/effects.h"
#include "game/assets.h"
#include "game/battle.h"
#include "game/constants.h"
#include "game/game_clock.h"
#include "hud/bars.h"
#include "hud/indicators.h"
#include "hud/warning.h"
#include "player/abduction_beam.h"
#include "player/laser.h"
#include "player/player_shots.h"
#include "world/input.h"

namespace {

const tInput kNoKeys;

const tInput& keys() {
    return theProgram && theProgram->buttons ? *theProgram->buttons : kNoKeys;
}

int lastFrame(const std::shared_ptr<TImage>& image) {
    return image ? image->FrameCount() - 1 : 0;
}

tHomebase* programBase() {
    return theProgram ? theProgram->playerBase.get() : nullptr;
}

void warn(const std::string& text) {
    if (theProgram && theProgram->warnings) theProgram->warnings->setMessage(text, -1, -1, -1);
}

} // namespace

tFoo::tFoo() : loopChannel(std::make_shared<TChannel>()) {}

std::shared_ptr<tFoo> tFoo::Create(float x, float y) {
    auto larva = std::make_shared<tFoo>();
    larva->x = x;
    larva->y = y;
    larva->defaultImg = gfx::siegeSuitWalking;
    larva->width = 64;
    larva->height = 46;
    larva->topSpeed = 400;
    larva->maxAccel = 1000;
    larva->decelSpeed = 1000;
    larva->facing = direction::FACE_RIGHT;
    larva->frame = 0;
    larva->animDelay = 100;
    larva->animTimer = 0;
    larva->xVel = larva->yVel = 0;
    larva->state = states::IDLE;
    larva->collisionXOffset = larva->collisionYOffset = 10;
    larva->matterBank = 40;
    larva->matterBankMax = 1000;
    larva->hpMax = 40;
    larva->hp = larva->hpMax;
    larva->faction = factions::ALLY;
    larva->frameShieldTimer = gameMillisecs() + larva->frameshieldDelay;
    return larva;
}

// --- the pass ----------------------------------------------------------------------------------------

void tFoo::update() {
    startUpdate();
    runStateEngine();
    animate();
    applyMotion();
}

void tFoo::resetTimers() {
    tActor::resetTimers();
    shiftByPause(frameShieldTimer);
}

// --- controls -------------------------------------------------------------------------------------------

void tFoo::doStateIdle() {
    if (isMenuOpen()) return;
    const tInput& b = keys();
    bool fired = false;

    if (b.rightKey) {
        goRight();
    } else if (b.leftKey) {
        goLeft();
    }

    if (b.upKey) {
        goUp();
    } else if (b.downKey) {
        if (b.zKey && isGrounded()) {
            if (unlockFlak) {
                fireFlak();
                fired = true;
            }
        } else {
            goDown();
        }
    }

    if (b.zKey && !fired) {
        if (y != static_cast<float>(groundLevel())) {
            if (unlockLaser) {
                fireLaser();
            } else {
                fireBileSpitDown();
            }
        } else {
            stopLaser();
            if (unlockPhotons) {
                firePhoton();
            } else {
                fireBileSpit();
            }
        }
        fired = true; // whether or not a shot left: holding Z stops the recharge
    } else {
        stopLaser();
    }

    if (!fired && battery < batteryMax) batteryRecharge();

    if (b.xKey) {
        if (isGrounded()) {
            tHomebase* base = programBase();
            if (base && inRange(base->x, x, width / 2)) {
                menuUpgradeShow();
            } else if (unlockShield) {
                setStateShielding();
            }
        } else {
            setStateAbducting();
        }
    }
}

float tFoo::getCurrentTopSpeed() {
    return isGrounded() ? groundSpeed : topSpeed;
}

void tFoo::goRight() {
    isInXMotion = 1;
    facing = direction::FACE_RIGHT;
    xVel = static_cast<float>(std::min<double>(xVel + maxAccel * Delta::Time(), getCurrentTopSpeed()));
}

void tFoo::goLeft() {
    isInXMotion = 1;
    facing = direction::FACE_LEFT;
    xVel = static_cast<float>(std::max<double>(xVel - maxAccel * Delta::Time(), -getCurrentTopSpeed()));
}

void tFoo::applyMotion() {
    const float yBefore = y;
    if (isInXMotion == 0) xDecelerate();
    if (isInYMotion == 0) yDecelerate();
    if (xVel != 0 || yVel != 0) {
        const double dt = Delta::Time();
        x = static_cast<float>(x + dt * xVel);
        y = static_cast<float>(y + dt * yVel);
    }
    tHomebase* base = programBase();
    if (unlockSpaceWarp) {
        if (yBefore > 50 && y < 50) warn(TrMark("Continue upwards to return to dazozuzo"));
        if (y < 10 && isInYMotion == 1) {
            // The space warp: back above the homebase, falling and frozen for a moment.
            xVel = 0;
            yVel = 400;
            if (base) x = base->x;
            setStateStunned(600);
            battle::play(tSfx::spaceWarp);
        }
    } else if (y < 0 + height) {
        y = height;
        yVel = 0;
    }
    // The X hint while standing at the homebase.
    if (base && inRange(base->x, x, width / 2) && isGrounded() && isVulnerableState()) {
        if (!flashButton) flashButton = tButtonFlasher::createXButton(self<tActor>(), true);
    } else {
        flashButton.reset();
    }
}

// --- battery and weapons ---------------------------------------------------------------------------------

bool tFoo::batteryDischarge(float amount) {
    battery -= amount;
    if (battery >= 0) return true;
    battery = 0;
    return false;
}

void tFoo::batteryRecharge() {
    const double rate = isGrounded() ? 850.0 : 500.0;
    battery = static_cast<float>(std::min<double>(battery + rate * Delta::Time(), batteryMax));
}

bool tFoo::rateAllows(int delay) {
    weaponROFDelay = delay;
    return timerReady(weaponROF, weaponROFDelay);
}

void tFoo::startLoop(const std::shared_ptr<TSound>& sound) {
    if (loopChannel && loopChannel->Playing()) return;
    if (std::shared_ptr<TChannel> channel = battle::play(sound)) loopChannel = channel;
}

void tFoo::firePhoton() {
    // A refused shot has still restarted the rate timer.
    if (!rateAllows(250) || battery < 125) return;
    battle::addWeapon(tPhotonBolt::Create(x, y - 20, static_cast<float>(facing), self<tActor>()));
    batteryDischarge(125);
    battle::play(tSfx::photon);
}

void tFoo::fireBileSpit() {
    if (!isGrounded()) return;
    if (!rateAllows(200) || battery < 165) return;
    battle::addWeapon(tBileSpitGround::Create(x, y - 20, static_cast<float>(facing), self<tActor>()));
    batteryDischarge(165);
}

void tFoo::fireBileSpitDown() {
    if (isGrounded()) return;
    if (!rateAllows(200) || battery < 165) return;
    battle::addWeapon(tBileSpitAir::Create(x, y - 20, static_cast<float>(facing), self<tActor>()));
    batteryDischarge(165);
}

void tFoo::fireFlak() {
    if (!rateAllows(80) || battery < 75) return;
    battle::addWeapon(tFlakShot::Create(x, y - 20));
    battery -= 75;
    battle::play(tSfx::flak);
}

void tFoo::fireLaser() {
    if (weaponActive != 0 || battery <= 40) return;
    weaponActive = 1;
    if (!weapon) {
        weapon = tLaser::Create(this, x, y - 2);
        battle::addWeapon(weapon);
    }
    startLoop(tSfx::laserLoop);
}

void tFoo::fireAbductionBeam() {
    if (weaponActive != 0) return;
    weaponActive = 1;
    if (!weapon) {
        weapon = tAbductionBeam::Create(this, x, y - 2);
        battle::addWeapon(weapon);
    }
}

void tFoo::stopLoopingSound() {
    if (loopChannel && loopChannel->Playing()) loopChannel->Stop();
}

void tFoo::stopLaser() {
    if (weaponActive != 1) return;
    stopLoopingSound();
    weaponActive = 0;
    const std::shared_ptr<tWeapon> out = weapon; // keeps it alive through its own disengage
    weapon.reset();
    if (out) out->disengage();
}

// --- states ------------------------------------------------------------------------------------------------

void tFoo::setStateIdle(int delay) {
    tActor::setStateIdle(delay);
    animDelay = 100;
    stopLoopingSound();
}

void tFoo::setStateAbducting() {
    tActor::setStateAbducting();
    stopLaser();
    fireAbductionBeam();
    startLoop(tSfx::abductorLoop);
}

void tFoo::doStateAbducting() {
    const tInput& b = keys();
    if (b.rightKey) {
        goRight();
    } else if (b.leftKey) {
        goLeft();
    }
    if (!b.xKey || isGrounded()) setStateIdle(0);
}

void tFoo::setStateRegenerating() {
    tActor::setStateRegenerating();
    stopLaser();
    stateTimer = 0;
}

void tFoo::doStateRegenerating() {
    if (xVel != 0 || yVel != 0) {
        xDecelerate();
        yDecelerate();
    }
    if (!keys().xKey) {
        setStateIdle(0);
        return;
    }
    if (timerReady(stateTimer, 100) && matterBank > 0 && hp < hpMax) {
        matterBank -= 1;
        hp += 1;
    }
}

void tFoo::setStateShielding() {
    tActor::setStateShielding();
    frameShield = 3;
    frameShieldTimer = gameMillisecs() + frameshieldDelay;
    startLoop(tSfx::shieldLoop);
}

void tFoo::doStateShielding() {
    if (timerReady(frameShieldTimer, frameshieldDelay) && frameShield < lastFrame(gfx::suitShield))
        frameShield += 1;
    if (!keys().xKey) setStateIdle(0);
}

void tFoo::setStateKnockback(float knockDir, float knockSpeed) {
    if (state == states::SHIELDING && battery > 0) return; // the shield holds the larva in place
    tActor::setStateKnockback(knockDir, knockSpeed);
    stopLaser();
    xVel = 0;
    yVel = 0;
}

void tFoo::doStateKnockback() {
    if (timerReady(stateTimer, 0) || speed < 0) {
        setStateIdle(0);
        dir = 0;
        speed = 0;
        return;
    }
    const double dt = Delta::Time();
    x = static_cast<float>(x + CosDeg(dir) * speed * dt);
    y = static_cast<float>(y + SinDeg(dir) * speed * dt);
    speed = static_cast<float>(speed - 400 * dt);
}

void tFoo::setStateDead() {
    tActor::setStateDead();
    stopLaser();
    const int now = gameMillisecs();
    animTimer = now + 500;
    animDelay = 75;
    stateTimer = now + 2000;
    menuClosedTime = now + 4000;
    resetUpgrades(); // dying loses every trait
}

void tFoo::doStateDead() {
    if (frame < lastFrame(gfx::fooExplosion) || gameMillisecs() < stateTimer) return;
    frame = 0;
    hp = hpMax;
    battery = batteryMax;
    setStateIdle(0);
    // Reborn at the nearest homebase: hatched at once when it has landed, else waiting for it.
    std::shared_ptr<tHomebase> nearest;
    if (theProgram && theProgram->buildingList) {
        for (const std::shared_ptr<tHomebase>& base : theProgram->buildingList->typed<tHomebase>()) {
            if (!nearest || std::abs(x - base->x) < std::abs(x - nearest->x)) nearest = base;
        }
    }
    if (!nearest) return; // no homebase: the larva comes back where it fell
    if (nearest->baseState == cBaseStates::IDLE) {
        hatch(nearest->x, static_cast<float>(groundLevel()));
    } else {
        setStateWait();
        x = nearest->x;
    }
}

void tFoo::hatch(float hatchX, float hatchY) {
    setStateRespawn();
    recentlyHatched = true;
    x = hatchX;
    y = hatchY;
    battle::addFx(tEgg::Create(hatchX, hatchY));
    warn(TrMark("Hatching siege larva"));
    battle::play(tSfx::eggHatching);
}

// --- damage, healing, matter
// ---------------------------------------------------------------------------------

void tFoo::damage(float amount) {
    if (state == states::SHIELDING) {
        if (batteryDischarge(amount * 6)) {
            battle::play(tSfx::shieldHit);
            frameShield = 0; // the overlay replays from its first frame
            frameShieldTimer = gameMillisecs() + frameshieldDelay;
            return;
        }
        setStateIdle(0); // the battery could not pay: the shield drops and the hull takes the hit
    }
    if (state == states::DEAD || tHomebase::programBaseLeaving()) return;
    if (theProgram) theProgram->gameSleep(40);
    hp = TruncInt(static_cast<float>(hp) - amount);
    if (rumbleWhenHurt) RumbleGamepads(0.5f, 150); // felt, not heard: pads without a motor ignore it
    battle::addMessage(tNumberIndicator::Create(static_cast<float>(RandomInt(60, 100)), 486,
                                                tNumberIndicator::SignedText('-', TruncInt(amount)), 204, 0,
                                                0, false));
    if (hp <= 0) {
        setStateDead();
    } else {
        battle::play(tSfx::fooDamaged);
    }
}

bool tFoo::heal(int amount) {
    if (tActor::heal(amount))
        battle::addMessage(
            tNumberIndicator::Create(80, 486, tNumberIndicator::SignedText('+', amount), 204, 0, 0, true));
    return false;
}

void tFoo::matterIncrease(int amount) {
    tActor::matterIncrease(amount);
    battle::addMessage(
        tNumberIndicator::Create(560, 486, tNumberIndicator::SignedText('+', amount), 0, 204, 0, true));
}

// --- upgrade menu
// ------------------------------------------------------------------------------------------------

void tFoo::resetUpgrades() {
    unlockLaser = unlockPhotons = unlockFlak = unlockShield = unlockSpaceWarp = false;
}

void tFoo::menuUpgradeShow() {
    if (gameMillisecs() < menuClosedTime || !theProgram) return;
    setStateIdle(0);
    theProgram->setGameState(gamestate::MENU, 0);
    theProgram->currentMenu = std::make_shared<tUpgradeMenu>();
}

void tFoo::menuClose() {
    menuClosedTime = gameMillisecs() + 3000;
    if (!theProgram) return;
    theProgram->currentMenu.reset();
    theProgram->setGameState(gamestate::RUNNING, 0);
}

bool tFoo::isMenuOpen() {
    return theProgram && theProgram->state == gamestate::MENU;
}

bool tFoo::checkBuildingInteractions() {
    if (!theProgram || !theProgram->buildingList) return false;
    for (const std::shared_ptr<tBuilding>& building : theProgram->buildingList->typed<tBuilding>()) {
        if (building->faction != faction) continue;
        if (building->x - building->width / 2 < x && x < building->x + building->width / 2) {
            building->interact(this);
            return true;
        }
    }
    return false;
}

// --- animation and drawing
// -------------------------------------------------------------------------------------

void tFoo::animate() {
    if (state == states::DEAD) {
        // The explosion: first step 500 ms after death, then every 75 ms, held on the last frame.
        if (timerReady(animTimer, animDelay) && frame < lastFrame(gfx::fooExplosion)) {
            if (frame == 1) battle::play(tSfx::fooDestroyed);
            frame += 1;
        }
    } else if (isGrounded()) {
        animDelay = 100;
        if (xVel == 0) {
            frame = 0;
        } else {
            nextWalkingFrame();
        }
    } else {
        animDelay = 60;
        nextFlyingFrame();
    }
    if (flashButton) flashButton->update();
}

void tFoo::nextWalkingFrame() {
    if (!timerReady(animTimer, animDelay)) return;
    frame += 1;
    if (frame > lastFrame(gfx::siegeSuitWalking)) frame = 0;
}

void tFoo::nextFlyingFrame() {
    if (!timerReady(animTimer, animDelay)) return;
    frame += 1;
    if (frame > lastFrame(gfx::siegeSuitFlying)) frame = 0;
}

void tFoo::draw() {
    SetDrawScale(2, 2);
    if (state == states::DEAD) {
        DrawFrame(gfx::fooExplosion, getX(), getY(), frame);
    } else if (state != states::RESPAWN && state != states::WAIT) {
        if (isGrounded()) {
            DrawFrame(facing == direction::FACE_RIGHT ? gfx::siegeSuitWalking : gfx::siegeSuitWalkLeft,
                      getX(), getY(), frame);
        } else {
            if (frame > lastFrame(gfx::siegeSuitFlying)) frame = 0;
            DrawFrame(gfx::siegeSuitFlying, getX(), getY(), frame);
        }
        if (state == states::SHIELDING) DrawFrame(gfx::suitShield, getX(), getY(), frameShield);
        if (hp < hpMax)
            tHealthBar::draw(getX() - width / 2, getY() + 6, static_cast<float>(hp),
                             static_cast<float>(hpMax), width);
        if (battery < batteryMax)
            tBatteryBar::draw(getX() - width / 2, getY() - height - 2, battery, batteryMax, width);
    }
    if (flashButton) flashButton->draw();
}
