#include "campaign/persistence.h"

#include <algorithm>

#include "player/foo.h"

void tPersistence::lockNode(int id) {
    if (validId(id)) nodeLock[id] = 1;
    // The boss rule runs on every call, whatever the id.
    const bool threeWon = nodeLock[0] != 0 && nodeLock[1] != 0 && nodeLock[2] != 0;
    nodeLock[kBossMission] = threeWon ? 0 : 1;
}

void tPersistence::unlockNode(int id) {
    if (validId(id)) nodeLock[id] = 0;
}

int tPersistence::getLock(int id) {
    return validId(id) ? nodeLock[id] : 1;
}

void tPersistence::savePlayerUpgrades(const std::shared_ptr<tFoo>& foo) {
    if (!foo) return;
    unlockLaser = foo->unlockLaser;
    unlockPhotons = foo->unlockPhotons;
    unlockFlak = foo->unlockFlak;
    unlockShield = foo->unlockShield;
    unlockSpaceWarp = foo->unlockSpaceWarp;
}

void tPersistence::loadPlayerUpgrades(const std::shared_ptr<tFoo>& foo) {
    if (!foo) return;
    foo->unlockLaser = unlockLaser;
    foo->unlockPhotons = unlockPhotons;
    foo->unlockFlak = unlockFlak;
    foo->unlockShield = unlockShield;
    foo->unlockSpaceWarp = unlockSpaceWarp;
}

void tPersistence::resetPlayerUpgrades() {
    unlockLaser = unlockPhotons = unlockFlak = unlockShield = unlockSpaceWarp = false;
}

std::string tPersistence::encode() const {
    std::string bytes;
    for (int lock : nodeLock)
        bytes.push_back(static_cast<char>(lock != 0 ? 1 : 0));
    const bool traits[] = {unlockLaser, unlockPhotons, unlockFlak, unlockShield, unlockSpaceWarp};
    int bits = 0;
    for (int i = 0; i < 5; ++i)
        bits |= traits[i] ? 1 << i : 0;
    bytes.push_back(static_cast<char>(bits));
    return bytes;
}

FileCheck tPersistence::decode(std::string_view contents, std::uint32_t version) {
    if (version != kRecordVersion || contents.size() != kMissionCount + 1)
        return FileCheck::damaged("it holds no campaign");
    int locks[kMissionCount];
    for (int i = 0; i < kMissionCount; ++i) {
        locks[i] = static_cast<unsigned char>(contents[i]);
        if (locks[i] > 1) return FileCheck::damaged("it holds no campaign");
    }
    const int bits = static_cast<unsigned char>(contents[kMissionCount]);
    if (bits > 31) return FileCheck::damaged("it holds no campaign");
    std::copy(locks, locks + kMissionCount, nodeLock);
    unlockLaser = bits & 1;
    unlockPhotons = bits & 2;
    unlockFlak = bits & 4;
    unlockShield = bits & 8;
    unlockSpaceWarp = bits & 16;
    return FileCheck::good();
}

int tPersistence::missionsWon() const {
    int won = 0;
    for (int i = 0; i < kBossMission; ++i)
        won += nodeLock[i] != 0 ? 1 : 0;
    return won;
}
