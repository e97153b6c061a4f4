#pragma once
#include <memory>

#include "entities/onscreen_object.h"

class tActor;

// Base of every shot and beam in the weapon list, the creature's and the enemy's: the damage it deals
// per hit, leaving the weapon list, and whether an actor can be hit at all.
class tWeapon : public tKinded<tWeapon, tOnscreenObject, Kind::Weapon> {
  public:
    int baseDamage = 0;

    void draw() override;
    // Leaves the weapon list.
    virtual void disengage();
    // False while the actor is dead or respawning.
    virtual bool hitActor(tActor* actor);
};
