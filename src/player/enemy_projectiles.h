#pragma once
#include <memory>

#include "player/weapon.h"

// The opposing side's shots. Both fly straight and hit only the creature and its homebase; a tank
// shot also knocks the creature back. Where a shot ends it leaves a small impact.

// Heavy shot of tanks, heavy turrets and the super copter: 15 damage, 300 px/s, 3 s of life.
class tTankShot : public tKinded<tTankShot, tWeapon, Kind::TankShot> {
  public:
    int lifeTime = 0; // game-clock time at which the shot ends

    void update() override;
    void draw() override;
    void resetTimers() override;
    static std::shared_ptr<tTankShot> Create(float x, float y, float dir);
    virtual void collideWithTarget(tOnscreenObject* target);
    virtual void selfDestruct();
};

// Light shot of soldiers, aircraft and light turrets: 3 damage, 300 px/s, 2 s of life, no push.
class tBullet : public tKinded<tBullet, tTankShot, Kind::Bullet> {
  public:
    tBullet();

    static std::shared_ptr<tBullet> Create(float x, float y, float dir);
    void collideWithTarget(tOnscreenObject* target) override;
    void selfDestruct() override;
};

// The burst where a tank shot ended: 3 frames of 50 ms.
class tTankShotHit : public tKinded<tTankShotHit, tOnscreenObject, Kind::TankShotHit> {
  public:
    void update() override;
    void draw() override;
    static std::shared_ptr<tTankShotHit> Create(float x, float y);
};
