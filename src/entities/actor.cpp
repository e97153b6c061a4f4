#include "entities/actor.h"

#include <algorithm>
#include <cmath>

#include "engine/engine.h"
#include "entities/faction_roster.h"
#include "game/battle.h"
#include "game/game_clock.h"
#include "game/program.h"
#include "world/input.h"

#include "buildings/building.h"
#include "player/enemy_projectiles.h"

tActor::tActor() {
    matterballs = 1;
    stateTimer = gameMillisecs();
    setStateIdle(0);
}

// ---------------------------------------------------------------------------------------------------
// The pass

void tActor::update() {
    startUpdate();
    runStateEngine();
    applyMotion();
    updateFlash();
}

void tActor::startUpdate() {
    isInXMotion = 0;
    isInYMotion = 0;
}

void tActor::runStateEngine() {
    switch (state) {
    case states::IDLE:
        doStateIdle();
        break;
    case states::MOVING:
        doStateMoving();
        break;
    case states::FIRING:
        doStateFiring();
        break;
    case states::STRAFING:
        doStateStrafing();
        break;
    case states::KNOCKBACK:
        doStateKnockback();
        break;
    case states::REGENERATING:
        doStateRegenerating();
        break;
    case states::ABDUCTING:
        doStateAbducting();
        break;
    case states::STUNNED:
        doStateStunned();
        break;
    case states::FALLING:
        doStateFalling();
        break;
    case states::HOLDING:
        doStateHolding();
        break;
    case states::DEAD:
        doStateDead();
        break;
    case states::SHIELDING:
        doStateShielding();
        break;
    case states::RESPAWN:
        doStateRespawn();
        break;
    default:
        break; // PRODUCING and WAIT have no handler
    }
}

void tActor::resetTimers() {
    tOnscreenObject::resetTimers();
    shiftByPause(fireTimer);
    // stateTimer is left alone: a timed state that spans a pause ends when the pause is over.
}

void tActor::damage(float amount) {
    // The dead, and an actor already destroyed this pass by an earlier hit, take no further hits:
    // a second destroy would release its matter ball and free its factory's place twice.
    if (state == states::DEAD || destroyed) return;
    tOnscreenObject::damage(amount);
    flash();
    if (theProgram) theProgram->gameSleep(20);
}

void tActor::destroy() {
    destroyOnce(true);
}

void tActor::destroyNoAnims() {
    destroyOnce(false);
}

void tActor::destroyOnce(bool withAnims) {
    if (destroyed) return;
    destroyed = true;
    onDestroy(withAnims);
}

void tActor::onDestroy(bool /*withAnims*/) {
    tOnscreenObject::destroy();
    if (spawner) spawner->unitCounter -= 1;
    battle::removeFrom(&tProgram::actorList, this);
}

// ---------------------------------------------------------------------------------------------------
// Motion

void tActor::goRight() {
    isInXMotion = 1;
    facing = direction::FACE_RIGHT;
    xVel = static_cast<float>(std::min<double>(xVel + Delta::Time() * maxAccel, topSpeed));
}

void tActor::goLeft() {
    isInXMotion = 1;
    facing = direction::FACE_LEFT;
    xVel = static_cast<float>(std::max<double>(xVel - Delta::Time() * maxAccel, -topSpeed));
}

namespace {

// Brings a velocity toward 0 by dt * decel without crossing it.
float decelerated(float velocity, double dt, float decel) {
    double v = velocity;
    if (v < 0) {
        v += dt * decel;
        if (v > 0) v = 0;
    } else if (v > 0) {
        v -= dt * decel;
        if (v < 0) v = 0;
    }
    return static_cast<float>(v);
}

} // namespace

void tActor::xDecelerate() {
    xVel = decelerated(xVel, Delta::Time(), decelSpeed);
}

void tActor::goUp() {
    isInYMotion = 1;
    yVel = static_cast<float>(std::max<double>(yVel - Delta::Time() * maxAccel, -topSpeed));
    const int ground = groundLevel();
    if (y > ground) {
        y = static_cast<float>(ground);
        yVel = 0;
    }
}

void tActor::goDown() {
    isInYMotion = 1;
    const int ground = groundLevel();
    if (y < ground) yVel = static_cast<float>(yVel + Delta::Time() * maxAccel);
    if (yVel > topSpeed) yVel = topSpeed;
    if (y > ground) {
        y = static_cast<float>(ground);
        yVel = 0;
    }
}

