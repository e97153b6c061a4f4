#include "entities/aircraft.h"

#include "engine/engine.h"
#include "game/battle.h"
#include "game/game_clock.h"
#include "game/program.h"
#include "hud/bars.h"
#include "player/enemy_projectiles.h"

tActor* currentPlayerActor() {
    if (!theProgram) return nullptr;
    return objectAs<tActor>(theProgram->playerObject());
}

void tAircraft::applyMotion() {
    tActor::applyMotion();
    checkPlayerCollision();
}

void tAircraft::doStateIdle() {
    if (moveToWantedAltitude()) return;
    reachedWantedHeight = 1;
    tActor::doStateIdle();
}

bool tAircraft::moveToWantedAltitude() {
    if (inRange(wantedAltitude, y, 2) || reachedWantedHeight == 1) return false;
    if (y > wantedAltitude) {
        goUp();
    } else {
        goDown();
    }
    return true;
}

void tAircraft::newWantedAltitude() {
    wantedAltitude = static_cast<float>(RandomInt(100, groundLevel() - 100));
}

bool tAircraft::touchesPlayer(tActor& player) {
    return inRange(x, player.x, width / 2) && inRange(y, player.y, height / 2);
}

void tAircraft::ramPlayer(tActor& player) {
    // Hold both: either may leave its list (and drop its last reference) when the damage kills it.
    std::shared_ptr<tOnscreenObject> holdSelf = self();
    std::shared_ptr<tOnscreenObject> holdPlayer = player.self();
    const float px = player.x;
    const float py = player.y;
    setStateKnockback(angleBetween(px, py, x, y), 200);
    player.setStateKnockback(angleBetween(x, y, px, py), 200);
    player.damage(10);
    damage(10);
    reachedWantedHeight = 0;
    newWantedAltitude();
}

void tAircraft::checkPlayerCollision() {
    tActor* player = currentPlayerActor();
    if (!player || destroyed) return;
    if (touchesPlayer(*player)) ramPlayer(*player);
}

void tAircraft::fireAtTarget(const std::shared_ptr<tOnscreenObject>& target) {
    if (!target) return;
    const float muzzleY = y - 5;
    const float angle = angleBetween(x, muzzleY, target->getXCenter(), target->getYCenter());
    battle::addWeapon(tBullet::Create(x, muzzleY, angle));
}

void tAircraft::draw() {
    if (!isOnscreen()) return;
    // Seen from the front while hovering, so it is only mirrored while it moves sideways.
    SetDrawScale(xVel != 0 ? facing * 2.0f : 2.0f, 2.0f);
    DrawFrame(defaultImg, getX(), getY(), frame);
    if (hp < hpMax) tHealthBar::draw(getX() - width / 2, getY() + 4, hp, hpMax, width);
    drawFlash();
}
