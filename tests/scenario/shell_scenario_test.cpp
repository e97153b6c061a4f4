// Whole-game runs of the shell itself: a mission started from the map, paused and resumed, the camera
// following the larva, the debug line drawn, Esc leaving.
#include <gtest/gtest.h>

#include <cmath>
#include <map>

#include "ai/ai.h"
#include "buildings/homebase.h"
#include "campaign/persistence.h"
#include "entities/actor.h"
#include "entities/cow.h"
#include "entities/person.h"
#include "entities/super_copter.h"
#include "player/foo.h"
#include "driver/harness.h"
#include "world/camera.h"

namespace {

std::map<const Object*, std::pair<float, float>> actorPositions(tProgram& program) {
    std::map<const Object*, std::pair<float, float>> positions;
    for (const auto& actor : program.actorList->typed<tActor>())
        positions[actor.get()] = {actor->x, actor->y};
    return positions;
}

TEST(ShellScenario, PauseFreezesTheBattlefieldAndPlayResumesWhereItStopped) {
    Harness game;
    tProgram& program = game.program();
    game.drawEvery = 10;
    ASSERT_EQ(program.state, gamestate::MAP);
    game.startMission(0);
    ASSERT_EQ(program.state, gamestate::RUNNING);
    EXPECT_GT(program.militaryStrengthMax, 0);
    EXPECT_EQ(program.militaryStrengthText(), "Military strength: 100");
    ASSERT_EQ(program.actorList->First(), program.player) << "the larva is the first actor";
    EXPECT_EQ(program.buildingList->First(), program.playerBase) << "the homebase is the first building";

    game.runFor(3000);
    const auto before = actorPositions(program);
    const int aiTimer = program.theAi->timer;
    game.press(KEY_P);
    ASSERT_EQ(program.state, gamestate::PAUSED);
    game.runFor(2000);
    EXPECT_EQ(actorPositions(program), before) << "nothing on the battlefield moves while paused";
    game.press(KEY_P);
    ASSERT_EQ(program.state, gamestate::RUNNING);
    EXPECT_NEAR(program.theAi->timer, aiTimer + 2000, 10) << "the director's timer kept its remainder";

    game.runFor(1000);
    EXPECT_NE(actorPositions(program), before) << "and play goes on";

    // Esc leaves from play.
    InjectKeyTap(KEY_ESCAPE);
    EXPECT_TRUE(program.gameExit());
}

TEST(ShellScenario, CameraKeepsTheWalkingLarvaInTheMiddle) {
    Harness game;
    tProgram& program = game.program();
    game.drawEvery = 10;
    game.startMission(1);
    // The homebase lands and the larva hatches; then walk right for a while.
    ASSERT_TRUE(game.runUntil(
        [&] { return program.player->state == states::IDLE && program.player->isGrounded(); }, 30000));
    const float start = program.player->x;
    game.holdKeys({KEY_RIGHT}, 3000);
    EXPECT_GT(program.player->x, start + 300);
    game.runFor(1000); // let it come to rest and the camera catch up
    EXPECT_NEAR(program.camera->xOffset, program.player->x - 320, 3.0f);
    EXPECT_FLOAT_EQ(program.player->getX(), program.player->x - program.camera->xOffset);
}

template <class T> int countOf(const std::shared_ptr<TList>& list) {
    int n = 0;
    for (const auto& object : list->typed<T>())
        n += object != nullptr;
    return n;
}

TEST(ShellScenario, EveryMissionHasItsLarvaHomebaseLivestockAndOpposition) {
    for (int mission : {0, 1, 2, 3, 7}) {
        SCOPED_TRACE(mission);
        Harness game(4, 100 + mission);
        tProgram& program = game.program();
        game.startMission(mission);
        ASSERT_EQ(program.actorList->First(), program.player);
        ASSERT_EQ(program.buildingList->First(), program.playerBase);
        EXPECT_EQ(program.player->state, states::RESPAWN);
        EXPECT_FLOAT_EQ(program.playerBase->y, -80);
        EXPECT_TRUE(program.radar && program.warnings && program.abductionBeamStatus);
        EXPECT_EQ(program.worldData->currentMissionId, mission);
        const bool boss = mission == 3;
        EXPECT_EQ(countOf<tCow>(program.actorList), boss ? 6 : 3);
        EXPECT_EQ(countOf<tCivilian>(program.actorList) - countOf<tCow>(program.actorList), boss ? 12 : 6)
            << "a cow is a civilian too";
        EXPECT_EQ(countOf<tSuperCopter>(program.actorList), boss ? 1 : 0);
        for (const auto& cow : program.actorList->typed<tCow>()) {
            EXPECT_GE(cow->x, -2400);
            EXPECT_LE(cow->x, 2400);
        }
        if (boss) {
            const auto copter = *program.actorList->typed<tSuperCopter>().begin();
            EXPECT_EQ(std::fabs(copter->x), 3200);
            EXPECT_EQ(copter->y, 84);
        }
        if (mission <= 3) {
            EXPECT_GT(program.militaryStrengthMax, 0);
            EXPECT_EQ(program.militaryStrength, program.militaryStrengthMax);
            EXPECT_EQ(program.militaryStrengthText(), "Military strength: 100");
        } else {
            // An unknown mission: larva, homebase, three cows, six civilians and nothing to fight.
            EXPECT_EQ(program.buildingList->Count(), 1);
            EXPECT_EQ(program.actorList->Count(), 1 + 3 + 6);
            EXPECT_EQ(program.militaryStrengthText(), "Military strength: 0");
            game.runFor(100); // and the debug line is drawn without dividing by zero
        }
    }
}

} // namespace
