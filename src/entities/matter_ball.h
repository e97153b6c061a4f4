#pragma once
#include <memory>

#include "entities/abductable.h"

// What destroyed things leave behind: a ball that pops up, falls back, waits on the ground and is
// picked up by the larva walking over it (10 matter and 5 health). Never hit by area effects, never
// on the radar, never expires.
class tMatterBall : public tKinded<tMatterBall, tAbductable, Kind::MatterBall> {
  public:
    float gravity = 200;
    float xSpeed = 0;
    float ySpeed = 0;

    static std::shared_ptr<tMatterBall> Create(float x, float y);
    // Releases count balls (at least one) at (x, y - 1), raised above the ground line when below it,
    // each on its own random heading, into the actor list.
    static void spawn(int count, int x, int y);

    void draw() override;
    void resetVelocities() override;
    void setStateFalling() override;
    void setStateIdle(int delay) override;
    void doStateIdle() override;
    void doStateFalling() override;
    int getFrame() override;
};
