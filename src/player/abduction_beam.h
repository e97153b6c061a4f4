#pragma once
#include <memory>

#include "player/weapon.h"

class tFoo;
class tAbductable;

// The tractor beam the creature projects straight down while flying with X held: it catches the
// abductable under it nearest the creature, cages and reels it up, irradiating it on the way, and
// swallows it on arrival for its matter (and half of that as health). One beam, one catch.
class tAbductionBeam : public tKinded<tAbductionBeam, tWeapon, Kind::AbductionBeam> {
  public:
    tFoo* owner = nullptr; // the creature holds its beam, so the beam only points back
    float ownerOffset = 0;
    int hitTimer = 0; // next search for a victim
    std::shared_ptr<tAbductable> lastHit;
    int cageFrame = 0;
    float antigrav = 400;
    int radTimer = 0;
    int radDelay = 10;

    void update() override;
    void draw() override;
    void resetTimers() override;
    float getX() override; // no sideways shake
    void disengage() override;
    static std::shared_ptr<tAbductionBeam> Create(tFoo* owner, float x, float y);
    virtual bool checkCollision();
    virtual void reelPersonIn();
    virtual float getBeamScale();
};
