// The whole campaign through tProgram::run, as a player would play it: skip the intro, steer the
// mothership to a node and start it, win by destroying every military building, and after the boss
// mission watch the outro until a key is typed.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "buildings/building.h"
#include "buildings/homebase.h"
#include "campaign/campaign_file.h"
#include "campaign/map_dazozuzo.h"
#include "campaign/map_screen.h"
#include "campaign/mission_node.h"
#include "campaign/persistence.h"
#include "engine/engine.h"
#include "engine/folder_lock.h"
#include "game/game_clock.h"
#include "player/foo.h"
#include "driver/harness.h"

namespace {

// Nothing but the lock the running game holds on its folder.
bool nothingSavedIn(const std::filesystem::path& folder) {
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        if (entry.path().filename() != kFolderLockName) return false;
    return true;
}

// Saves the back buffer when VEVU_SHOT_DIR names a directory (for people to look at).
void shot(const char* name) {
    if (const char* dir = std::getenv("VEVU_SHOT_DIR"))
        SaveBackBufferPng(std::string(dir) + "/" + name + ".png");
}

std::shared_ptr<tMissionNode> nodeOf(tMapScreen& screen, int missionId) {
    for (const auto& object : *screen.listNodes) {
        auto node = std::dynamic_pointer_cast<tMissionNode>(object);
        if (node && node->missionID == missionId) return node;
    }
    return nullptr;
}

// Holds the arrow keys that bring the ship towards (x, y); answers true once it is there.
bool steerTowards(tMapDazozuzo& ship, float x, float y) {
    const float dx = x - ship.x, dy = y - ship.y;
    const auto hold = [](int key, bool down) {
        if (down && !KeyHeld(key)) InjectKeyDown(key);
        if (!down && KeyHeld(key)) InjectKeyUp(key);
    };
    hold(KEY_RIGHT, dx > 2);
    hold(KEY_LEFT, dx < -2);
    hold(KEY_DOWN, dy > 2);
    hold(KEY_UP, dy < -2);
    return std::fabs(dx) <= 2 && std::fabs(dy) <= 2;
}

// Destroys one standing military building with the game's own damage call; false when none is left.
bool destroyOneMilitaryBuilding(tProgram& program) {
    if (!program.buildingList) return false;
    for (const auto& building : program.buildingList->typed<tBuilding>()) {
        if (building->isMilitary && !building->destroyed) {
            building->damage(static_cast<float>(building->hp + 1));
            return true;
        }
    }
    return false;
}

// The node locks of the saved campaign, as a new program would read them.
std::vector<int> savedLocks() {
    tCampaignFile file;
    if (!file.load()) return {};
    tPersistence record;
    file.continueInto(record);
    return {record.nodeLock[0], record.nodeLock[1], record.nodeLock[2], record.nodeLock[3]};
}

struct CampaignLog {
    int introPasses = 0;
    int mainPasses = 0;
    int outroPasses = 0;
    std::vector<int> missionsStarted;
    std::vector<std::vector<int>> locksAfterEachMission; // the node locks when the map screen returns
    std::vector<std::vector<int>> locksSaved;            // and as the saved campaign holds them then
    int buildingsDestroyed = 0;
};

} // namespace

