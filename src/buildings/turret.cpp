#include "buildings/turret.h"

#include <cmath>
#include <cstdlib>

#include "engine/engine.h"
#include "entities/actor.h"
#include "game/assets.h"
#include "game/battle.h"
#include "game/game_clock.h"
#include "game/program.h"
#include "hud/bars.h"
#include "player/enemy_projectiles.h"

void tTurret::setUpGun(float px, float py, const std::shared_ptr<TImage>& image, int hitPoints, int shotDelay,
                       int pause, int shotsPerBurst, float barrel, int startFrame) {
    setUp(px, py, image, hitPoints, 0, 0);
    topSpeed = maxAccel = decelSpeed = xVel = yVel = 0;
    fireDelay = shotDelay;
    fireTimer = gameMillisecs() + shotDelay;
    burstDelay = pause;
    burstLimit = shotsPerBurst;
    barrelOffset = barrel;
    frame = startFrame;
    addMilitaryStrength();
}

std::shared_ptr<tTurret> tTurret::Create(float x, float y) {
    auto turret = std::make_shared<tTurret>();
    turret->setUpGun(x, y, gfx::medTurret, 400, 120, 1000, 2, 16, 0);
    return turret;
}

std::shared_ptr<tHeavyTurret> tHeavyTurret::Create(float x, float y) {
    auto turret = std::make_shared<tHeavyTurret>();
    turret->setUpGun(x, y, gfx::heavyTurret, 800, 80, 3000, 6, 16, 3);
    return turret;
}

std::shared_ptr<tLightTurret> tLightTurret::Create(float x, float y) {
    auto turret = std::make_shared<tLightTurret>();
    turret->setUpGun(x, y, gfx::lightTurret, 250, 60, 1500, 6, 12, 3);
    return turret;
}

void tTurret::update() {
    checkTarget();
    checkFire();
    setFrame();
    updateFlash();
}

void tTurret::checkTarget() {
    if (!myTarget) return;
    if (std::fabs(x - myTarget->x) > range || myTarget->hp <= 0) {
        myTarget.reset();
        burstCount = 0;
    }
}

void tTurret::checkFire() {
    if (!timerReady(fireTimer, 0) || !timerReady(burstTimer, 0)) return;
    if (!myTarget) myTarget = nearestEnemyUnit(x, faction, range);
    if (!myTarget) myTarget = nearestEnemyBuilding(x, faction, range);
    if (!myTarget) return;
    fireTimer = gameMillisecs() + fireDelay;
    fireAtTarget(myTarget);
}

void tTurret::fireAtTarget(const std::shared_ptr<tOnscreenObject>& target) {
    if (!target) return;
    if (burstCount >= burstLimit) {
        // The attempt after the last shot of a burst fires nothing and starts the pause.
        burstCount = 0;
        burstTimer = gameMillisecs() + burstDelay;
        return;
    }
    burstCount += 1;
    const float muzzleY = y - height + barrelOffset;
    const float aim = angleBetween(x, muzzleY, target->getXCenter(), target->getYCenter());
    createBullet(x, muzzleY, aim + static_cast<float>(RandomInt(-5, 5)));
}

void tTurret::createBullet(float px, float py, float shotDir) {
    battle::addWeapon(tTankShot::Create(px, py, shotDir));
}

void tLightTurret::createBullet(float px, float py, float shotDir) {
    battle::addWeapon(tBullet::Create(px, py, shotDir));
}

void tTurret::setFrame() {
    if (!isOnscreen()) {
        frame = 0;
        return;
    }
    if (!myTarget) return;
    const int dx = TruncInt(x - myTarget->x);
    const int dy = TruncInt(y - myTarget->y);
    facing = dx > 0 ? direction::FACE_LEFT : direction::FACE_RIGHT;
    if (std::abs(dy) > 10) {
        frame = std::abs(dx) > 80 ? 2 : 3;
    } else {
        frame = std::abs(dx) > 50 ? 1 : 0;
    }
}

void tTurret::draw() {
    // Off screen nothing is drawn, not even a flash.
    if (!isOnscreen()) return;
    SetDrawScale(facing * 2.0f, 2.0f);
    DrawFrame(defaultImg, getX(), getY(), frame);
    if (hp < hpMax)
        tHealthBar::draw(getX() - width / 2, getY() + 4, static_cast<float>(hp), static_cast<float>(hpMax),
                         width);
    drawFlash();
}

void tTurret::resetTimers() {
    tBuilding::resetTimers();
    shiftByPause(fireTimer);
    shiftByPause(burstTimer);
}