void tActor::yDecelerate() {
    yVel = decelerated(yVel, Delta::Time(), decelSpeed);
    const int ground = groundLevel();
    if (y > ground) {
        y = static_cast<float>(ground);
        yVel = 0;
    }
}

void tActor::applyMotion() {
    if (isInXMotion == 0) xDecelerate();
    if (isInYMotion == 0) yDecelerate();
    if (xVel != 0 || yVel != 0) {
        const double dt = Delta::Time();
        x = static_cast<float>(x + dt * xVel);
        y = static_cast<float>(y + dt * yVel);
    }
    // The top of the world is a ceiling.
    if (y - height < 0) {
        y = height;
        yVel = 0;
    }
}

bool tActor::isGrounded() {
    return y == static_cast<float>(groundLevel());
}

// ---------------------------------------------------------------------------------------------------
// States

bool tActor::isVulnerableState() {
    switch (state) {
    case states::KNOCKBACK:
    case states::PRODUCING:
    case states::DEAD:
    case states::RESPAWN:
    case states::WAIT:
        return false;
    default:
        return true;
    }
}

bool tActor::isHitState() {
    return state != states::DEAD && state != states::RESPAWN;
}

void tActor::setStateAbducting() {
    state = states::ABDUCTING;
}

void tActor::setStateDead() {
    state = states::DEAD;
    xVel = 0;
    yVel = 0;
    frame = 0;
    resetAI();
}

void tActor::setStateIdle(int delay) {
    state = states::IDLE;
    stateTimer = gameMillisecs() + delay;
    resetAI(); // a return to IDLE forgets the orders
}

void tActor::setStateMoving() {
    state = states::MOVING;
}
void tActor::setStateRegenerating() {
    state = states::REGENERATING;
}
void tActor::setStateRespawn() {
    state = states::RESPAWN;
}
void tActor::setStateFalling() {
    state = states::FALLING;
}
void tActor::setStateFiring() {
    state = states::FIRING;
}
void tActor::setStateHolding() {
    state = states::HOLDING;
}

void tActor::setStateShielding() {
    state = states::SHIELDING;
    xVel = 0;
    yVel = 0;
    frame = 0;
}

void tActor::setStateStrafing() {
    state = states::STRAFING;
}

void tActor::setStateStunned(int duration) {
    state = states::STUNNED;
    frame = 0;
    stateTimer = duration > 0 ? gameMillisecs() + duration : -1; // -1: until someone else changes it
}

void tActor::setStateWait() {
    state = states::WAIT;
}

void tActor::setStateKnockback(float knockDir, float knockSpeed) {
    if (state == states::DEAD) return;
    state = states::KNOCKBACK;
    stateTimer = gameMillisecs() + 250;
    dir = knockDir;
    speed = knockSpeed;
}

void tActor::doStateIdle() {
    if (currentOrder == 0) getOrders();
    followOrders();
}

void tActor::doStateFalling() {
    y = static_cast<float>(y + 100.0 * Delta::Time());
    const int ground = groundLevel();
    if (y > ground) {
        y = static_cast<float>(ground);
        setStateIdle(0);
    }
}

void tActor::doStateHolding() {
    if (timerReady(stateTimer, 0)) setStateIdle(0);
}

void tActor::doStateShielding() {
    const bool shieldHeld = theProgram && theProgram->buttons && theProgram->buttons->xKey;
    if (!shieldHeld) setStateIdle(0);
}

void tActor::doStateStunned() {
    if (stateTimer >= 0 && timerReady(stateTimer, 0)) setStateIdle(0);
}

void tActor::doStateKnockback() {
    if (timerReady(stateTimer, 0) || speed < 0) {
        speed = 0;
        dir = 0;
        setStateIdle(0);
        return;
    }
    const double dt = Delta::Time();
    x = static_cast<float>(x + dt * CosDeg(dir) * speed);
    y = static_cast<float>(y + dt * SinDeg(dir) * speed);
    speed = static_cast<float>(speed - 100.0 * dt);
}

// ---------------------------------------------------------------------------------------------------
// Orders

void tActor::resetAI() {
    anchorX = 0;
    anchorY = 0;
    targetX = 0;
    targetY = 0;
    targetEntity.reset();
    currentOrder = 0;
}

void tActor::getOrders() {
    resetAI();
    assignPatrol(x, y);
}

void tActor::assignAttack() {
    currentOrder = cOrders::ATTACK;
}

