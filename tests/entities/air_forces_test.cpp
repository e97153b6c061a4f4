#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "buildings/air_mine_launcher.h"
#include "entities/air_mine.h"
#include "entities/duster.h"
#include "entities/effects.h"
#include "entities/matter_ball.h"
#include "entities/opposition_test_support.h"
#include "entities/person.h"
#include "entities/super_copter.h"

namespace {

using AirForcesTest = OppositionTest;

// --- dusters -----------------------------------------------------------------------------------------

TEST_F(AirForcesTest, DusterSettlesAtItsAltitudeBeforeItPatrols) {
    player().x = 9000;
    auto duster = addActor(tDuster::Create(1000, 350, nullptr));
    EXPECT_GE(duster->wantedAltitude, 100);
    EXPECT_LE(duster->wantedAltitude, 250);
    duster->wantedAltitude = 200;
    int climbed = 0;
    while (duster->reachedWantedHeight == 0 && climbed < 5000) {
        EXPECT_EQ(duster->currentOrder, 0);
        EXPECT_FLOAT_EQ(duster->x, 1000);
        step(1);
        duster->update();
        ++climbed;
    }
    EXPECT_EQ(duster->reachedWantedHeight, 1);
    EXPECT_NEAR(duster->y, 200, 2.5);
    // Then a beat of 400 either side of where it stands.
    EXPECT_EQ(duster->currentOrder, cOrders::PATROL);
    EXPECT_EQ(duster->anchorX, 1000);
    EXPECT_EQ(std::fabs(duster->targetX - 1000), 400);
}

TEST_F(AirForcesTest, DusterFiresBurstsOfFourThenPausesFourSeconds) {
    auto duster = addActor(tDuster::Create(1000, 200, nullptr));
    duster->reachedWantedHeight = 1;
    std::vector<int> times;
    const int start = gameMillisecs();
    int seen = 0;
    for (int t = 0; t < 4700; ++t) {
        player().x = duster->x + 100;
        step(1);
        duster->update();
        for (; seen < theProgram->weaponList->Count(); ++seen)
            times.push_back(gameMillisecs() - start);
    }
    EXPECT_EQ(times, (std::vector<int>{80, 160, 240, 320, 4400, 4480, 4560, 4640}));
    EXPECT_EQ(bullets(), 8);
    for (const auto& bullet : all<tBullet>(theProgram->weaponList))
        EXPECT_FLOAT_EQ(bullet->y, 200);
}

TEST_F(AirForcesTest, DusterRamsTheCreatureAtMostTwiceASecond) {
    player().x = 1000;
    player().y = 300;
    auto duster = addActor(tDuster::Create(1010, 295, nullptr));
    duster->reachedWantedHeight = 1;
    duster->checkPlayerCollision();
    EXPECT_EQ(player().hp, 30);
    EXPECT_EQ(duster->hp, 90);
    EXPECT_EQ(duster->state, states::KNOCKBACK);
    EXPECT_EQ(player().state, states::KNOCKBACK);
    EXPECT_EQ(duster->speed, 200);
    EXPECT_EQ(player().speed, 200);
    EXPECT_NEAR(duster->dir, angleBetween(1000, 300, 1010, 295), 0.01);
    EXPECT_NEAR(player().dir, angleBetween(1010, 295, 1000, 300), 0.01);
    EXPECT_EQ(duster->reachedWantedHeight, 0);

    // Still touching: nothing more for 500 ms of play (the hit pauses do not count).
    AdvanceMillis(499);
    duster->checkPlayerCollision();
    EXPECT_EQ(player().hp, 30);
    AdvanceMillis(1);
    duster->checkPlayerCollision();
    EXPECT_EQ(player().hp, 20);
    EXPECT_EQ(duster->hp, 80);
}

TEST_F(AirForcesTest, DusterShowsItsSideWhileMovingSideways) {
    auto duster = tDuster::Create(1000, 200, nullptr);
    EXPECT_EQ(duster->defaultImg, gfx::dusterFront);
    duster->xVel = -30;
    duster->setImg();
    EXPECT_EQ(duster->defaultImg, gfx::dusterSideways);
    duster->xVel = 0;
    duster->setImg();
    EXPECT_EQ(duster->defaultImg, gfx::dusterFront);
}

// --- the boss ----------------------------------------------------------------------------------------

struct Volley {
    int time;
    float muzzleFromCentre;
    std::vector<float> angles;
    bool operator==(const Volley&) const = default;
};

class BossTest : public OppositionTest {
  protected:
    // Runs the boss alone with the creature kept `distance` to its right, level with it; answers its
    // volleys (time after the call, muzzle x relative to the boss, the shots' angles).
    std::vector<Volley> volleys(tSuperCopter& boss, float distance, int forMs) {
        std::vector<Volley> found;
        const int start = gameMillisecs();
        int seen = 0;
        for (int t = 0; t < forMs; ++t) {
            player().x = boss.x + distance;
            player().y = boss.y;
            step(1);
            boss.update();
            auto shots = all<tTankShot>(theProgram->weaponList);
            if (static_cast<int>(shots.size()) == seen) continue;
            Volley v{gameMillisecs() - start, shots[seen]->x - boss.x, {}};
            for (; seen < static_cast<int>(shots.size()); ++seen)
                v.angles.push_back(shots[seen]->dir);
            found.push_back(v);
        }
        return found;
    }
};

TEST_F(BossTest, HuntsAroundTheHomebaseAtAltitudeEighty) {
    homebase().x = 500;
    auto boss = tSuperCopter::Create(3200, 84);
    EXPECT_EQ(boss->hp, 4000);
    EXPECT_EQ(boss->currentOrder, cOrders::PATROL);
    EXPECT_EQ(boss->anchorX, 500);
    EXPECT_EQ(std::fabs(boss->targetX - 500), 1200);
    EXPECT_EQ(boss->width, 306);
    EXPECT_EQ(boss->height, 70);
    ASSERT_NE(boss->engineImg, nullptr);
    EXPECT_EQ(boss->engineImg->FrameCount(), 4);

    // From 84 it settles at 80 (within 2) and stays there while it flies to its beat.
    player().x = -20000; // out of range: no volleys
    for (int t = 0; t < 10000; ++t) {
        step(1);
        boss->update();
        ASSERT_TRUE(t < 2000 || std::fabs(boss->y - 80) <= 2) << t << " ms: " << boss->y;
    }
    EXPECT_LT(boss->x, 3200 - 500);
}

TEST_F(BossTest, FiresNothingWhileTheCreatureIs1280Away) {
    auto boss = addActor(tSuperCopter::Create(6000, 80));
    EXPECT_TRUE(volleys(*boss, 1280, 5000).empty());
}

TEST_F(BossTest, FiresFourFansFromOneWingThenPausesAndSwitchesWings) {
    auto boss = addActor(tSuperCopter::Create(6000, 80));
    const std::vector<float> fan{135, 90, 45};
    // The wing cannons sit 74 either side of the centre line.
    const std::vector<Volley> expected = {{2000, -74, fan}, {2150, -74, fan}, {2300, -74, fan},
                                          {2450, -74, fan}, {4450, 74, fan},  {4600, 74, fan},
                                          {4750, 74, fan},  {4900, 74, fan},  {6900, -74, fan}};
    auto found = volleys(*boss, 1279, 7000);
    ASSERT_EQ(found.size(), expected.size());
    for (size_t i = 0; i < found.size(); ++i) {
        EXPECT_EQ(found[i].time, expected[i].time) << i;
        // (The boss moves on by up to 0.08 after it fired in the same pass.)
        EXPECT_NEAR(found[i].muzzleFromCentre, expected[i].muzzleFromCentre, 0.1) << i;
        EXPECT_EQ(found[i].angles, expected[i].angles) << i;
    }
}

TEST_F(BossTest, BurnsForTwoSecondsThenLeavesOneMatterBall) {
    auto boss = addActor(tSuperCopter::Create(6000, 80));
    player().x = 9000;
    const int before = gameMillisecs();
    boss->damage(3999.5f);
    EXPECT_EQ(boss->hp, 0);
    EXPECT_EQ(boss->state, states::DEAD);
    EXPECT_EQ(boss->imgFlash, nullptr); // no flash
    EXPECT_EQ(gameMillisecs(), before); // and no hit pause
    std::vector<int> blasts;
    int seen = 0;
    for (int t = 1; t < 2000; ++t) {
        step(1);
        boss->update();
        boss->damage(500); // further hits do nothing
        for (; seen < theProgram->fxList->Count(); ++seen)
            blasts.push_back(t);
    }
    EXPECT_EQ(boss->hp, 0);
    EXPECT_TRUE(theProgram->actorList->Contains(boss.get()));
    ASSERT_GE(blasts.size(), 19u);
    EXPECT_LE(blasts.size(), 20u);
    for (size_t i = 1; i < blasts.size(); ++i)
        EXPECT_EQ(blasts[i] - blasts[i - 1], 100);
    for (const auto& blast : all<tBigExplosion>(theProgram->fxList)) {
        EXPECT_LE(std::fabs(blast->x - boss->x), boss->width / 2);
        EXPECT_LE(std::fabs(blast->y - boss->y), boss->height / 2);
    }
    step(1);
    boss->update();
    EXPECT_FALSE(theProgram->actorList->Contains(boss.get()));
    EXPECT_EQ(count<tMatterBall>(theProgram->actorList), 1);
}

TEST_F(BossTest, PushesTheCreatureAwayWithoutBudging) {
    auto boss = addActor(tSuperCopter::Create(6000, 80));
    player().x = 6010;
    player().y = 90;
    boss->checkPlayerCollision();
    EXPECT_EQ(player().hp, 30);
    EXPECT_EQ(player().state, states::KNOCKBACK);
    EXPECT_EQ(boss->hp, 4000);
    EXPECT_NE(boss->state, states::KNOCKBACK);
    // A dead creature is not hit again.
    player().setStateDead();
    const int hp = player().hp;
    boss->checkPlayerCollision();
    EXPECT_EQ(player().hp, hp);
}

// --- air mines ---------------------------------------------------------------------------------------

TEST_F(AirForcesTest, MineLaunchedAt150CoastsOneAndAHalfSeconds) {
    player().x = 9000;
    auto mine = addActor(tAirMine::Create(1000, 290, 270, 150, nullptr));
    EXPECT_EQ(mine->hp, 0);
    EXPECT_FALSE(mine->onRadar);
    EXPECT_EQ(mine->matterballs, 0);
    for (int t = 0; t < 1490; ++t) {
        step(1);
        mine->update();
    }
    EXPECT_TRUE(mine->isLaunching());
    for (int t = 0; t < 20; ++t) {
        step(1);
        mine->update();
    }
    EXPECT_FALSE(mine->isLaunching());
    EXPECT_EQ(mine->speed, 0);
    // Straight up, slowing from 150: 150 * 1.5 - 50 * 1.5^2 = 112.5 climbed.
    EXPECT_NEAR(mine->x, 1000, 0.01);
    EXPECT_NEAR(mine->y, 290 - 112.5, 1.0);
}

TEST_F(AirForcesTest, DriftingMineOvershootsItsPointAndSwingsBack) {
    player().x = 9000;
    auto mine = addActor(tAirMine::Create(1000, 200, -1, -1, nullptr));
    mine->targetX = 1060;
    mine->targetY = 200;
    float furthest = 0;
    bool cameBack = false;
    for (int t = 0; t < 15000; ++t) {
        step(1);
        mine->update();
        furthest = std::max(furthest, mine->x);
        if (furthest > 1070 && mine->x < 1060) cameBack = true;
    }
    EXPECT_GT(furthest, 1070);
    EXPECT_TRUE(cameBack);
}

TEST_F(AirForcesTest, DetonationHurtsTheCreatureButNotASoldierBesideIt) {
    auto launcher = addBuilding(tAirMineLauncher::Create(3000, 350));
    launcher->unitCounter = 1;
    auto mine = addActor(tAirMine::Create(1000, 300, -1, -1, launcher));
    mine->targetX = 1000;
    mine->targetY = 300;
    auto soldier = addActor(tSoldier::Create(1005, 300, nullptr));
    player().x = 1010;
    player().y = 330;
    step(5);
    mine->update();
    EXPECT_FALSE(theProgram->actorList->Contains(mine.get()));
    EXPECT_EQ(player().hp, 40 - 25); // one blast, no ram after it
    EXPECT_EQ(player().state, states::KNOCKBACK);
    EXPECT_EQ(player().speed, 300);
    EXPECT_TRUE(theProgram->actorList->Contains(soldier.get()));
    EXPECT_EQ(soldier->hp, 1);
    EXPECT_NE(soldier->state, states::KNOCKBACK);
    EXPECT_EQ(launcher->unitCounter, 0);
    EXPECT_EQ(count<tBigExplosion>(theProgram->fxList), 1);
    EXPECT_EQ(count<tMatterBall>(theProgram->actorList), 0);
}

TEST_F(AirForcesTest, MineShotDownExplodesWithoutHurtingAnyone) {
    auto mine = addActor(tAirMine::Create(1000, 300, -1, -1, nullptr));
    player().x = 1010;
    player().y = 330;
    mine->damage(3);
    EXPECT_FALSE(theProgram->actorList->Contains(mine.get()));
    EXPECT_EQ(count<tBigExplosion>(theProgram->fxList), 1);
    EXPECT_EQ(player().hp, 40);
}

} // namespace
