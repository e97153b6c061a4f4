// Whole missions through the real program: the Dazozuzo lands, the larva hatches, walks, flies,
// abducts and spits; the homebase flees or leaves in victory and the map screen returns. Frames at
// the key moments are written to frames/ in the working directory (or $VEVU_FRAMES_DIR) for people
// to look at.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "buildings/building.h"
#include "buildings/homebase.h"
#include "campaign/persistence.h"
#include "entities/cow.h"
#include "entities/effects.h"
#include "entities/person.h"
#include "player/abduction_beam.h"
#include "player/foo.h"
#include "driver/harness.h"
#include "world/map.h"

namespace {

std::string frameDir() {
    const char* dir = std::getenv("VEVU_FRAMES_DIR");
    std::filesystem::path path = dir ? dir : "frames"; // beside the tests: the build directory
    std::error_code ignored;
    std::filesystem::create_directories(path, ignored);
    return path.string();
}

class MissionTest : public ::testing::Test {
  protected:
    MissionTest() { game.drawEvery = 8; } // drawing is the slow part; saved frames are drawn on demand
    Harness game{4};
    tFoo& larva() { return *game.program().player; }
    tHomebase& base() { return *game.program().playerBase; }
    float ground() { return static_cast<float>(game.program().map->groundLevel); }
    void save(const std::string& name) { EXPECT_TRUE(game.saveFrame(frameDir() + "/" + name)); }
    bool landed() { return base().baseState == cBaseStates::IDLE; }
    // From the map screen to a hatched larva standing beside its landed homebase.
    void openMission(int id) {
        game.startMission(id);
        ASSERT_TRUE(game.runUntil([&] { return landed(); }, 5000));
        ASSERT_TRUE(game.runUntil([&] { return larva().state == states::IDLE; }, 2000));
    }
    template <class T> std::shared_ptr<T> add(std::shared_ptr<T> actor) {
        game.program().actorList->AddLast(actor);
        return actor;
    }
};

TEST_F(MissionTest, OpeningLandingHatchingWalkingFlyingAbductingAndSpitting) {
    game.startMission(0);
    ASSERT_EQ(game.program().state, gamestate::RUNNING);
    EXPECT_EQ(larva().state, states::RESPAWN);
    EXPECT_EQ(base().baseState, cBaseStates::LANDING);
    const int start = game.now();
    game.runFor(2000);
    save("01_landing.png");
    ASSERT_TRUE(game.runUntil([&] { return landed(); }, 3000));
    EXPECT_NEAR(game.now() - start, 2870, 30) << "about 2.9 s from y -80 to the ground line";
    const int laid = game.now();
    EXPECT_EQ(larva().state, states::RESPAWN);
    EXPECT_FLOAT_EQ(larva().x, base().x);

    ASSERT_TRUE(game.runUntil([&] { return larva().state == states::STUNNED; }, 2000));
    EXPECT_NEAR(game.now() - laid, 9 * 60, 8) << "the egg holds the larva from its frame 9";
    game.runFor(200);
    save("02_hatching.png");
    ASSERT_TRUE(game.runUntil([&] { return larva().state == states::IDLE; }, 2000));
    EXPECT_NEAR(game.now() - laid, 17 * 60, 8) << "and frees it when it is gone";

    // Walking.
    const float x0 = larva().x;
    game.holdKeys({KEY_RIGHT}, 600);
    EXPECT_GT(larva().x, x0 + 50);
    EXPECT_FLOAT_EQ(larva().y, ground());
    EXPECT_LE(larva().xVel, 140);

    // Flying.
    game.holdKeys({KEY_UP}, 300);
    game.runFor(400); // rising on until the hover brakes it
    EXPECT_LT(larva().y, ground() - 60);
    EXPECT_FLOAT_EQ(larva().yVel, 0);
    const float hover = larva().y;

    // Abducting a civilian under the hovering larva.
    auto civilian = add(tCivilian::Create(larva().x, ground(), nullptr));
    const int matter = larva().matterBank;
    game.holdKeys({KEY_X}, 2500);
    EXPECT_FALSE(game.program().actorList->Contains(civilian.get()));
    EXPECT_EQ(larva().matterBank, std::min(matter + 25, larva().matterBankMax));
    EXPECT_NEAR(larva().y, hover, 1.0f) << "abducting does not move the larva up or down";

    // Back down and spitting at a soldier ahead.
    ASSERT_TRUE(game.runUntil(
        [&] {
            InjectKeyDown(KEY_DOWN);
            return larva().isGrounded();
        },
        3000));
    InjectKeyUp(KEY_DOWN);
    game.pass();
    auto soldier = add(tSoldier::Create(larva().x + 100, ground(), nullptr));
    game.holdKeys({KEY_Z}, 800);
    EXPECT_TRUE(soldier->destroyed);
    EXPECT_LT(larva().battery, larva().batteryMax);
}

TEST_F(MissionTest, BeamReelingACowAndAHouseExploding) {
    openMission(1);
    game.holdKeys({KEY_LEFT}, 1000); // away from the homebase, so the catch stands out
    game.holdKeys({KEY_UP}, 350);
    auto cow = add(tCow::Create(larva().x, ground(), nullptr));
    InjectKeyDown(KEY_X);
    game.runFor(450);
    auto beam = std::dynamic_pointer_cast<tAbductionBeam>(larva().weapon);
    ASSERT_NE(beam, nullptr);
    EXPECT_EQ(beam->lastHit, cow);
    EXPECT_LT(cow->y, ground() - 10);
    save("03_beam_reeling_cow.png");
    game.runFor(1500);
    InjectKeyUp(KEY_X);
    game.pass();
    EXPECT_FALSE(game.program().actorList->Contains(cow.get()));

    auto house = tHouse::Create(larva().x - 120, ground(), 2, false);
    game.program().buildingList->AddLast(house);
    save("04_house_standing.png");
    house->damage(400);
    game.runFor(220);
    save("05_house_exploding.png");
    int civilians = 0;
    for (const auto& c : game.program().actorList->typed<tCivilian>())
        civilians += std::abs(c->x - house->x) < 200 && !objectAs<tCow>(c.get()) ? 1 : 0;
    EXPECT_GE(civilians, 3);
}

TEST_F(MissionTest, LosingEveryMilitaryBuildingIsVictoryAndClosesTheMission) {
    openMission(0);
    ASSERT_GT(game.program().militaryStrength, 0);
    std::vector<std::shared_ptr<tBuilding>> military;
    for (const auto& b : game.program().buildingList->typed<tBuilding>())
        if (b->isMilitary) military.push_back(b);
    for (const auto& b : military)
        b->damage(100000);
    EXPECT_FLOAT_EQ(game.program().militaryStrength, 0);
    EXPECT_EQ(base().baseState, cBaseStates::VICTORY);
    ASSERT_TRUE(game.runUntil([&] { return game.program().state == gamestate::MAP; }, 5000));
    EXPECT_EQ(game.program().worldData->nodeLock[0], 1);
}

} // namespace
