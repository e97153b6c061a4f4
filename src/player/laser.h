#pragma once
#include <memory>

#include "entities/onscreen_object.h"
#include "player/weapon.h"

class tFoo;
class tLaserSpinner;

// The creature's airborne laser: a beam straight down that burns the highest enemy under it, 16
// damage every 100 ms, paid with 25 battery per tick; an empty battery switches it off.
class tLaser : public tKinded<tLaser, tWeapon, Kind::Laser> {
  public:
    tFoo* owner = nullptr; // the creature holds the laser, so the laser only points back
    float ownerOffset = 0;
    int hitSpawner = 0; // game-clock time of the next damage tick
    std::shared_ptr<tOnscreenObject> lastHit;
    std::shared_ptr<tLaserSpinner> spinnerEffect;

    void update() override;
    void draw() override;
    float getX() override; // no sideways shake
    static std::shared_ptr<tLaser> Create(tFoo* owner, float x, float y);
    virtual bool checkCollision();
    virtual float getLaserScale();
};

// A spark flying up from where the laser ends; gone after 500 ms.
class tLaserHit : public tKinded<tLaserHit, tOnscreenObject, Kind::LaserHit> {
  public:
    int lifeTimer = 0;
    int sparkSpeed = 100; // pixels per second
    float angle = 0;

    void update() override;
    void draw() override;
    void resetTimers() override;
    static std::shared_ptr<tLaserHit> Create(float x, float y);
};

// The spinning mark at the laser's end; the laser updates and draws it.
class tLaserSpinner : public tKinded<tLaserSpinner, tOnscreenObject, Kind::LaserSpinner> {
  public:
    tLaser* owner = nullptr;

    void update() override;
    void draw() override;
    static std::shared_ptr<tLaserSpinner> Create(float x, float y, tLaser* owner);
};
