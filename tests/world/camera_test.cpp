#include <gtest/gtest.h>

#include "buildings/homebase.h"
#include "game/shell_test_support.h"
#include "player/foo.h"

namespace {

class CameraTest : public ShellTest {
  protected:
    void SetUp() override {
        ShellTest::SetUp();
        theProgram->player = std::make_shared<tFoo>();
        camera = theProgram->camera.get();
    }
    // One camera update after a pass of ms milliseconds.
    void follow(int ms) {
        step(ms);
        camera->update();
    }
    tCamera* camera = nullptr;
};

TEST_F(CameraTest, EasesAFractionOfTheGapEachPass) {
    theProgram->player->x = 1320; // target offset 1000
    Delta::Start();
    follow(10);
    EXPECT_FLOAT_EQ(camera->xOffset, 100) << "10 * 0.01 of 1000";
    EXPECT_FLOAT_EQ(camera->lastOffset, camera->xOffset);
    follow(10);
    EXPECT_FLOAT_EQ(camera->xOffset, 190);
}

TEST_F(CameraTest, SnapsWithinThreePixelsAndThenStaysOnTarget) {
    theProgram->player->x = 1320;
    Delta::Start();
    for (int i = 0; i < 200; ++i)
        follow(4);
    EXPECT_EQ(camera->xOffset, 1000.0f) << "exactly on target, not creeping toward it";
    follow(4);
    EXPECT_EQ(camera->xOffset, 1000.0f);

    camera->xOffset = camera->lastOffset = 997; // 3 away: snap
    follow(4);
    EXPECT_EQ(camera->xOffset, 1000.0f);
    camera->xOffset = camera->lastOffset = 996.5f; // 3.5 away: ease
    follow(4);
    EXPECT_NEAR(camera->xOffset, 996.5f + 0.04f * 3.5f, 1e-3);
}

TEST_F(CameraTest, LongPassesOvershoot) {
    theProgram->player->x = 1320;
    Delta::Start();
    follow(150); // 10 * dt = 1.5
    EXPECT_FLOAT_EQ(camera->xOffset, 1500);
    camera->resetOffset();
    follow(250); // 10 * dt = 2.5: further from the target than before
    EXPECT_FLOAT_EQ(camera->xOffset, 2500);
    EXPECT_GT(std::fabs(camera->xOffset - 1000), 1000);
}

TEST_F(CameraTest, ShakeBiasesTheTargetButNotTheSnap) {
    theProgram->player->x = 1320;
    tShake::xOffset = 10;
    Delta::Start();
    follow(10);
    EXPECT_FLOAT_EQ(camera->xOffset, 0.1f * (1000 - 10));
    camera->xOffset = camera->lastOffset = 998;
    follow(10);
    EXPECT_EQ(camera->xOffset, 1000.0f);
}

TEST_F(CameraTest, FollowsTheLeavingHomebaseAndRestsOnTheMap) {
    theProgram->player->x = 1320;
    theProgram->playerBase = std::make_shared<tHomebase>();
    theProgram->playerBase->x = 320;
    theProgram->playerBase->baseState = cBaseStates::TAKEOFF;
    camera->xOffset = camera->lastOffset = 2;
    Delta::Start();
    follow(10);
    EXPECT_EQ(camera->xOffset, 0.0f) << "the homebase, not the larva";

    theProgram->playerBase->baseState = cBaseStates::IDLE;
    theProgram->state = gamestate::MAP;
    follow(10);
    EXPECT_EQ(camera->xOffset, 0.0f) << "no easing on the map screen";
}

} // namespace
