#include "entities/tank.h"

#include "buildings/building.h"
#include "engine/engine.h"
#include "entities/effects.h"
#include "game/assets.h"
#include "game/battle.h"
#include "game/game_clock.h"
#include "hud/bars.h"
#include "player/enemy_projectiles.h"

std::shared_ptr<tTank> tTank::Create(float x, float y, std::shared_ptr<tBuilding> spawner) {
    auto tank = std::make_shared<tTank>();
    tank->x = x;
    tank->y = y;
    tank->spawner = std::move(spawner);
    tank->hpMax = 230;
    tank->hp = 230;
    tank->defaultImg = gfx::tank;
    if (tank->defaultImg) {
        tank->width = 2.0f * tank->defaultImg->width;
        tank->height = 2.0f * tank->defaultImg->height - 8;
    }
    tank->topSpeed = 10;
    tank->maxAccel = 800;
    tank->decelSpeed = 100;
    tank->fireDelay = 2000;
    // The first shot comes two seconds after the tank rolls out at the earliest.
    tank->fireTimer = gameMillisecs() + 2000;
    return tank;
}

void tTank::draw() {
    if (!isOnscreen()) return;
    SetDrawScale(facing * 2.0f, 2.0f);
    DrawFrame(defaultImg, getX(), getY(), 0);
    if (hp < hpMax) tHealthBar::draw(getX() - width / 2, getY() + 4, hp, hpMax, width);
    drawFlash();
}

void tTank::damage(float amount) {
    if (state == states::DEAD || destroyed) return;
    tActor::damage(amount);
    flash(); // refreshes the silhouette made by the actor's own flash
}

void tTank::onDestroy(bool withAnims) {
    tActor::onDestroy(withAnims);
    if (withAnims) battle::addFx(tBigExplosion::Create(x, y - 10));
}

void tTank::fireAtTarget(const std::shared_ptr<tOnscreenObject>& target) {
    if (!target) return;
    // The muzzle sits on the turret, 26 above the tracks.
    const float muzzleY = y - 26;
    const float angle = angleBetween(x, muzzleY, target->getXCenter(), target->getYCenter());
    battle::addWeapon(tTankShot::Create(x, muzzleY, angle));
}
