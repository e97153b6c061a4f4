#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "buildings/air_mine_launcher.h"
#include "buildings/turret.h"
#include "entities/air_mine.h"
#include "entities/opposition_test_support.h"

namespace {

class TurretTest : public OppositionTest {
  protected:
    // Runs the turret alone in 1 ms steps and answers the times (ms after the call) of its shots.
    std::vector<int> shotTimes(tTurret& turret, int forMs) {
        std::vector<int> times;
        const int start = gameMillisecs();
        int seen = theProgram->weaponList->Count();
        for (int t = 0; t < forMs; ++t) {
            step(1);
            turret.update();
            for (; seen < theProgram->weaponList->Count(); ++seen)
                times.push_back(gameMillisecs() - start);
        }
        return times;
    }
};

TEST_F(TurretTest, TargetsWithinRangeOnlyAndHoldsItUntilItLeaves) {
    auto turret = addBuilding(tTurret::Create(2000, 350));
    player().x = 2320; // exactly 320 away: out of range
    shotTimes(*turret, 200);
    EXPECT_EQ(turret->myTarget, nullptr);
    EXPECT_EQ(theProgram->weaponList->Count(), 0);

    // The gun was ready all along: it fires as soon as the creature is in range.
    player().x = 2319;
    EXPECT_EQ(shotTimes(*turret, 1), std::vector<int>{1});
    EXPECT_EQ(turret->myTarget.get(), &player());
    EXPECT_EQ(tankShots(), 1);
    EXPECT_EQ(turret->burstCount, 1);

    // A target is kept at exactly 320 and dropped beyond it, and the burst starts over.
    player().x = 2320;
    turret->checkTarget();
    EXPECT_EQ(turret->myTarget.get(), &player());
    player().x = 2320.5f;
    turret->checkTarget();
    EXPECT_EQ(turret->myTarget, nullptr);
    EXPECT_EQ(turret->burstCount, 0);
}

TEST_F(TurretTest, KeepsItsTargetWhenANearerEnemyComesAndSkipsTheDeadCreature) {
    // The homebase stands 200 away; the creature lies dead 50 away.
    auto turret = addBuilding(tLightTurret::Create(200, 350));
    player().x = 250;
    player().setStateDead();
    shotTimes(*turret, 61);
    EXPECT_EQ(turret->myTarget.get(), &homebase());

    // The creature comes back to life right beside the turret: the turret stays on the homebase.
    player().state = states::IDLE;
    player().hp = player().hpMax;
    player().x = 205;
    shotTimes(*turret, 200);
    EXPECT_EQ(turret->myTarget.get(), &homebase());

    // A target at 0 hit points is dropped.
    homebase().hp = 0;
    turret->checkTarget();
    EXPECT_EQ(turret->myTarget, nullptr);
}

TEST_F(TurretTest, BurstsAndPausesOfTheThreeTurrets) {
    player().x = 1100;
    auto medium = addBuilding(tTurret::Create(1000, 350));
    // Two tank shots 120 ms apart, then 1120 ms from the second to the next burst.
    EXPECT_EQ(shotTimes(*medium, 2800), (std::vector<int>{120, 240, 1360, 1480, 2600, 2720}));
    EXPECT_EQ(bullets(), 0);
    theProgram->buildingList->Remove(medium.get());

    theProgram->weaponList = std::make_shared<TList>();
    auto heavy = addBuilding(tHeavyTurret::Create(1000, 350));
    // Six tank shots 80 ms apart, then 3080 ms of silence.
    EXPECT_EQ(shotTimes(*heavy, 3700), (std::vector<int>{80, 160, 240, 320, 400, 480, 3560, 3640}));
    EXPECT_EQ(bullets(), 0);
    theProgram->buildingList->Remove(heavy.get());

    theProgram->weaponList = std::make_shared<TList>();
    auto light = addBuilding(tLightTurret::Create(1000, 350));
    // Six bullets 60 ms apart (the first 60 ms after placement), then 1560 ms of silence.
    EXPECT_EQ(shotTimes(*light, 2000), (std::vector<int>{60, 120, 180, 240, 300, 360, 1920, 1980}));
    EXPECT_EQ(bullets(), 8);
}

TEST_F(TurretTest, ShotsLeaveTheMuzzleAimedAtTheTargetWithinFiveDegrees) {
    player().x = 1200; // level with the turret's feet, to the right
    auto heavy = addBuilding(tHeavyTurret::Create(1000, 350));
    shotTimes(*heavy, 480);
    ASSERT_EQ(tankShots(), 6);
    const float aim =
        angleBetween(1000, 350 - heavy->height + 16, player().getXCenter(), player().getYCenter());
    for (const auto& shot : all<tTankShot>(theProgram->weaponList)) {
        EXPECT_FLOAT_EQ(shot->x, 1000);
        EXPECT_FLOAT_EQ(shot->y, 350 - heavy->height + 16);
        EXPECT_LE(std::fabs(shot->dir - aim), 5.01f);
    }
}

TEST_F(TurretTest, AimingFrameAndFacingFollowTheTarget) {
    auto turret = addBuilding(tTurret::Create(1000, 350));
    turret->myTarget = theProgram->player;
    struct Case {
        float x, y;
        int frame, facing;
    };
    for (const Case& c : {Case{1100, 350, 1, 1}, Case{1030, 345, 0, 1}, Case{900, 300, 2, -1},
                          Case{960, 250, 3, -1}, Case{1081, 340, 1, 1}, Case{1081, 339, 2, 1}}) {
        player().x = c.x;
        player().y = c.y;
        turret->setFrame();
        EXPECT_EQ(turret->frame, c.frame) << c.x << "," << c.y;
        EXPECT_EQ(turret->facing, c.facing) << c.x << "," << c.y;
    }
    // Far from the creature the turret rests on its first frame.
    player().x = 2000;
    turret->setFrame();
    EXPECT_EQ(turret->frame, 0);
}

TEST_F(TurretTest, PauseShiftsTheGunTimers) {
    player().x = 1100;
    auto medium = addBuilding(tTurret::Create(1000, 350));
    shotTimes(*medium, 50);
    theProgram->pauseTime = gameMillisecs();
    AdvanceMillis(5000);
    medium->resetTimers();
    // The first shot, 70 ms away when the pause began, is still 70 ms away.
    EXPECT_EQ(shotTimes(*medium, 70), std::vector<int>{70});
}

TEST_F(TurretTest, LauncherSendsAMineUpOnItsFirstUpdateAndKeepsTwelveAloft) {
    auto launcher = addBuilding(tAirMineLauncher::Create(1000, 350));
    step(1);
    launcher->update();
    auto mines = all<tAirMine>(theProgram->actorList);
    ASSERT_EQ(mines.size(), 1u);
    EXPECT_FLOAT_EQ(mines[0]->x, launcher->getXCenter());
    EXPECT_FLOAT_EQ(mines[0]->y, 350 - launcher->height - 10);
    EXPECT_GE(mines[0]->dir, 260);
    EXPECT_LE(mines[0]->dir, 280);
    EXPECT_GE(mines[0]->speed, 120);
    EXPECT_LE(mines[0]->speed, 180);
    EXPECT_EQ(mines[0]->spawner, launcher);

    // One more every 500 ms, never more than twelve.
    for (int t = 0; t < 499; ++t) {
        step(1);
        launcher->update();
    }
    EXPECT_EQ(count<tAirMine>(theProgram->actorList), 1);
    for (int t = 0; t < 10000; ++t) {
        step(1);
        launcher->update();
    }
    EXPECT_EQ(count<tAirMine>(theProgram->actorList), 12);
    EXPECT_EQ(launcher->unitCounter, 12);

    // A mine shot down (twice in one pass) frees exactly one place, and it is filled again.
    auto lost = all<tAirMine>(theProgram->actorList).front();
    lost->damage(5);
    lost->damage(5);
    EXPECT_EQ(launcher->unitCounter, 11);
    for (int t = 0; t < 500; ++t) {
        step(1);
        launcher->update();
    }
    EXPECT_EQ(count<tAirMine>(theProgram->actorList), 12);
    EXPECT_EQ(launcher->unitCounter, 12);
}

TEST_F(TurretTest, TurretsAndLauncherAreMilitary) {
    addBuilding(tTurret::Create(1000, 350));
    addBuilding(tHeavyTurret::Create(1200, 350));
    addBuilding(tLightTurret::Create(1400, 350));
    auto launcher = addBuilding(tAirMineLauncher::Create(1600, 350));
    EXPECT_EQ(theProgram->militaryStrength, 4);
    EXPECT_EQ(theProgram->militaryStrengthMax, 4);
    launcher->damage(1200);
    EXPECT_EQ(theProgram->militaryStrength, 3);
    EXPECT_EQ(theProgram->militaryStrengthMax, 4);
    EXPECT_FALSE(theProgram->buildingList->Contains(launcher.get()));
}

} // namespace
