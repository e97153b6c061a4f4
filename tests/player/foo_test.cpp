// The larva's controls, battery, weapons choice, shield, damage, death and rebirth.
#include "player/battle_test_support.h"

#include <tuple>

#include "campaign/menu.h"
#include "entities/effects.h"
#include "hud/indicators.h"
#include "player/abduction_beam.h"
#include "player/laser.h"
#include "player/player_shots.h"

namespace {

class FooTest : public BattleTest {};

TEST_F(FooTest, DownAndZOnTheGroundFiresTheGroundWeaponOrOnlyFlak) {
    keys().downKey = true;
    keys().zKey = true;
    larvaFrame();
    EXPECT_EQ(countIn<tBileSpitGround>(theProgram->weaponList), 1);
    EXPECT_EQ(countIn<tFlakShot>(theProgram->weaponList), 0);
    EXPECT_EQ(larva->y, kGround) << "Down on the ground does not dig in";

    theProgram->weaponList->Clear();
    larva->unlockFlak = true;
    larva->battery = 1000;
    larva->weaponROF = 0;
    larvaFrame();
    EXPECT_EQ(countIn<tFlakShot>(theProgram->weaponList), 1);
    EXPECT_EQ(countIn<tBileSpitGround>(theProgram->weaponList), 0);
    EXPECT_FLOAT_EQ(larva->battery, 925) << "flak costs exactly 75 and the shot stops the recharge";
}

TEST_F(FooTest, FlakWithTheTraitStopsTheBeamThatIsOut) {
    larva->unlockFlak = true;
    larva->y = 200;
    keys().xKey = true;
    larvaFrame(); // airborne X: the beam goes out
    ASSERT_EQ(larva->weaponActive, 1);
    ASSERT_EQ(countIn<tAbductionBeam>(theProgram->weaponList), 1);
    releaseKeys();
    larva->setStateIdle(0);
    larva->y = kGround;
    keys().downKey = true;
    keys().zKey = true;
    larvaFrame();
    EXPECT_EQ(larva->weaponActive, 0);
    EXPECT_EQ(larva->weapon, nullptr);
    EXPECT_EQ(countIn<tAbductionBeam>(theProgram->weaponList), 0);
    EXPECT_EQ(countIn<tFlakShot>(theProgram->weaponList), 1);
}

TEST_F(FooTest, DownAndZInTheAirMovesDownAndSpitsDownwards) {
    larva->y = 200;
    keys().downKey = true;
    keys().zKey = true;
    larvaFrame(20);
    EXPECT_GT(larva->yVel, 0);
    EXPECT_GT(larva->y, 200);
    EXPECT_EQ(countIn<tBileSpitAir>(theProgram->weaponList), 1);
    EXPECT_EQ(countIn<tFlakShot>(theProgram->weaponList), 0);
}

TEST_F(FooTest, HoldingZWithTooLittleBatteryFiresNothingAndStopsTheRecharge) {
    larva->battery = 100;
    keys().zKey = true;
    for (int i = 0; i < 30; ++i)
        larvaFrame();
    EXPECT_EQ(theProgram->weaponList->Count(), 0);
    EXPECT_FLOAT_EQ(larva->battery, 100);
    releaseKeys();
    larvaFrame(100);
    EXPECT_NEAR(larva->battery, 185, 0.01) << "850 per second on the ground";
    larva->y = 200;
    larvaFrame(100);
    EXPECT_NEAR(larva->battery, 235, 0.01) << "500 per second in the air";
}

TEST_F(FooTest, GroundShotsKeepTheirRateAndCostAndARefusedShotRestartsTheTimer) {
    keys().zKey = true;
    for (auto [photons, interval, cost] : {std::tuple{false, 200, 165}, std::tuple{true, 250, 125}}) {
        larva->unlockPhotons = photons;
        larva->weaponROF = 0;
        larva->battery = static_cast<float>(cost - 1); // one short of a shot
        larvaFrame();
        EXPECT_EQ(theProgram->weaponList->Count(), 0) << "photons " << photons;
        EXPECT_FLOAT_EQ(larva->battery, static_cast<float>(cost - 1)) << "Z held: no recharge either";
        larva->battery = 1000;
        larvaFrame(interval - 1);
        EXPECT_EQ(theProgram->weaponList->Count(), 0) << "the refused shot armed the rate timer";
        larvaFrame(1);
        ASSERT_EQ(theProgram->weaponList->Count(), 1) << "photons " << photons;
        EXPECT_EQ(countIn<tPhotonBolt>(theProgram->weaponList), photons ? 1 : 0);
        EXPECT_FLOAT_EQ(larva->battery, static_cast<float>(1000 - cost));
        larvaFrame(interval - 1);
        larvaFrame(1);
        EXPECT_EQ(theProgram->weaponList->Count(), 2) << "one shot per interval while Z is held";
        theProgram->weaponList->Clear();
    }
}

TEST_F(FooTest, LaserStartsOnlyAboveFortyBattery) {
    larva->unlockLaser = true;
    larva->y = 200;
    larva->battery = 40;
    keys().zKey = true;
    larvaFrame();
    EXPECT_EQ(larva->weaponActive, 0);
    EXPECT_EQ(countIn<tLaser>(theProgram->weaponList), 0);
    larva->battery = 41;
    larvaFrame();
    EXPECT_EQ(larva->weaponActive, 1);
    EXPECT_EQ(countIn<tLaser>(theProgram->weaponList), 1);
    EXPECT_FLOAT_EQ(larva->battery, 16) << "the first tick is paid at once";
}

TEST_F(FooTest, LaserBurnsWhileTheBatteryLastsThenSwitchesOff) {
    auto target = std::make_shared<TestActor>(0, kGround);
    target->hp = target->hpMax = 1000;
    theProgram->actorList->AddLast(target);
    larva->unlockLaser = true;
    larva->y = 200;
    keys().zKey = true;
    larvaFrame();
    ASSERT_EQ(larva->weaponActive, 1);
    EXPECT_EQ(target->hp, 1000 - 16);
    larva->battery = 30;
    battleFrame(100);
    EXPECT_EQ(target->hp, 1000 - 32);
    EXPECT_FLOAT_EQ(larva->battery, 5);
    EXPECT_EQ(larva->weaponActive, 1);
    battleFrame(100);
    EXPECT_EQ(target->hp, 1000 - 48) << "the last tick still burns";
    EXPECT_FLOAT_EQ(larva->battery, 0);
    EXPECT_EQ(larva->weaponActive, 0);
    EXPECT_EQ(countIn<tLaser>(theProgram->weaponList), 0);
    battleFrame(100);
    EXPECT_EQ(larva->weaponActive, 0) << "no restart while Z stays held: no recharge, battery 0";
}

TEST_F(FooTest, ShieldPaysHitsFromTheBatteryUntilItCannot) {
    larva->unlockShield = true;
    keys().xKey = true;
    larvaFrame();
    ASSERT_EQ(larva->state, states::SHIELDING);
    larva->battery = 100;
    larva->frameShield = 3;
    larva->damage(10);
    EXPECT_FLOAT_EQ(larva->battery, 40);
    EXPECT_EQ(larva->hp, 40);
    EXPECT_EQ(larva->frameShield, 0) << "the overlay replays";
    EXPECT_EQ(larva->state, states::SHIELDING);

    larva->battery = 100;
    larva->damage(20);
    EXPECT_FLOAT_EQ(larva->battery, 0);
    EXPECT_EQ(larva->state, states::IDLE) << "the shield drops";
    EXPECT_EQ(larva->hp, 20) << "and the hull takes the whole hit";
}

TEST_F(FooTest, KnockbackIsIgnoredWhileShieldingWithBattery) {
    larva->unlockShield = true;
    keys().xKey = true;
    larvaFrame();
    larva->setStateKnockback(0, 100);
    EXPECT_EQ(larva->state, states::SHIELDING);
    larva->battery = 0;
    larva->setStateKnockback(0, 100);
    EXPECT_EQ(larva->state, states::KNOCKBACK);
    releaseKeys();
    const float x0 = larva->x;
    larvaFrame(100);
    EXPECT_GT(larva->x, x0);
    larvaFrame(200);
    EXPECT_EQ(larva->state, states::IDLE) << "a knockback lasts 250 ms";
}

TEST_F(FooTest, DamageTruncatesShowsANumberAndIsIgnoredWhenDeadOrLeaving) {
    const int before = gameMillisecs();
    larva->damage(2.7f);
    EXPECT_EQ(larva->hp, 37);
    EXPECT_GE(gameMillisecs() - before, 40) << "the 40 ms hit pause";
    EXPECT_EQ(countIn<tNumberIndicator>(theProgram->messages), 1);

    base->setBaseState(cBaseStates::TAKEOFF);
    larva->damage(5);
    EXPECT_EQ(larva->hp, 37);
    base->setBaseState(cBaseStates::IDLE);

    larva->setStateDead();
    larva->damage(5);
    EXPECT_EQ(larva->hp, 37);
    EXPECT_EQ(countIn<tNumberIndicator>(theProgram->messages), 1);
}

TEST_F(FooTest, DeathLosesTheTraitsAndTheLarvaHatchesAgainAtTheLandedHomebase) {
    larva->unlockLaser = larva->unlockPhotons = larva->unlockFlak = larva->unlockShield = true;
    larva->unlockSpaceWarp = true;
    larva->battery = 10;
    larva->damage(40);
    ASSERT_EQ(larva->state, states::DEAD);
    const int died = gameMillisecs();
    EXPECT_FALSE(larva->unlockLaser || larva->unlockPhotons || larva->unlockFlak || larva->unlockShield ||
                 larva->unlockSpaceWarp);
    // The explosion: its first step 500 ms after death, then one every 75 ms up to its last frame
    // (9), which it keeps until the larva comes back 2 s after death.
    std::vector<int> frameAt(2000);
    for (int t = 0; larva->state == states::DEAD && t < 5000; t += 5) {
        if (t < 2000) frameAt[t] = larva->frame;
        larvaFrame(5);
    }
    EXPECT_EQ((std::vector<int>{frameAt[495], frameAt[500], frameAt[570], frameAt[575], frameAt[1095],
                                frameAt[1100], frameAt[1995]}),
              (std::vector<int>{0, 1, 1, 2, 8, 9, 9}));
    EXPECT_EQ(larva->state, states::RESPAWN) << "back exactly 2 s after death";
    EXPECT_EQ(larva->hp, 40);
    EXPECT_FLOAT_EQ(larva->battery, 1000);
    EXPECT_FLOAT_EQ(larva->x, base->x);
    EXPECT_EQ(countIn<tEgg>(theProgram->fxList), 1);

    // Hatched beside the homebase, the larva cannot open the menu until 4 s after its death.
    for (int i = 0; i < 1000 && larva->state != states::IDLE; ++i)
        battleFrame(5); // the egg releases it
    ASSERT_EQ(larva->state, states::IDLE);
    keys().xKey = true;
    while (gameMillisecs() - died < 3995) {
        larvaFrame(5);
        ASSERT_EQ(theProgram->state, gamestate::RUNNING) << gameMillisecs() - died << " ms after death";
    }
    larvaFrame(5);
    EXPECT_EQ(theProgram->state, gamestate::MENU);
}

TEST_F(FooTest, DeathWhileTheHomebaseFliesWaitsAtItsX) {
    larva->damage(100);
    base->setBaseState(cBaseStates::LANDING);
    for (int t = 0; t < 2100; t += 10)
        larvaFrame();
    EXPECT_EQ(larva->state, states::WAIT);
    EXPECT_FLOAT_EQ(larva->x, base->x);
    EXPECT_EQ(countIn<tEgg>(theProgram->fxList), 0);
}

TEST_F(FooTest, XAtTheHomebaseOpensTheMenuNotTheShieldAndNotTooSoonAgain) {
    larva->unlockShield = true;
    base->x = 31;
    keys().xKey = true;
    larvaFrame();
    EXPECT_EQ(theProgram->state, gamestate::MENU);
    EXPECT_NE(theProgram->currentMenu, nullptr);
    EXPECT_TRUE(larva->isMenuOpen());

    larva->menuClose();
    EXPECT_EQ(theProgram->state, gamestate::RUNNING);
    EXPECT_EQ(theProgram->currentMenu, nullptr);
    larvaFrame(1000);
    EXPECT_EQ(theProgram->state, gamestate::RUNNING) << "3 s must pass after closing";
    larvaFrame(2100);
    EXPECT_EQ(theProgram->state, gamestate::MENU);
}

TEST_F(FooTest, SpaceWarpReturnsToTheHomebaseAndWithoutItTheSkyIsACeiling) {
    larva->y = 100;
    keys().upKey = true;
    for (int i = 0; i < 50; ++i)
        larvaFrame();
    EXPECT_FLOAT_EQ(larva->y, 46) << "without the trait the larva stops at its height";

    larva->unlockSpaceWarp = true;
    larva->y = 100;
    for (int i = 0; i < 60 && larva->state != states::STUNNED; ++i)
        larvaFrame();
    EXPECT_EQ(theProgram->warnings->stringText, "Continue upwards to return to dazozuzo");
    ASSERT_EQ(larva->state, states::STUNNED);
    EXPECT_FLOAT_EQ(larva->x, base->x);
    EXPECT_FLOAT_EQ(larva->xVel, 0);
    EXPECT_FLOAT_EQ(larva->yVel, 400);
    releaseKeys();
    larvaFrame(590);
    EXPECT_EQ(larva->state, states::STUNNED);
    larvaFrame(20);
    EXPECT_EQ(larva->state, states::IDLE) << "frozen for 600 ms";
}

TEST_F(FooTest, HeightSpeedAndFramesFollowGroundAndAir) {
    keys().rightKey = true;
    for (int i = 0; i < 100; ++i)
        larvaFrame();
    EXPECT_FLOAT_EQ(larva->xVel, 140) << "walking speed";
    larva->y = 200;
    for (int i = 0; i < 100; ++i)
        larvaFrame();
    EXPECT_FLOAT_EQ(larva->xVel, 400) << "flying speed";

    larva->y = kGround;
    larva->frame = 3;
    larva->y = 200;
    larva->draw();
    EXPECT_EQ(larva->frame, 0) << "a walking frame past the flying sheet is drawn as flying frame 0";
}

TEST_F(FooTest, HealthAndMatterShowFloatingNumbersBesideTheirCounters) {
    // Health lost: small red at x 60 to 100; health regained: big red at x 80; matter: big green
    // at x 560. All start 40 px above y 486.
    larva->hp = 10;
    larva->damage(3);
    EXPECT_FALSE(larva->heal(5)) << "the larva's heal always answers false";
    EXPECT_EQ(larva->hp, 12);
    larva->matterIncrease(25);
    EXPECT_EQ(larva->matterBank, 65);
    larva->hp = 40;
    larva->heal(5);
    struct Shown {
        std::string text;
        float minX, maxX;
        int r, g, b;
        float scale;
    };
    const std::vector<Shown> expected{
        {"-3", 60, 100, 204, 0, 0, 1}, {"+5", 80, 80, 204, 0, 0, 2}, {"+25", 560, 560, 0, 204, 0, 2}};
    ASSERT_EQ(countIn<tNumberIndicator>(theProgram->messages), 3) << "nothing healed, no number";
    auto want = expected.begin();
    for (const auto& number : theProgram->messages->typed<tNumberIndicator>()) {
        EXPECT_GE(number->x, want->minX) << want->text;
        EXPECT_LE(number->x, want->maxX) << want->text;
        EXPECT_FLOAT_EQ(number->y, 446) << want->text;
        EXPECT_EQ((std::vector<int>{number->r, number->g, number->b}),
                  (std::vector<int>{want->r, want->g, want->b}))
            << want->text;
        EXPECT_FLOAT_EQ(number->width, StringWidth(want->text) * want->scale) << want->text;
        ++want;
    }
}

} // namespace
