#pragma once
#include <memory>

#include "entities/aircraft.h"

class tBuilding;

// The light aircraft the airpads build: climbs to a random altitude, patrols a wide beat, fires bursts
// of four bullets with a four-second pause and rams the creature at most twice a second.
class tDuster : public tKinded<tDuster, tAircraft, Kind::Duster> {
  public:
    int burstDelay = 0;
    int burstTimer = 0;
    int burstCount = 0;
    int burstLimit = 0;
    int invulDelay = 500;
    int invulTimer = 0;

    static std::shared_ptr<tDuster> Create(float x, float y, std::shared_ptr<tBuilding> spawner);

    void update() override;
    virtual void setImg();
    void checkPlayerCollision() override;
    void checkFire() override;
    void fireAtTarget(const std::shared_ptr<tOnscreenObject>& target) override;
    void resetTimers() override;

  protected:
    void onDestroy(bool withAnims) override;
};
