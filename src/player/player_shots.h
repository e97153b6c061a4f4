#pragma once
#include <memory>

#include "player/weapon.h"

class tActor;

// The creature's shots. A photon bolt and a ground spit fly forward in a falling arc and burst on the
// first frame they overlap any enemy (hurting every enemy they overlap), on the ground line, at the
// top of the screen or after 3 s. An air spit drops straight down. A flak shot climbs, slows and
// bursts when it meets an aircraft or runs out of speed.

class tPhotonBolt : public tKinded<tPhotonBolt, tWeapon, Kind::PhotonBolt> {
  public:
    int lifeTime = 0;
    float dropSpeed = 0;
    float dropSpeedInc = 0;
    std::shared_ptr<tActor> owner; // never hit by its own shot

    void update() override;
    void resetTimers() override;
    static std::shared_ptr<tPhotonBolt> Create(float x, float y, float facing, std::shared_ptr<tActor> owner);
    virtual void selfDestruct();
};

class tBileSpitGround : public tKinded<tBileSpitGround, tWeapon, Kind::BileSpitGround> {
  public:
    int lifeTime = 0;
    float dropSpeed = 0;
    float dropSpeedInc = 0;
    std::shared_ptr<tActor> owner;

    void update() override;
    void resetTimers() override;
    static std::shared_ptr<tBileSpitGround> Create(float x, float y, float facing,
                                                   std::shared_ptr<tActor> owner);
    virtual void selfDestruct();
};

class tBileSpitAir : public tKinded<tBileSpitAir, tWeapon, Kind::BileSpitAir> {
  public:
    int lifeTime = 0;
    std::shared_ptr<tActor> owner;

    void update() override;
    void resetTimers() override;
    static std::shared_ptr<tBileSpitAir> Create(float x, float y, float facing,
                                                std::shared_ptr<tActor> owner);
    virtual void selfDestruct();
};

class tFlakShot : public tKinded<tFlakShot, tWeapon, Kind::FlakShot> {
  public:
    int lifeTime = 0; // (dir and speed are the shot's heading and speed)

    void update() override;
    void draw() override;
    void resetTimers() override;
    static std::shared_ptr<tFlakShot> Create(float x, float y);
    virtual void collideWithTarget(tActor* target);
    virtual void selfDestruct();
};
