#include "campaign/persistence.h"

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
