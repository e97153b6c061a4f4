#pragma once
#include <memory>

#include "buildings/building.h"

class TChannel;

// The Dazozuzo, the larva's mothership: descends at the start of a mission and lays the egg, heals
// the larva standing beside it, warns when attacked, flees into space when destroyed and leaves in
// victory. Either departure returns the game to the mission map.
class tHomebase : public tKinded<tHomebase, tBuilding, Kind::Homebase> {
  public:
    tHomebase();

    int baseState; // a cBaseStates value
    int dmgWarningTimer = 0;
    std::shared_ptr<TChannel> loopChannel; // the engine loop while flying

    void update() override;
    void draw() override;
    int takeDamage(float amount) override;
    void interact(tActor* actor) override;

    // The third argument is accepted and has no effect.
    static std::shared_ptr<tHomebase> Create(float x, float y, int ignored);
    virtual void setBaseState(int newState);
    virtual void doBaseStateLanding();
    virtual void doBaseStateIdle();
    virtual void doBaseStateTakeoff();
    virtual void doBaseStateVictory();
    // Whether the program's homebase (not necessarily this one) is taking off or leaving in victory.
    virtual bool isLeaving();
    static bool programBaseLeaving();

  private:
    // Rising away; above `ceiling` the loop stops and the map screen opens.
    void rise(float ceiling);
};