TEST(WholeCampaign, IntroSkippedFourMissionsWonOutroUntilAKeyThenTheProgramEnds) {
    Harness game;
    tProgram& program = game.program();
    const std::vector<int> plan = {2, 1, 0, 3};
    CampaignLog log;
    enum class Phase { Intro, Map, Mission, Outro } phase = Phase::Intro;
    size_t next = 0;
    int lastState = -1;
    int outroTyped = 0;
    int totalPasses = 0;

    tProgram::passHook = [&] {
        AdvanceMillis(4);
        // Drawing is the slow part of a pass: one frame in 100 ms of game time is plenty here.
        program.drawDelay = 100;
        if (++totalPasses > 150000) { // a run gone wrong ends the way a player would leave
            InjectKeyTap(KEY_ESCAPE);
            return;
        }
        switch (phase) {
        case Phase::Intro:
            // Untouched by the intro, the map's fade starts falling with the first pass of the loop.
            if (program.blackScreen && program.blackScreenAlpha < 2.0f) {
                phase = Phase::Map;
            } else {
                if (log.introPasses == 25) InjectChar(' '); // during the descent: straight to the fade
                ++log.introPasses;
                return;
            }
            [[fallthrough]];
        case Phase::Map: {
            ++log.mainPasses;
            if (program.state != gamestate::MAP || !program.mapScreen || next >= plan.size()) break;
            tMapScreen& screen = *program.mapScreen;
            auto node = nodeOf(screen, plan[next]);
            ASSERT_NE(node, nullptr);
            if (steerTowards(*screen.dazozuzo, node->x, node->y)) {
                for (int key : {KEY_LEFT, KEY_RIGHT, KEY_UP, KEY_DOWN})
                    InjectKeyUp(key);
                if (next == 0) shot("campaign_map_over_node");
                InjectKeyTap(KEY_Z);
                log.missionsStarted.push_back(plan[next]);
                ++next;
                phase = Phase::Mission;
            }
            break;
        }
        case Phase::Mission:
            ++log.mainPasses;
            if (program.state == gamestate::MAP) {
                if (!program.worldData) break;
                const auto& lock = program.worldData->nodeLock;
                log.locksAfterEachMission.push_back({lock[0], lock[1], lock[2], lock[3]});
                log.locksSaved.push_back(savedLocks());
                phase = Phase::Map;
                break;
            }
            if (program.playerBase && program.playerBase->baseState == cBaseStates::IDLE &&
                destroyOneMilitaryBuilding(program)) {
                ++log.buildingsDestroyed;
            }
            if (!program.worldData) phase = Phase::Outro; // deleteAllObjects: the outro has begun
            break;
        case Phase::Outro:
            ++log.outroPasses;
            program.drawDelay = 2; // every outro pass draws, so the back buffer holds the last frame
            if (log.outroPasses == 400) shot("campaign_outro");
            if (log.outroPasses == 500) {
                InjectChar('q');
                ++outroTyped;
            }
            break;
        }
        lastState = program.state;
    };

    program.run();
    tProgram::passHook = nullptr;

    EXPECT_LT(totalPasses, 150000) << "the campaign did not finish";
    // The intro was skipped by the key typed in the descent: the fade took 0.67 s.
    EXPECT_GT(log.introPasses, 25 + 160);
    EXPECT_LT(log.introPasses, 25 + 175);
    EXPECT_EQ(log.missionsStarted, plan);
    ASSERT_EQ(log.locksAfterEachMission.size(), 3u) << "the boss victory goes straight to the outro";
    EXPECT_EQ(log.locksAfterEachMission[0], (std::vector<int>{0, 0, 1, 1}));
    EXPECT_EQ(log.locksAfterEachMission[1], (std::vector<int>{0, 1, 1, 1}));
    EXPECT_EQ(log.locksAfterEachMission[2], (std::vector<int>{1, 1, 1, 0})) << "the boss node opened";
    EXPECT_EQ(log.locksSaved, log.locksAfterEachMission) << "each won mission is saved at once";
    EXPECT_GT(log.buildingsDestroyed, 4 * 2);
    // The outro ran until the typed key and the program's objects are gone.
    EXPECT_TRUE(program.flagEndGame);
    EXPECT_EQ(outroTyped, 1);
    EXPECT_GE(log.outroPasses, 500);
    EXPECT_LE(log.outroPasses, 502);
    EXPECT_EQ(program.worldData, nullptr);
    EXPECT_EQ(program.mapScreen, nullptr);
    EXPECT_EQ(program.actorList, nullptr);
    (void)lastState;
}

TEST(WholeCampaign, MissionLeftByTakeOffStaysOpen) {
    Harness game;
    game.drawEvery = 25; // drawing is the slow part; one frame in 100 ms is plenty here
    tProgram& program = game.program();
    game.startMission(1);
    ASSERT_TRUE(game.runUntil([&] { return program.playerBase->baseState == cBaseStates::IDLE; }, 10000));
    // The homebase is destroyed: it flees into space and the map screen returns.
    program.playerBase->damage(static_cast<float>(program.playerBase->hp + 10));
    ASSERT_EQ(program.playerBase->baseState, cBaseStates::TAKEOFF);
    EXPECT_EQ(program.player->state, states::DEAD) << "the larva dies with it";
    ASSERT_TRUE(game.runUntil([&] { return program.state == gamestate::MAP; }, 10000));
    EXPECT_EQ(program.worldData->getLock(1), 0);
    program.saveCampaign();
    EXPECT_TRUE(nothingSavedIn(game.playerFolder())) << "a mission lost saves nothing";
    EXPECT_FALSE(program.flagEndGame);
    auto node = nodeOf(*program.mapScreen, 1);
    ASSERT_NE(node, nullptr);
    EXPECT_FALSE(node->isLocked());
    // It can be chosen again.
    program.mapScreen->dazozuzo->x = node->x;
    program.mapScreen->dazozuzo->y = node->y;
    game.press(KEY_Z);
    EXPECT_EQ(program.state, gamestate::RUNNING);
    EXPECT_EQ(program.worldData->currentMissionId, 1);
}

TEST(WholeCampaign, EscapeOnTheMapEndsTheRunWithoutTheOutro) {
    Harness game;
    tProgram& program = game.program();
    int passes = 0;
    tProgram::passHook = [&] {
        AdvanceMillis(4);
        program.drawDelay = 100;
        ++passes;
        if (passes == 5) InjectChar(' ');            // skip the intro
        if (passes == 400) InjectKeyTap(KEY_ESCAPE); // on the map screen
    };
    program.run();
    tProgram::passHook = nullptr;
    EXPECT_FALSE(program.flagEndGame);
    EXPECT_NE(program.worldData, nullptr) << "no outro: nothing was torn down";
    EXPECT_EQ(passes, 400);
    EXPECT_TRUE(nothingSavedIn(game.playerFolder())) << "a new campaign left unchanged is not saved";
}
