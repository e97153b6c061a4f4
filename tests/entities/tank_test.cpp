#include <gtest/gtest.h>

#include <vector>

#include "entities/effects.h"
#include "entities/matter_ball.h"
#include "entities/opposition_test_support.h"
#include "entities/tank.h"

namespace {

class TankTest : public OppositionTest {
  protected:
    // Runs the tank alone in 1 ms steps with the creature kept at `distance` to its right; answers the
    // times (ms after the call) of its shots.
    std::vector<int> shotTimes(tTank& tank, float distance, int forMs) {
        std::vector<int> times;
        const int start = gameMillisecs();
        int seen = theProgram->weaponList->Count();
        for (int t = 0; t < forMs; ++t) {
            player().x = tank.x + distance;
            step(1);
            tank.update();
            for (; seen < theProgram->weaponList->Count(); ++seen)
                times.push_back(gameMillisecs() - start);
        }
        return times;
    }
};

TEST_F(TankTest, FiresEveryTwoSecondsAtTheCreatureWithinRange) {
    auto tank = addActor(tTank::Create(2000, 350, nullptr));
    EXPECT_EQ(shotTimes(*tank, 300, 6000), (std::vector<int>{2000, 4000, 6000}));
    ASSERT_EQ(tankShots(), 3);
    // From the turret, 26 above the tracks.
    auto shot = all<tTankShot>(theProgram->weaponList).back();
    EXPECT_EQ(shot->y, 350 - 26);
    // The tank patrols its beat while it shoots.
    EXPECT_EQ(tank->currentOrder, cOrders::PATROL);
    EXPECT_NE(tank->x, 2000);
}

TEST_F(TankTest, HoldsFireBeyondRange) {
    auto tank = addActor(tTank::Create(2000, 350, nullptr));
    EXPECT_TRUE(shotTimes(*tank, 330, 6000).empty());
}

TEST_F(TankTest, DestroyedTankLeavesAMatterBallAnExplosionAndAFreePlaceAtItsFactory) {
    auto factory = addBuilding(tTankFactory::Create(3000, 350));
    factory->unitCounter = 1;
    auto tank = addActor(tTank::Create(2000, 350, factory));
    tank->damage(100);
    EXPECT_EQ(tank->hp, 130);
    EXPECT_NE(tank->imgFlash, nullptr);
    tank->damage(200);
    tank->damage(200); // a second killing hit in the same pass changes nothing
    EXPECT_FALSE(theProgram->actorList->Contains(tank.get()));
    EXPECT_EQ(factory->unitCounter, 0);
    EXPECT_EQ(count<tMatterBall>(theProgram->actorList), 1);
    auto explosions = all<tBigExplosion>(theProgram->fxList);
    ASSERT_EQ(explosions.size(), 1u);
    EXPECT_EQ(explosions[0]->x, tank->x);
    EXPECT_EQ(explosions[0]->y, 350 - 10);
}

TEST_F(TankTest, HealthBarShowsOnlyOnceDamagedFourUnitsBelowTheTracks) {
    player().x = 300;
    auto tank = addActor(tTank::Create(300, 350, nullptr));
    tank->facing = direction::FACE_RIGHT;
    auto pixelBelow = [&](float dx) {
        Cls();
        tank->draw();
        return ReadBackBufferPixel(static_cast<int>(tank->getX() + dx), static_cast<int>(tank->getY()) + 4) &
               0xFFFFFF;
    };
    EXPECT_EQ(pixelBelow(0), 0u);
    tank->damage(115); // half gone: the left half full, the right half empty
    const auto full = pixelBelow(-tank->width / 4);
    const auto empty = pixelBelow(tank->width / 4);
    EXPECT_NE(full, 0u);
    EXPECT_NE(empty, 0u);
    EXPECT_NE(full, empty);
}

} // namespace
