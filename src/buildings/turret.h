#pragma once
#include <memory>

#include "buildings/building.h"

// The medium turret, and the base of the heavy and light ones: picks the nearest enemy within 320
// (the creature, else the homebase), keeps it until it leaves that range or dies, turns toward it and
// fires bursts of shots with a pause after each burst.
class tTurret : public tKinded<tTurret, tBuilding, Kind::Turret> {
  public:
    static constexpr float range = 320;

    int fireDelay = 0; // between the shots of a burst
    int fireTimer = 0;
    int burstDelay = 0; // pause after a burst
    int burstTimer = 0;
    int burstCount = 0;
    int burstLimit = 0;
    std::shared_ptr<tOnscreenObject> myTarget;
    float barrelOffset = 0; // muzzle height above the turret's top edge

    void update() override;
    void draw() override;
    void resetTimers() override;

    static std::shared_ptr<tTurret> Create(float x, float y);
    virtual void checkTarget();
    virtual void setFrame();
    virtual void checkFire();
    virtual void fireAtTarget(const std::shared_ptr<tOnscreenObject>& target);
    virtual void createBullet(float x, float y, float dir);

  protected:
    // Picture, hit points and the gun's rhythm; the first shot is due one fireDelay from now.
    void setUpGun(float x, float y, const std::shared_ptr<TImage>& image, int hitPoints, int shotDelay,
                  int pause, int shotsPerBurst, float barrel, int startFrame);
};

// Six tank shots 80 ms apart, then three seconds of silence.
class tHeavyTurret : public tKinded<tHeavyTurret, tTurret, Kind::HeavyTurret> {
  public:
    static std::shared_ptr<tHeavyTurret> Create(float x, float y);
};

// Six bullets 60 ms apart, then a pause of a second and a half.
class tLightTurret : public tKinded<tLightTurret, tTurret, Kind::LightTurret> {
  public:
    static std::shared_ptr<tLightTurret> Create(float x, float y);
    void createBullet(float x, float y, float dir) override;
};
