#include <gtest/gtest.h>

#include "campaign/map_dazozuzo.h"
#include "campaign/map_screen.h"
#include "campaign/mission_node.h"
#include "campaign/persistence.h"
#include "engine/engine.h"
#include "hud/indicators.h"
#include "driver/harness.h"

namespace {

class MapScreenTest : public ::testing::Test {
  protected:
    Harness game;

    void SetUp() override { game.drawEvery = 25; } // the map's logic needs no frames
    tMapScreen& screen() { return *game.program().mapScreen; }
    tMapDazozuzo& ship() { return *screen().dazozuzo; }
    void placeShip(float x, float y) {
        ship().x = x;
        ship().y = y;
    }
    std::shared_ptr<tMissionNode> node(int missionId) {
        for (const auto& object : *screen().listNodes) {
            auto candidate = std::dynamic_pointer_cast<tMissionNode>(object);
            if (candidate && candidate->missionID == missionId) return candidate;
        }
        return nullptr;
    }
};

} // namespace

TEST_F(MapScreenTest, ProgramStartShowsTheShipAndThreeOpenNodes) {
    ASSERT_EQ(game.program().state, gamestate::MAP);
    ASSERT_NE(game.program().mapScreen, nullptr);
    EXPECT_FLOAT_EQ(ship().x, 320.0f);
    EXPECT_FLOAT_EQ(ship().y, 80.0f);
    ASSERT_EQ(screen().listNodes->Count(), 4);

    const int ids[4] = {2, 1, 0, 3};
    const float places[4][2] = {{140, 380}, {464, 310}, {286, 240}, {346, 336}};
    int i = 0;
    for (const auto& object : *screen().listNodes) {
        auto listed = std::dynamic_pointer_cast<tMissionNode>(object);
        ASSERT_NE(listed, nullptr);
        EXPECT_EQ(listed->missionID, ids[i]);
        EXPECT_FLOAT_EQ(listed->x, places[i][0]);
        EXPECT_FLOAT_EQ(listed->y, places[i][1]);
        EXPECT_EQ(listed->isLocked(), ids[i] == 3);
        ++i;
    }
    // The open picture is anchored at its centre, the closed one at its top-left corner.
    EXPECT_FLOAT_EQ(node(0)->defaultImg->handle_x, 3.5f);
    EXPECT_FLOAT_EQ(node(3)->defaultImg->handle_x, 0.0f);
    EXPECT_EQ(tMissionNode::getMissionName(0), "Infantry Staging Zone");
    EXPECT_EQ(tMissionNode::getMissionName(1), "Armour Staging Zone");
    EXPECT_EQ(tMissionNode::getMissionName(2), "Militarized Zone");
    EXPECT_EQ(tMissionNode::getMissionName(3), "Boss Zone");
    EXPECT_EQ(tMissionNode::getMissionName(9), "Unnamed mission");
}

TEST_F(MapScreenTest, HoverNeedsLessThanSevenPixelsOnEachAxisAndShowsTheZHint) {
    placeShip(280, 240); // |280 - 286| = 6 < 7
    EXPECT_TRUE(screen().isOverNode());
    placeShip(279, 240); // 7 is not less than 7
    EXPECT_FALSE(screen().isOverNode());
    placeShip(286, 246.9f);
    EXPECT_TRUE(screen().isOverNode());
    placeShip(286, 247);
    EXPECT_FALSE(screen().isOverNode());

    placeShip(286, 240);
    game.pass();
    ASSERT_NE(screen().buttonFlasher, nullptr);
    const auto hint = screen().buttonFlasher;
    game.pass();
    EXPECT_EQ(screen().buttonFlasher, hint) << "the hint lives while the ship stays";
    EXPECT_FLOAT_EQ(hint->x, ship().x);
    EXPECT_GT(hint->y, ship().y) << "the hint hangs below the ship";

    placeShip(100, 100);
    game.pass();
    EXPECT_EQ(screen().buttonFlasher, nullptr);
    placeShip(286, 240);
    game.pass();
    ASSERT_NE(screen().buttonFlasher, nullptr);
    EXPECT_NE(screen().buttonFlasher, hint) << "coming back makes a new hint";
    EXPECT_EQ(screen().buttonFlasher->frame, 0);
}

