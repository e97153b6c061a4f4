#include "world/level_builder.h"

#include <cstdlib>

#include "buildings/air_mine_launcher.h"
#include "buildings/building.h"
#include "buildings/turret.h"
#include "engine/engine.h"
#include "game/battle.h"
#include "game/game_clock.h"
#include "game/program.h"

namespace {

// Every building is made at x 0 (placement moves it) on the ground line.
float groundY() {
    return static_cast<float>(groundLevel());
}

void addHouse(TList& group) {
    group.AddLast(
        tHouse::Create(0, groundY(), levelBuilder::setHouseImgIndex(levelBuilder::houseImgIndex), false));
}

// Widens the edges to every building already standing beyond them.
void widenEdges(bool left, bool right) {
    if (!theProgram || !theProgram->buildingList) return;
    for (const std::shared_ptr<tBuilding>& building : theProgram->buildingList->typed<tBuilding>()) {
        if (left && building->x < levelBuilder::leftEdge) levelBuilder::leftEdge = TruncInt(building->x);
        if (right && building->x > levelBuilder::rightEdge) levelBuilder::rightEdge = TruncInt(building->x);
    }
}

void place(TList& group, int& edge, int step) {
    for (const std::shared_ptr<tBuilding>& building : group.typed<tBuilding>()) {
        building->x = static_cast<float>(edge);
        edge += step;
        battle::addBuilding(building);
    }
}

} // namespace

void levelBuilder::reset() {
    leftEdge = -360;
    rightEdge = 360;
    nextSide = -1;
}

int levelBuilder::setHouseImgIndex(int& index) {
    index = index < 4 ? index + 1 : 1;
    return index;
}

float levelBuilder::placeBuildings(TList& group) {
    if (nextSide == -1) {
        widenEdges(true, false);
        leftEdge -= 120;
        // The left side is filled from its right end, so the group still reads left to right.
        group.Reverse();
        place(group, leftEdge, -100);
    } else {
        widenEdges(false, true);
        rightEdge += 120;
        place(group, rightEdge, 100);
    }
    nextSide = -nextSide;
    return 0;
}

void levelBuilder::makeNeighbourhood() {
    TList group;
    addHouse(group);
    addHouse(group);
    addHouse(group);
    placeBuildings(group);
}

void levelBuilder::makeGuardedNeighbourhood() {
    TList group;
    addHouse(group);
    addHouse(group);
    group.AddLast(tLightTurret::Create(0, groundY()));
    addHouse(group);
    addHouse(group);
    placeBuildings(group);
}

void levelBuilder::makeSimpleBase() {
    TList group;
    addHouse(group);
    group.AddLast(tBarracks::Create(0, groundY()));
    group.AddLast(tLightTurret::Create(0, groundY()));
    addHouse(group);
    placeBuildings(group);
}

void levelBuilder::makeAirminePost() {
    TList group;
    group.AddLast(tAirMineLauncher::Create(0, groundY()));
    group.AddLast(tTurret::Create(0, groundY()));
    placeBuildings(group);
}

void levelBuilder::makeAirBase() {
    TList group;
    group.AddLast(tAirpad::Create(0, groundY()));
    group.AddLast(tLightTurret::Create(0, groundY()));
    addHouse(group);
    placeBuildings(group);
}

void levelBuilder::makeFactory() {
    TList group;
    group.AddLast(tTankFactory::Create(0, groundY()));
    group.AddLast(tLightTurret::Create(0, groundY()));
    placeBuildings(group);
}

void levelBuilder::makeHeavyDefense() {
    TList group;
    group.AddLast(tHeavyTurret::Create(0, groundY()));
    group.AddLast(tAirMineLauncher::Create(0, groundY()));
    placeBuildings(group);
}

float levelBuilder::getRandomWhitespace() {
    return static_cast<float>(RandomReal(20.0, 60.0));
}

float levelBuilder::getStartPoint(int n) {
    widenEdges(true, true);
    const float d = static_cast<float>(startPointStep * n + RandomInt(40, 120));
    // Measured out from the side that reaches less far.
    if (std::abs(leftEdge) > rightEdge) return rightEdge + d - d / 2;
    return leftEdge - d - d / 2;
}
