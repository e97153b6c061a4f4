// The Dazozuzo: healing, warnings, being destroyed, victory and the menu closing behind the larva.
#include "player/battle_test_support.h"

#include "entities/effects.h"

namespace {

class HomebaseTest : public BattleTest {
  protected:
    void SetUp() override {
        BattleTest::SetUp();
        base->x = 0;
    }
};

TEST_F(HomebaseTest, HealsAGroundedLarvaWithinFortyFivePixelsAtOnce) {
    larva->x = 40;
    larva->hp = 10;
    step(10);
    base->update();
    EXPECT_EQ(larva->hp, 40);
    EXPECT_EQ(theProgram->warnings->stringText, "Dazozuzo heals siege drone");
    EXPECT_EQ(countIn<tHeartSpawner>(theProgram->fxList), 1);

    larva->hp = 10;
    larva->y = 300;
    step(10);
    base->update();
    EXPECT_EQ(larva->hp, 10) << "hovering above the same spot does not heal";
    larva->y = kGround;
    larva->x = 45;
    step(10);
    base->update();
    EXPECT_EQ(larva->hp, 10) << "45 pixels away is out of reach";

    // Dead beside it, in the death explosion: no healing, no hearts, no message.
    larva->x = 40;
    larva->hp = -3;
    larva->setStateDead();
    theProgram->warnings->stringText.clear();
    step(10);
    base->update();
    EXPECT_EQ(larva->hp, -3);
    EXPECT_EQ(countIn<tHeartSpawner>(theProgram->fxList), 1);
    EXPECT_EQ(theProgram->warnings->stringText, "");
}

TEST_F(HomebaseTest, UnderAttackWarningAtMostEveryTwoSeconds) {
    base->damage(1);
    EXPECT_EQ(theProgram->warnings->stringText, "Dazozuzo is under attack!");
    EXPECT_FLOAT_EQ(theProgram->warnings->r, 255);
    theProgram->warnings->stringText.clear();
    step(1000);
    base->damage(1);
    EXPECT_EQ(theProgram->warnings->stringText, "");
    step(1500);
    base->damage(1);
    EXPECT_EQ(theProgram->warnings->stringText, "Dazozuzo is under attack!");
    EXPECT_EQ(base->hp, 137);
}

TEST_F(HomebaseTest, DestroyedItFleesAndTheLarvaDiesWithIt) {
    larva->unlockLaser = true;
    base->hp = 5;
    base->damage(7.5f);
    EXPECT_EQ(base->hp, 0);
    EXPECT_EQ(base->baseState, cBaseStates::TAKEOFF);
    EXPECT_EQ(larva->state, states::DEAD);
    EXPECT_FALSE(larva->unlockLaser);
    EXPECT_EQ(theProgram->warnings->stringText, "Dazozuzo is retreating into space!");
    EXPECT_FLOAT_EQ(theProgram->warnings->r, 255);
    EXPECT_TRUE(theProgram->buildingList->Contains(base.get())) << "it flies away, it does not explode";
    base->damage(50);
    EXPECT_EQ(base->hp, 0);
    EXPECT_EQ(countIn<tBigExplosion>(theProgram->fxList), 0);
}

TEST_F(HomebaseTest, TakeOffEndsAboveMinusSixtyVictoryAboveMinusNinetyThenTheMapOpens) {
    for (auto [leaving, ceiling] :
         {std::pair{cBaseStates::TAKEOFF, -60.0f}, {cBaseStates::VICTORY, -90.0f}}) {
        theProgram->state = gamestate::RUNNING;
        base->y = kGround;
        base->setBaseState(leaving);
        float before = base->y;
        int t = 0;
        for (; theProgram->state == gamestate::RUNNING && t < 10000; ++t) {
            before = base->y;
            step(1);
            base->update();
        }
        EXPECT_EQ(theProgram->state, gamestate::MAP) << leaving;
        EXPECT_GE(before, ceiling) << leaving;
        EXPECT_LT(base->y, ceiling) << "the map opens in the pass that rises above " << ceiling;
        EXPECT_NEAR(t, (kGround - ceiling) / 150.0f * 1000, 10) << "150 px a second";
    }
}

TEST_F(HomebaseTest, WalkingOrFlyingAwayClosesTheUpgradeMenu) {
    larva->x = 10;
    keys().xKey = true;
    larvaFrame();
    ASSERT_TRUE(larva->isMenuOpen());
    releaseKeys();
    step(10);
    base->update();
    EXPECT_TRUE(larva->isMenuOpen());
    larva->x = 46;
    step(10);
    base->update();
    EXPECT_FALSE(larva->isMenuOpen());
    EXPECT_EQ(theProgram->state, gamestate::RUNNING);
    EXPECT_GE(larva->menuClosedTime, gameMillisecs() + 2990);
}

TEST_F(HomebaseTest, LandingLaysTheEggOnTheGroundLine) {
    auto landing = tHomebase::Create(300, -80, 1);
    theProgram->playerBase = landing;
    EXPECT_EQ(landing->defaultImg, gfx::homebaseFlying);
    int t = 0;
    while (landing->baseState == cBaseStates::LANDING && t < 5000) {
        step(10);
        landing->update();
        t += 10;
    }
    EXPECT_NEAR(t, 2870, 20);
    EXPECT_EQ(landing->defaultImg, gfx::homebase);
    EXPECT_EQ(larva->state, states::RESPAWN);
    EXPECT_FLOAT_EQ(larva->x, 300);
    EXPECT_FLOAT_EQ(larva->y, kGround);
    EXPECT_EQ(countIn<tEgg>(theProgram->fxList), 1);
    EXPECT_EQ(theProgram->warnings->stringText, "Hatching siege larva");
}

} // namespace
