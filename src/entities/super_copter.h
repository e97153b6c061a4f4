#pragma once
#include <memory>

#include "entities/aircraft.h"

class TImage;

// The boss of the last mission: a heavy helicopter that holds altitude 80, patrols 1200 either side of
// the homebase and fires fans of three tank shots from alternating wing cannons. It never flashes,
// and at 0 hit points it burns for two seconds in a chain of explosions before it is gone.
class tSuperCopter : public tKinded<tSuperCopter, tAircraft, Kind::SuperCopter> {
  public:
    std::shared_ptr<TImage> engineImg; // rotor, drawn at both wing tips
    int wingCannonTimerDelay = 150;
    int wingCannonTimer = 0;
    int cannonBurstTimerDelay = 2000;
    int cannonBurstTimer = 0;
    int cannonBurstCounter = 4;
    int cannonBurstCounterMax = 4;
    bool useLeftCannon = true;
    int deadTimer = 0;

    static std::shared_ptr<tSuperCopter> Create(float x, float y);

    void update() override;
    void checkFire() override;
    void damage(float amount) override;
    void doStateDead() override;
    void checkPlayerCollision() override;
    void draw() override;
    void resetTimers() override;

    virtual void fireTripleTankShotsLeft();
    virtual void fireTripleTankShotsRight();

    // The boss's own pictures, read from the resource table on every construction.
    static std::shared_ptr<TImage> loadBody();
    static std::shared_ptr<TImage> loadEngine();

  private:
    void fireFan(float muzzleX);
    // Top-left of the body picture at the anchor (ax, ay).
    void bodyTopLeft(float ax, float ay, float& left, float& top) const;
};
