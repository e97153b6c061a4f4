#include "entities/duster.h"

#include "buildings/building.h"
#include "engine/engine.h"
#include "entities/effects.h"
#include "game/assets.h"
#include "game/battle.h"
#include "game/game_clock.h"
#include "player/enemy_projectiles.h"

std::shared_ptr<tDuster> tDuster::Create(float x, float y, std::shared_ptr<tBuilding> spawner) {
    auto duster = std::make_shared<tDuster>();
    duster->x = x;
    duster->y = y;
    duster->spawner = std::move(spawner);
    duster->hpMax = 100;
    duster->hp = 100;
    duster->defaultImg = gfx::dusterFront;
    if (duster->defaultImg) {
        duster->width = 2.0f * duster->defaultImg->width;
        duster->height = 2.0f * duster->defaultImg->height;
    }
    duster->topSpeed = 200;
    duster->maxAccel = 600;
    duster->decelSpeed = 600;
    duster->patrolDistance = 400;
    duster->newWantedAltitude();
    duster->fireDelay = 80;
    duster->fireTimer = gameMillisecs() + 80;
    duster->burstDelay = 4000;
    duster->burstLimit = 4;
    return duster;
}

void tDuster::update() {
    tActor::update();
    setImg();
}

void tDuster::setImg() {
    defaultImg = xVel != 0 ? gfx::dusterSideways : gfx::dusterFront;
}

void tDuster::checkPlayerCollision() {
    tActor* player = currentPlayerActor();
    if (!player || destroyed) return;
    if (!touchesPlayer(*player) || !timerReady(invulTimer, 0)) return;
    // At most one ram every invulDelay: the duster would otherwise grind the creature down every pass.
    invulTimer = gameMillisecs() + invulDelay;
    ramPlayer(*player);
}

void tDuster::checkFire() {
    std::shared_ptr<tOnscreenObject> target = getNearestEnemyUnit();
    if (!target) target = getNearestEnemyBuilding();
    if (!target || !timerReady(fireTimer, 0) || !timerReady(burstTimer, 0)) return;
    fireDelay = getFireDelay();
    fireTimer = gameMillisecs() + fireDelay;
    fireAtTarget(target);
    if (RandomInt(0, 1) == 1) newWantedAltitude();
}

void tDuster::fireAtTarget(const std::shared_ptr<tOnscreenObject>& target) {
    if (!target) return;
    if (burstCount >= burstLimit) {
        // The trigger after the last shot of a burst fires nothing and starts the pause.
        burstCount = 0;
        burstTimer = gameMillisecs() + burstDelay;
        return;
    }
    const float cx = target->getXCenter();
    const float cy = target->getYCenter();
    const float aimX = static_cast<float>(RandomReal(cx - 12, cx + 12));
    const float aimY = static_cast<float>(RandomReal(cy - 12, cy + 12));
    const float angle = angleBetween(x, getYCenter(), aimX, aimY);
    burstCount += 1;
    battle::addWeapon(tBullet::Create(x, y, angle));
}

void tDuster::onDestroy(bool withAnims) {
    tActor::onDestroy(withAnims);
    if (withAnims) battle::addFx(tBigExplosion::Create(x, y - 10));
}

void tDuster::resetTimers() {
    tActor::resetTimers();
    shiftByPause(burstTimer);
    shiftByPause(invulTimer);
}
