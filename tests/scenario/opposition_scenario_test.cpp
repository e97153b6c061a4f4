// The opposition through the real program: every mission's battlefield produces and fights back,
// the director sends squads to the homebase, the mine post keeps its mines aloft with its turret
// firing, and the boss hunts the larva and burns when it falls. Frames of each mission's start and of
// the fights are written to frames/ beside the tests (or $VEVU_FRAMES_DIR) for people to look at.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "buildings/air_mine_launcher.h"
#include "buildings/homebase.h"
#include "buildings/turret.h"
#include "entities/air_mine.h"
#include "entities/duster.h"
#include "entities/effects.h"
#include "entities/person.h"
#include "entities/super_copter.h"
#include "entities/tank.h"
#include "player/enemy_projectiles.h"
#include "player/foo.h"
#include "driver/harness.h"
#include "world/map.h"

namespace {

std::string frameDir() {
    const char* dir = std::getenv("VEVU_FRAMES_DIR");
    std::filesystem::path path = dir ? dir : "frames";
    std::error_code ignored;
    std::filesystem::create_directories(path, ignored);
    return path.string();
}

class OppositionScenario : public ::testing::Test {
  protected:
    Harness game{4};
    void SetUp() override { game.drawEvery = 50; }
    tFoo& larva() { return *game.program().player; }
    tHomebase& base() { return *game.program().playerBase; }
    void save(const std::string& name) { EXPECT_TRUE(game.saveFrame(frameDir() + "/" + name)); }
    template <class T> int count(const std::shared_ptr<TList>& list) {
        int n = 0;
        for (const auto& object : list->typed<T>())
            n += object ? 1 : 0;
        return n;
    }
    // Puts the larva somewhere on the battlefield, standing, at full health.
    void moveLarva(float x, float y) {
        larva().x = x;
        larva().y = y;
        larva().xVel = larva().yVel = 0;
        larva().hp = larva().hpMax;
    }
    // Keeps the larva at `dx` from an object for ms of play, long enough for the camera to settle on it.
    void holdLarvaBeside(const tOnscreenObject& object, float dx, int ms) {
        const int end = game.now() + ms;
        while (game.now() < end) {
            moveLarva(object.x + dx, 350);
            game.pass();
        }
    }
    // Every actor's position is a number; no unit has sunk below the ground.
    void expectSaneActors() {
        const float ground = static_cast<float>(game.program().map->groundLevel);
        for (const auto& actor : game.program().actorList->typed<tActor>()) {
            ASSERT_TRUE(std::isfinite(actor->x) && std::isfinite(actor->y));
            EXPECT_LE(actor->y, ground + 1);
        }
    }
};

TEST_F(OppositionScenario, EveryMissionProducesUnitsAndTheDirectorSendsThemToTheHomebase) {
    const char* names[] = {"mission0_start.png", "mission1_start.png", "mission2_start.png",
                           "mission3_start.png"};
    for (int mission = 0; mission < 4; ++mission) {
        SCOPED_TRACE(mission);
        game.startMission(mission);
        ASSERT_TRUE(game.runUntil([&] { return base().baseState == cBaseStates::IDLE; }, 5000));
        game.runFor(1500);
        save(names[mission]);
        // Past the first production rounds and the second dispatch (the first, 6 s in, comes before
        // the barracks has trained anyone).
        game.runFor(34000);
        expectSaneActors();
        auto& program = game.program();
        EXPECT_GT(count<tSoldier>(program.actorList), 0);
        // Tank factories from mission 1 on, the airpad in mission 2, launchers and the boss later.
        EXPECT_EQ(count<tTank>(program.actorList) > 0, mission >= 1);
        EXPECT_EQ(count<tDuster>(program.actorList) > 0, mission == 2);
        EXPECT_EQ(count<tAirMine>(program.actorList) > 0, mission >= 2);
        EXPECT_EQ(count<tSuperCopter>(program.actorList), mission == 3 ? 1 : 0);
        int sent = 0;
        for (const auto& unit : program.actorList->typed<tActor>())
            if (!objectAs<tSuperCopter>(unit.get()) && unit->currentOrder == cOrders::PATROL &&
                unit->anchorX == static_cast<int>(base().x))
                ++sent;
        EXPECT_GE(sent, 2);
        // Back to the map for the next one.
        program.setGameState(gamestate::MAP, 0);
    }
}

TEST_F(OppositionScenario, MinePostKeepsTwelveMinesAloftAndItsTurretFires) {
    game.startMission(2);
    ASSERT_TRUE(game.runUntil([&] { return base().baseState == cBaseStates::IDLE; }, 5000));
    std::shared_ptr<tAirMineLauncher> launcher;
    std::shared_ptr<tTurret> turret;
    for (const auto& b : game.program().buildingList->typed<tBuilding>()) {
        if (b->x == 1420) launcher = std::dynamic_pointer_cast<tAirMineLauncher>(b);
        if (b->x == 1520 && !objectAs<tLightTurret>(b.get()) && !objectAs<tHeavyTurret>(b.get()))
            turret = std::dynamic_pointer_cast<tTurret>(b);
    }
    ASSERT_TRUE(launcher && turret);
    game.runFor(7000);
    EXPECT_EQ(launcher->unitCounter, 12);

    // The larva walks up to the post; the turret takes it on and the mines close in.
    game.runUntil([&] { return larva().state == states::IDLE; }, 2000);
    moveLarva(1290, 350);
    game.drawEvery = 1;
    const bool fired = game.runUntil(
        [&] { return turret->myTarget && count<tTankShot>(game.program().weaponList) > 0; }, 3000);
    EXPECT_TRUE(fired);
    holdLarvaBeside(*launcher, -80, 1200);
    save("mission2_mine_post.png");
    holdLarvaBeside(*launcher, -80, 2500);
    save("mission2_mine_post_later.png");
    expectSaneActors();
    EXPECT_LE(count<tAirMine>(game.program().actorList), 12);
}

TEST_F(OppositionScenario, BossHuntsTheLarvaAndBurnsForTwoSeconds) {
    game.startMission(3);
    ASSERT_TRUE(game.runUntil([&] { return base().baseState == cBaseStates::IDLE; }, 5000));
    std::shared_ptr<tSuperCopter> boss;
    for (const auto& b : game.program().actorList->typed<tSuperCopter>())
        boss = b;
    ASSERT_TRUE(boss);
    // It flies in toward its beat around the homebase at 80 units per second.
    const float startDistance = std::fabs(boss->x - base().x);
    game.runFor(3000);
    EXPECT_LT(std::fabs(boss->x - base().x), startDistance);
    EXPECT_NEAR(boss->y, 80, 2.5);

    game.runUntil([&] { return larva().state == states::IDLE; }, 2000);
    moveLarva(boss->x + 200, 350);
    game.drawEvery = 1;
    const bool fired = game.runUntil([&] { return count<tTankShot>(game.program().weaponList) >= 6; }, 4000);
    EXPECT_TRUE(fired);
    holdLarvaBeside(*boss, 60, 1200);
    save("mission3_boss_fight.png");

    boss->damage(4000);
    EXPECT_EQ(boss->state, states::DEAD);
    holdLarvaBeside(*boss, 60, 1000);
    EXPECT_GT(count<tBigExplosion>(game.program().fxList), 3);
    save("mission3_boss_burning.png");
    game.runFor(1100);
    EXPECT_FALSE(game.program().actorList->Contains(boss.get()));
}

} // namespace
