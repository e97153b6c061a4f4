#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "buildings/air_mine_launcher.h"
#include "buildings/turret.h"
#include "entities/opposition_test_support.h"
#include "entities/person.h"
#include "world/level_builder.h"

namespace {

// A one-letter name per building class, so a layout reads as a string.
char letterOf(tBuilding& b) {
    if (objectAs<tHouse>(&b)) return 'H';
    if (objectAs<tBarracks>(&b)) return 'B';
    if (objectAs<tTankFactory>(&b)) return 'F';
    if (objectAs<tAirpad>(&b)) return 'P';
    if (objectAs<tLightTurret>(&b)) return 'l';
    if (objectAs<tHeavyTurret>(&b)) return 'h';
    if (objectAs<tTurret>(&b)) return 't';
    if (objectAs<tAirMineLauncher>(&b)) return 'M';
    return '?';
}

class LevelBuilderTest : public ShellTest {
  protected:
    // The opposition's buildings (not the homebase), left to right, as (x, letter).
    static std::vector<std::pair<int, char>> layout() {
        std::vector<std::pair<int, char>> found;
        for (const auto& b : theProgram->buildingList->typed<tBuilding>())
            if (!objectAs<tHomebase>(b.get())) found.emplace_back(static_cast<int>(b->x), letterOf(*b));
        std::sort(found.begin(), found.end());
        return found;
    }
    static std::vector<std::shared_ptr<tBuilding>> military() {
        std::vector<std::shared_ptr<tBuilding>> found;
        for (const auto& b : theProgram->buildingList->typed<tBuilding>())
            if (b->isMilitary) found.push_back(b);
        return found;
    }
};

TEST_F(LevelBuilderTest, EveryMissionLaysOutItsRecipeBuildingByBuilding) {
    // Groups in creation order, the missions' recipes, and where each recipe must reach.
    const std::string neighbourhood = "HHH", guarded = "HHlHH", simpleBase = "HBlH", factory = "Fl",
                      airBase = "PlH", minePost = "Mt", heavy = "hM";
    const std::vector<std::string> recipes[4] = {
        {neighbourhood, neighbourhood, guarded, guarded, simpleBase, simpleBase},
        {simpleBase, neighbourhood, neighbourhood, factory, factory, simpleBase},
        {neighbourhood, guarded, simpleBase, factory, airBase, minePost, factory, guarded},
        {guarded, guarded, simpleBase, factory, heavy, heavy, neighbourhood, neighbourhood, neighbourhood,
         neighbourhood, heavy, heavy}};
    const std::pair<int, int> reach[4] = {{-1820, 1820}, {-1520, 1520}, {-1940, 2140}, {-2880, 2680}};
    for (int mission = 0; mission < 4; ++mission) {
        // Groups alternate left and right, each 220 beyond the outermost building on its side, 100 apart,
        // reading left to right in creation order on both sides.
        std::vector<std::pair<int, char>> expected;
        int left = -260, right = 260, side = -1; // as if a building stood 100 inside each edge
        for (const std::string& group : recipes[mission]) {
            const int n = static_cast<int>(group.size());
            int& edge = side < 0 ? left : right;
            const int first = side < 0 ? edge - 220 - 100 * (n - 1) : edge + 220;
            for (int i = 0; i < n; ++i)
                expected.emplace_back(first + 100 * i, group[i]);
            edge = side < 0 ? first : first + 100 * (n - 1);
            side = -side;
        }
        std::sort(expected.begin(), expected.end());
        theProgram->initBattleField(mission);
        const auto built = layout();
        EXPECT_EQ(built, expected) << "mission " << mission;
        ASSERT_FALSE(built.empty());
        EXPECT_EQ(std::make_pair(built.front().first, built.back().first), reach[mission]) << mission;
        for (const auto& b : theProgram->buildingList->typed<tBuilding>())
            EXPECT_EQ(b->y, objectAs<tHomebase>(b.get()) ? b->y : 350) << "on the ground line";
    }
    // The list runs homebase first, then in placement order (nearest the centre first, alternating).
    std::vector<int> order;
    for (const auto& b : theProgram->buildingList->typed<tBuilding>())
        order.push_back(static_cast<int>(b->x));
    EXPECT_EQ(std::vector<int>(order.begin(), order.begin() + 8),
              (std::vector<int>{0, -480, -580, -680, -780, -880, 480, 580}));
}

TEST_F(LevelBuilderTest, GroupsAlternateSidesAndStartBeyondWhateverStandsThere) {
    levelBuilder::reset();
    levelBuilder::makeNeighbourhood();
    auto l = layout();
    EXPECT_EQ(l, (std::vector<std::pair<int, char>>{{-680, 'H'}, {-580, 'H'}, {-480, 'H'}}));
    levelBuilder::makeFactory();
    EXPECT_EQ(layout().back(), std::make_pair(580, 'l'));

    // A building standing far out on the left moves the next left group beyond it; objects that are
    // not buildings do not count.
    Log log;
    auto stranger = std::make_shared<Recorder>("stranger", &log, 0);
    stranger->x = -5000;
    theProgram->buildingList->AddLast(stranger);
    theProgram->buildingList->AddLast(tHouse::Create(-2000, 350, 1, false));
    levelBuilder::makeFactory();
    l = layout();
    EXPECT_EQ(l[0], std::make_pair(-2220, 'F'));
    EXPECT_EQ(l[1], std::make_pair(-2120, 'l'));
    EXPECT_EQ(levelBuilder::nextSide, 1);
}

TEST_F(LevelBuilderTest, HouseImagesCycleAcrossMissions) {
    int index = 4;
    EXPECT_EQ(levelBuilder::setHouseImgIndex(index), 1);
    EXPECT_EQ(index, 1);
    EXPECT_EQ(levelBuilder::setHouseImgIndex(index), 2);

    auto houseAt = [](int x) -> std::shared_ptr<tHouse> {
        for (const auto& house : theProgram->buildingList->typed<tHouse>())
            if (house->x == x) return house;
        return nullptr;
    };
    levelBuilder::houseImgIndex = 1;
    theProgram->initBattleField(0);
    // The first neighbourhood's houses in the order they were made (left to right), then the second.
    EXPECT_EQ(houseAt(-680)->imgIndex, 2);
    EXPECT_EQ(houseAt(-580)->imgIndex, 3);
    EXPECT_EQ(houseAt(-480)->imgIndex, 4);
    EXPECT_EQ(houseAt(480)->imgIndex, 1);
    EXPECT_EQ(houseAt(480)->defaultImg, gfx::house01);
    EXPECT_EQ(houseAt(580)->imgIndex, 2);
    EXPECT_EQ(houseAt(580)->defaultImg, gfx::house02);
    // Eighteen houses later the cycle stands at 3 and the next mission carries on from there.
    EXPECT_EQ(levelBuilder::houseImgIndex, 3);
    theProgram->initBattleField(1);
    EXPECT_EQ(houseAt(-780)->imgIndex, 4);
    EXPECT_EQ(houseAt(-480)->imgIndex, 1);
    EXPECT_EQ(houseAt(480)->imgIndex, 2);
}

TEST_F(LevelBuilderTest, MilitaryStrengthFallsWithEachMilitaryBuildingUntilVictory) {
    theProgram->initBattleField(0);
    auto targets = military();
    ASSERT_EQ(targets.size(), 6u);                                      // two barracks and four light turrets
    std::vector<std::string> seen{theProgram->militaryStrengthText()};
    for (const auto& building : targets) {
        EXPECT_NE(theProgram->playerBase->baseState, cBaseStates::VICTORY);
        building->damage(static_cast<float>(building->hp));
        seen.push_back(theProgram->militaryStrengthText());
    }
    EXPECT_EQ(theProgram->playerBase->baseState, cBaseStates::VICTORY);
    const std::vector<std::string> expected = {
        "Military strength: 100", "Military strength: 83", "Military strength: 66", "Military strength: 50",
        "Military strength: 33",  "Military strength: 16", "Military strength: 0"};
    EXPECT_EQ(seen, expected);
}

} // namespace