TEST_F(MapScreenTest, ArrowsSteerAt120PixelsASecondWithLeftAndUpWinningTies) {
    placeShip(320, 200);
    game.holdKeys({KEY_RIGHT}, 500);
    EXPECT_NEAR(ship().x, 380.0f, 1.0f);
    EXPECT_FLOAT_EQ(ship().y, 200.0f);

    // The key state reports Left alone when both arrows are held, and Up alone for Up and Down.
    placeShip(320, 200);
    game.holdKeys({KEY_LEFT, KEY_RIGHT, KEY_UP, KEY_DOWN}, 250);
    EXPECT_NEAR(ship().x, 290.0f, 1.0f);
    EXPECT_NEAR(ship().y, 170.0f, 1.0f);

    placeShip(320, 200);
    game.holdKeys({KEY_RIGHT, KEY_DOWN}, 250);
    EXPECT_NEAR(ship().x, 350.0f, 1.0f);
    EXPECT_NEAR(ship().y, 230.0f, 1.0f);
}

TEST_F(MapScreenTest, TheShipStaysExactlyOnTheScreenEdges) {
    placeShip(630, 470);
    game.holdKeys({KEY_RIGHT, KEY_DOWN}, 400);
    EXPECT_FLOAT_EQ(ship().x, 640.0f);
    EXPECT_FLOAT_EQ(ship().y, 480.0f);
    placeShip(10, 10);
    game.holdKeys({KEY_LEFT, KEY_UP}, 400);
    EXPECT_FLOAT_EQ(ship().x, 0.0f);
    EXPECT_FLOAT_EQ(ship().y, 0.0f);
}

TEST_F(MapScreenTest, ZOverAClosedNodeOrOverNothingDoesNothing) {
    placeShip(346, 336); // the boss node, closed
    game.press(KEY_Z);
    game.press(KEY_C);
    EXPECT_EQ(game.program().state, gamestate::MAP);
    EXPECT_EQ(screen().buttonFlasher, nullptr);
    placeShip(600, 40);
    game.press(KEY_X);
    EXPECT_EQ(game.program().state, gamestate::MAP);
}

TEST_F(MapScreenTest, SelectionKeysStartTheMissionUnderTheShipIdZeroIncluded) {
    for (int key : {KEY_Z, KEY_X, KEY_C}) {
        game.program().worldData->currentMissionId = 2;
        placeShip(286, 240); // mission 0
        game.press(key);
        ASSERT_EQ(game.program().state, gamestate::RUNNING) << key;
        EXPECT_EQ(game.program().worldData->currentMissionId, 0);
        EXPECT_EQ(game.program().mapScreen, nullptr) << "the map screen is dropped";
        game.program().setGameState(gamestate::MAP, 0);
        ASSERT_NE(game.program().mapScreen, nullptr);
    }
    placeShip(464, 310);
    game.press(KEY_Z);
    EXPECT_EQ(game.program().worldData->currentMissionId, 1);
}

TEST_F(MapScreenTest, NodesShowTheCampaignAsItIsWhenTheScreenIsMade) {
    tPersistence& record = *game.program().worldData;
    record.lockNode(2);
    record.lockNode(1);
    EXPECT_FALSE(node(2)->isLocked()) << "a screen reads the locks once, at creation";
    game.program().setGameState(gamestate::MAP, 0);
    EXPECT_TRUE(node(2)->isLocked());
    EXPECT_TRUE(node(1)->isLocked());
    EXPECT_TRUE(node(3)->isLocked());
    placeShip(140, 380);
    game.press(KEY_Z);
    EXPECT_EQ(game.program().state, gamestate::MAP) << "a won mission cannot be chosen again";

    record.lockNode(0);
    game.program().setGameState(gamestate::MAP, 0);
    EXPECT_FALSE(node(3)->isLocked()) << "the boss node opens after the three others";
    EXPECT_EQ(node(3)->defaultImg->handle_x, 3.5f);
    placeShip(346, 336);
    game.press(KEY_Z);
    EXPECT_EQ(game.program().state, gamestate::RUNNING);
    EXPECT_EQ(game.program().worldData->currentMissionId, 3);
}

TEST_F(MapScreenTest, TheShipBlinksBetweenItsTwoFramesEvery80Ms) {
    placeShip(100, 100);
    game.pass();
    const int first = ship().frame;
    game.runFor(80);
    EXPECT_NE(ship().frame, first);
    game.runFor(80);
    EXPECT_EQ(ship().frame, first);
}
