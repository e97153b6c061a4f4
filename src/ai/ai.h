#pragma once
#include <memory>

#include "engine/object.h"

class TList;

// The AI director: every 30 seconds (the first time 6 seconds into a battle) it picks a squad of the
// opposition's units nearest the homebase (two soldiers, a tank and a duster) and sends it to patrol
// around the homebase, where the squad's own fire finds the homebase and the creature.
class tAI : public Object {
  public:
    tAI();

    int mood = 0;                     // a moods value
    int timer = 0;                    // game-clock time of the next dispatch
    std::shared_ptr<TList> attackers; // the list squads are picked from (the actor list once sorted)

    static constexpr int firstDispatchDelay = 6000;
    static constexpr int dispatchDelay = 30000;

    void resetTimers();
    void reset();
    void update();
    // The actor list itself becomes the attacker list, sorted in place nearest-the-homebase first.
    void sortAttackerListByDistance();
    void setMood(int newMood);
    void doMedium();
    void doAggressive();
    // The first two soldiers of the attacker list; null when there are fewer than two.
    std::shared_ptr<TList> getNearestSoldiers();
    // The first duster (never the boss or a mine); null when there is none.
    std::shared_ptr<TList> getNearestAircraft();
    // The first tank; null when there is none.
    std::shared_ptr<TList> getNearestTank();
    // The squad: soldiers, then the tank, then the duster.
    std::shared_ptr<TList> getNearestEnemies();

  private:
    // Sends every actor of the squad to patrol around the homebase.
    void dispatch();
    std::shared_ptr<TList> firstOfKind(KindMask kind);
};
