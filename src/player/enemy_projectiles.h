#pragma once
#include <memory>

#include "player/weapon.h"

// The opposing side's shots. Both fly straight and hit only the creature and its homebase; a tank
// shot also knocks the creature back. Where a shot ends it leaves a small impact.

// Heavy shot of tanks, heavy turrets and the super copter: 15 damage, 300 px/s, 3 s of life.
class tTankShot : public tWeapon {
  public:
    static constexpr KindMask kKind = kindBit(Kind::TankShot);
    tTankShot();

    int lifeTime = 0; // game-clock time at which the shot ends

    void update() override;
    void draw() override;
    void resetTimers() override;
    static std::shared_ptr<tTankShot> Create(float x, float y, float dir);
    virtual void collideWithTarget(tOnscreenObject* target);
    virtual void selfDestruct();
};

// Light shot of soldiers, aircraft and light turrets: 3 damage, 300 px/s, 2 s of life, no push.
class tBullet : public tTankShot {
  public:
    static constexpr KindMask kKind = kindBit(Kind::Bullet);
    tBullet();

    static std::shared_ptr<tBullet> Create(float x, float y, float dir);
    void collideWithTarget(tOnscreenObject* target) override;
    void selfDestruct() override;
};

// The burst where a tank shot ended: 3 frames of 50 ms.
class tTankShotHit : public tOnscreenObject {
  public:
    static constexpr KindMask kKind = kindBit(Kind::TankShotHit);
    tTankShotHit();

    int animSpeed = 50;

    void update() override;
    void draw() override;
    static std::shared_ptr<tTankShotHit> Create(float x, float y);
};
