#pragma once
#include <memory>

#include "entities/actor.h"

// Base of the opposition's air force (dusters, the super copter boss, air mines): an actor that first
// settles at its wanted altitude and only then follows its orders, rams the creature on contact and
// fires light bullets.
class tAircraft : public tKinded<tAircraft, tActor, Kind::Aircraft> {
  public:
    float wantedAltitude = 0;
    int reachedWantedHeight = 0; // 1 once the altitude is reached; the altitude is then left alone

    void applyMotion() override;
    void doStateIdle() override;
    void fireAtTarget(const std::shared_ptr<tOnscreenObject>& target) override;
    void draw() override;

    virtual void checkPlayerCollision();
    // Steers toward wantedAltitude; false once there (or once the flag says so).
    virtual bool moveToWantedAltitude();
    virtual void newWantedAltitude();

  protected:
    // The contact test with the creature shared by the rams.
    bool touchesPlayer(tActor& player);
    // Both sides of a ram: knocked apart at 200 and 10 damage each; then a new altitude.
    void ramPlayer(tActor& player);
};

// The creature as an actor, or null (no battle, or no creature yet).
tActor* currentPlayerActor();
