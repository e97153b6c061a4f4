#pragma once
#include <memory>

#include "engine/object.h"

class tFoo;

// The campaign record for one run: which mission is being played and which mission nodes are closed,
// plus a record of the creature's five traits. Nothing of it outlives the program.
class tPersistence : public Object {
  public:
    static constexpr int kMissionCount = 4;
    static constexpr int kBossMission = 3;

    int currentMissionId = 0;
    // Per mission id: 1 = the node is closed, 0 = open. The boss node starts closed.
    int nodeLock[kMissionCount] = {0, 0, 0, 1};
    bool unlockLaser = false;
    bool unlockPhotons = false;
    bool unlockFlak = false;
    bool unlockShield = false;
    bool unlockSpaceWarp = false;

    virtual ~tPersistence() = default;

    // Closes a mission's node; the boss node opens exactly when the three others are closed.
    virtual void lockNode(int id);
    virtual void unlockNode(int id);
    // 1 when the node is closed. An id outside 0-3 names no node and reads as closed.
    virtual int getLock(int id);
    virtual void savePlayerUpgrades(const std::shared_ptr<tFoo>& foo);
    virtual void loadPlayerUpgrades(const std::shared_ptr<tFoo>& foo);
    virtual void resetPlayerUpgrades();

  private:
    static bool validId(int id) { return id >= 0 && id < kMissionCount; }
};
