// Buildings: production on the timer, destruction, military strength and houses.
#include "player/battle_test_support.h"

#include "entities/effects.h"
#include "entities/matter_ball.h"
#include "entities/tank.h"

namespace {

class BuildingTest : public BattleTest {
  protected:
    void SetUp() override {
        BattleTest::SetUp();
        larva->x = -5000; // out of reach of every soldier
    }
    template <class B> std::shared_ptr<B> place(std::shared_ptr<B> building) {
        theProgram->buildingList->AddLast(building);
        return building;
    }
    int soldiersOf(const std::shared_ptr<tBuilding>& building) {
        int n = 0;
        for (const auto& soldier : theProgram->actorList->typed<tSoldier>())
            n += soldier->spawner == building ? 1 : 0;
        return n;
    }
};

TEST_F(BuildingTest, BarracksTrainsASoldierEverySixSecondsOfPlayUpToFiveAndReplacesALoss) {
    auto barracks = place(tBarracks::Create(5000, kGround));
    runBattle(5990);
    EXPECT_EQ(soldiersOf(barracks), 0);
    runBattle(10);
    ASSERT_EQ(soldiersOf(barracks), 1);
    auto first = firstIn<tSoldier>(theProgram->actorList);
    EXPECT_FLOAT_EQ(first->x, 5000);
    EXPECT_FLOAT_EQ(first->y, kGround);
    // A 10 s pause 3 s into the next wait: the second soldier comes 3 s after play resumes.
    runBattle(3000);
    theProgram->pauseTime = gameMillisecs();
    AdvanceMillis(10000);
    theProgram->resetAllTimers();
    runBattle(2990);
    EXPECT_EQ(soldiersOf(barracks), 1);
    runBattle(10);
    EXPECT_EQ(soldiersOf(barracks), 2);
    runBattle(18000); // T + 30 s of play
    EXPECT_EQ(soldiersOf(barracks), 5);
    EXPECT_EQ(barracks->unitCounter, 5);
    runBattle(10000); // T + 40 s: still five, the attempt at 36 s found it full
    EXPECT_EQ(soldiersOf(barracks), 5);
    first->damage(1);
    EXPECT_EQ(barracks->unitCounter, 4);
    runBattle(1990);
    EXPECT_EQ(soldiersOf(barracks), 4);
    runBattle(10); // T + 42 s
    EXPECT_EQ(soldiersOf(barracks), 5);
}

TEST_F(BuildingTest, TankFactoryKeepsAtMostTwoTanks) {
    auto factory = place(tTankFactory::Create(5000, kGround));
    runBattle(12000 * 4);
    EXPECT_EQ(countIn<tTank>(theProgram->actorList), 2);
    EXPECT_EQ(factory->unitCounter, 2);
}

TEST_F(BuildingTest, AHitFlashesAndTruncationDecidesDestruction) {
    auto barracks = place(tBarracks::Create(500, kGround));
    auto other = place(tAirpad::Create(900, kGround));
    EXPECT_FLOAT_EQ(theProgram->militaryStrength, 2);
    barracks->damage(999);
    EXPECT_EQ(barracks->hp, 1);
    EXPECT_NE(barracks->imgFlash, nullptr);
    barracks->hp = 1000;
    barracks->damage(999.9f);
    EXPECT_EQ(barracks->hp, 0);
    EXPECT_FALSE(theProgram->buildingList->Contains(barracks.get()));
    EXPECT_EQ(countIn<tBigExplosion>(theProgram->fxList), 1);
    EXPECT_EQ(countIn<tMatterBall>(theProgram->actorList), 2);
    EXPECT_FLOAT_EQ(theProgram->militaryStrength, 1);
    EXPECT_FLOAT_EQ(theProgram->militaryStrengthMax, 2);
    EXPECT_EQ(base->baseState, cBaseStates::IDLE);
    (void)other;
}

TEST_F(BuildingTest, ADestroyedBuildingHitAgainChangesNothing) {
    auto barracks = place(tBarracks::Create(500, kGround));
    place(tBarracks::Create(900, kGround));
    barracks->damage(2000);
    barracks->damage(50); // a reference kept by someone (a laser's last target, a turret's aim)
    barracks->damage(2000);
    EXPECT_FLOAT_EQ(theProgram->militaryStrength, 1);
    EXPECT_EQ(countIn<tBigExplosion>(theProgram->fxList), 1);
    EXPECT_EQ(countIn<tMatterBall>(theProgram->actorList), 2);
}

TEST_F(BuildingTest, LosingTheLastMilitaryBuildingWinsTheMissionUnlessTheHomebaseFled) {
    auto barracks = place(tBarracks::Create(500, kGround));
    auto house = place(tHouse::Create(700, kGround, 2, false));
    house->damage(1000);
    EXPECT_EQ(base->baseState, cBaseStates::IDLE) << "houses are not military";
    barracks->damage(1000);
    EXPECT_FLOAT_EQ(theProgram->militaryStrength, 0);
    EXPECT_EQ(base->baseState, cBaseStates::VICTORY);

    // The homebase destroyed first: a shot still in flight that fells the last one does not win it.
    base->setBaseState(cBaseStates::IDLE);
    base->damage(static_cast<float>(base->hp));
    ASSERT_EQ(base->baseState, cBaseStates::TAKEOFF);
    place(tBarracks::Create(900, kGround))->damage(1000);
    EXPECT_FLOAT_EQ(theProgram->militaryStrength, 0);
    EXPECT_EQ(base->baseState, cBaseStates::TAKEOFF);
}

TEST_F(BuildingTest, ADestroyedHouseReleasesThreeCiviliansAndTwoMatterBalls) {
    auto house = place(tHouse::Create(700, kGround, 3, false));
    EXPECT_EQ(house->hp, 400);
    EXPECT_EQ(house->defaultImg, gfx::house03);
    house->damage(400);
    std::vector<float> xs;
    for (const auto& civilian : theProgram->actorList->typed<tCivilian>())
        xs.push_back(civilian->x);
    EXPECT_EQ(xs, (std::vector<float>{693, 700, 707}));
    EXPECT_EQ(countIn<tMatterBall>(theProgram->actorList), 2);
    EXPECT_FALSE(theProgram->buildingList->Contains(house.get()));
    house->damage(400);
    EXPECT_EQ(countIn<tCivilian>(theProgram->actorList), 3) << "no second set of civilians";
}

TEST_F(BuildingTest, HousePictureIndexOutsideOneToFourUsesTheFirstPicture) {
    auto house = tHouse::Create(0, kGround, 7, false);
    EXPECT_EQ(house->imgIndex, 7);
    EXPECT_EQ(house->defaultImg, gfx::house01);
    const float width = house->width;
    house->setImgIndex(4);
    EXPECT_EQ(house->defaultImg, gfx::house04);
    EXPECT_FLOAT_EQ(house->width, width) << "the box keeps the first picture's size";
}

} // namespace
