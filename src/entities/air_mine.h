#pragma once
#include <memory>

#include "entities/aircraft.h"

class tBuilding;

// A floating mine shot out of an air-mine launcher. It coasts out of the launcher, slowing by 100 units
// per second each second, then drifts toward a random point near it, overshooting and swinging back
// and forth around it, and detonates when an enemy comes close. One hit brings it down harmlessly.
class tAirMine : public tKinded<tAirMine, tAircraft, Kind::AirMine> {
  public:
    int scanTimer = 0;
    int scanDelay = 5;
    // Dealt to each actor caught by the detonation. (Named apart from the damage() every object
    // takes, which a field of the same name would hide.)
    int blastDamage = 25;

    // dir and speed of the launch are taken only when greater than -1.
    static std::shared_ptr<tAirMine> Create(float x, float y, float dir, float speed,
                                            std::shared_ptr<tBuilding> spawner);

    void update() override;
    void draw() override;
    void resetTimers() override;

    virtual void proximityScan();
    virtual void detonate();

    // True while the mine still coasts from its launch.
    bool isLaunching() const { return dir > -1; }

  protected:
    void onDestroy(bool withAnims) override;

  private:
    // Whether an actor's centre lies within the mine's trigger box.
    bool withinBlast(tActor& other);
};
