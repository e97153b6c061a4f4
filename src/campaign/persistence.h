#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "engine/file_frame.h"
#include "engine/object.h"

class tFoo;

// The campaign record: which mission is being played and which mission nodes are closed, plus a record
// of the creature's five traits. What lasts from one mission to the next (the nodes and the traits) is
// kept in the saved campaign (tCampaignFile); the mission being played is not.
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

    // What the saved campaign keeps of the record (version kRecordVersion): one byte per node, 0 open or
    // 1 closed, then one byte with a bit per trait, laser first.
    static constexpr std::uint32_t kRecordVersion = 1;
    std::string encode() const;
    // Reads what encode wrote into this record; a record that is not one (wrong length, a node neither
    // open nor closed, unknown trait bits) is damaged and changes nothing.
    FileCheck decode(std::string_view contents, std::uint32_t version);
    // How many of the three missions before the boss's are won (their nodes closed).
    int missionsWon() const;

  private:
    static bool validId(int id) { return id >= 0 && id < kMissionCount; }
};