void tActor::assignWait() {
    currentOrder = cOrders::WAIT;
}

void tActor::assignPatrol(float px, float py) {
    currentOrder = cOrders::PATROL;
    anchorX = TruncInt(px);
    anchorY = TruncInt(py);
    targetX = RandomInt(1, 2) == 1 ? anchorX + patrolDistance : anchorX - patrolDistance;
    targetY = static_cast<float>(anchorY);
}

void tActor::followOrders() {
    switch (currentOrder) {
    case cOrders::ATTACK:
        executeAttack();
        break;
    case cOrders::PATROL:
        executePatrol();
        break;
    case cOrders::WAIT:
        executeWait();
        break;
    default:
        break;
    }
}

void tActor::executePatrol() {
    if (std::fabs(x - targetX) < 2)
        targetX = x > anchorX ? anchorX - patrolDistance : anchorX + patrolDistance;
    checkFire();
    if (targetX > x) {
        goRight();
    } else {
        goLeft();
    }
}

// ---------------------------------------------------------------------------------------------------
// Targeting and firing

namespace {

bool isTargetable(const tActor& actor) {
    return actor.state != states::DEAD;
}
bool isTargetable(const tBuilding& /*building*/) {
    return true;
}

template <class T>
std::shared_ptr<T> nearestOpponent(std::shared_ptr<TList> tProgram::*which, float x, int faction,
                                   float range) {
    TList* list = battle::list(which);
    if (!list) return nullptr;
    // Many units search every pass: only the objects of the other sides are looked at.
    T* nearest = nullptr;
    float nearestDistance = 0;
    for (T* other : tFactionRoster<T>::opponentsOf(*list, faction)) {
        const float distance = std::fabs(x - other->x);
        if (distance >= range || !isTargetable(*other)) continue;
        // Only a strictly nearer one replaces the current pick: ties go to the earlier in the list.
        if (!nearest || distance < nearestDistance) {
            nearest = other;
            nearestDistance = distance;
        }
    }
    return nearest ? nearest->template self<T>() : nullptr;
}

} // namespace

std::shared_ptr<tActor> nearestEnemyUnit(float x, int faction, float range) {
    return nearestOpponent<tActor>(&tProgram::actorList, x, faction, range);
}

std::shared_ptr<tBuilding> nearestEnemyBuilding(float x, int faction, float range) {
    return nearestOpponent<tBuilding>(&tProgram::buildingList, x, faction, range);
}

std::shared_ptr<tActor> tActor::getNearestEnemyUnit() {
    return nearestEnemyUnit(x, faction, kFireRange);
}

std::shared_ptr<tBuilding> tActor::getNearestEnemyBuilding() {
    return nearestEnemyBuilding(x, faction, kFireRange);
}

void tActor::checkFire() {
    std::shared_ptr<tOnscreenObject> target = getNearestEnemyUnit();
    if (!target) target = getNearestEnemyBuilding();
    if (target && timerReady(fireTimer, 0)) {
        fireDelay = getFireDelay();
        fireTimer = gameMillisecs() + fireDelay;
        fireAtTarget(target);
    }
}

void tActor::fireAtTarget(const std::shared_ptr<tOnscreenObject>& target) {
    if (!target) return;
    const float angle = angleBetween(x, getYCenter(), target->getXCenter(), target->getYCenter());
    battle::addWeapon(tBullet::Create(x, y, angle));
}

int tActor::getFrame() {
    if (state == states::STUNNED) {
        frame = 0;
        return 0;
    }
    if (timerReady(animTimer, animDelay)) {
        frame += 1;
        const int frames = defaultImg ? defaultImg->FrameCount() : 0;
        if (frame >= frames) frame = 0;
    }
    return frame;
}

int tActor::getDistanceToHomebase() {
    tOnscreenObject* base = theProgram ? theProgram->homebaseObject() : nullptr;
    if (!base) return 0;
    return TruncInt(std::fabs(base->y - y));
}

// ---------------------------------------------------------------------------------------------------
// Healing and matter

bool tActor::heal(int amount) {
    if (hp >= hpMax) return false;
    hp = std::min(hp + amount, hpMax);
    return true;
}

void tActor::matterIncrease(int n) {
    matterBank = std::min(matterBank + n, matterBankMax);
}

void tActor::matterDecrease(int n) {
    matterBank = std::max(matterBank - n, 0);
}
