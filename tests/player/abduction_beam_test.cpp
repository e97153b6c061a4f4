// The abduction beam: whom it catches, how it reels, what a catch gives, and dropping it.
#include "player/battle_test_support.h"

#include "entities/cow.h"
#include "entities/matter_ball.h"
#include "hud/indicators.h"
#include "player/abduction_beam.h"
#include "player/weapon_effects.h"

namespace {

class BeamTest : public BattleTest {
  protected:
    void SetUp() override {
        BattleTest::SetUp();
        larva->y = 200; // hovering
    }
    std::shared_ptr<tAbductionBeam> beamNow() {
        auto beam = tAbductionBeam::Create(larva.get(), larva->x, larva->y - 2);
        theProgram->weaponList->AddLast(beam);
        return beam;
    }
    // Holds X over the battlefield until the catch is gone or maxMs pass.
    void abductFor(int maxMs) {
        keys().xKey = true;
        for (int t = 0; t < maxMs && !catchDone(); t += 10)
            battleFrame(10);
    }
    bool catchDone() { return larva->weapon && !theProgram->weaponList->Contains(larva->weapon.get()); }
};

TEST_F(BeamTest, CatchesTheHighestAbductableUnderItFirstInListOnATie) {
    auto low = civilianAt(0, kGround);
    auto high = civilianAt(2, 300);
    auto beam = beamNow();
    EXPECT_EQ(beam->lastHit, high);
    EXPECT_EQ(high->state, states::STUNNED);
    EXPECT_EQ(low->state, states::IDLE);

    theProgram->actorList->Clear();
    auto first = civilianAt(1, 300);
    auto second = civilianAt(-1, 300);
    EXPECT_EQ(beamNow()->lastHit, first);
    (void)second;
}

TEST_F(BeamTest, AVictimExactlyAtTheEdgeIsNotCaughtNorOneAboveTheBeam) {
    civilianAt(7, kGround); // civilian box is 14 wide: its edge at x 0
    civilianAt(0, 190);     // above the beam's top
    EXPECT_EQ(beamNow()->lastHit, nullptr);
    civilianAt(6.9f, kGround);
    auto beam = beamNow();
    ASSERT_NE(beam->lastHit, nullptr);
    EXPECT_FLOAT_EQ(beam->lastHit->x, 6.9f);
}

TEST_F(BeamTest, ReelReachesFullSpeedAfterHalfASecondAndStopsWhileMovingSideways) {
    auto victim = civilianAt(0, kGround);
    auto beam = beamNow();
    ASSERT_EQ(beam->lastHit, victim);
    for (int i = 0; i < 49; ++i) {
        step(10);
        beam->update();
    }
    EXPECT_LT(beam->yVel, 200);
    step(10);
    beam->update();
    EXPECT_FLOAT_EQ(beam->yVel, 200);

    larva->isInXMotion = 1;
    const float held = victim->y;
    step(10);
    beam->update();
    EXPECT_FLOAT_EQ(victim->y, held);
    EXPECT_FLOAT_EQ(beam->yVel, 0);
}

TEST_F(BeamTest, ACivilianGivesTwentyFiveMatterAndTwelveHealth) {
    larva->hp = 20;
    auto victim = civilianAt(0, kGround);
    abductFor(3000);
    ASSERT_TRUE(catchDone());
    EXPECT_EQ(larva->matterBank, 65);
    EXPECT_EQ(larva->hp, 32);
    EXPECT_FALSE(theProgram->actorList->Contains(victim.get()));
    EXPECT_EQ(countIn<tPersonDeath>(theProgram->fxList), 0) << "swallowed without a death";
    EXPECT_EQ(theProgram->abductionBeamStatus->text, "");
    EXPECT_EQ(larva->state, states::ABDUCTING) << "X still held";
    battleFrame();
    EXPECT_EQ(countIn<tAbductionBeam>(theProgram->weaponList), 0) << "one beam, one catch";
}

TEST_F(BeamTest, TheStatusLineNamesTheCatch) {
    civilianAt(0, kGround);
    keys().xKey = true;
    battleFrame();
    battleFrame();
    EXPECT_EQ(theProgram->abductionBeamStatus->text, "Civilian");
}

TEST_F(BeamTest, AnIrradiatedCatchGivesNothingAndBlastsWhereItIsSwallowed) {
    auto victim = civilianAt(0, kGround);
    victim->radCurrent = 995;
    auto bystander = std::make_shared<TestActor>(0, 195);
    bystander->hp = bystander->hpMax = 1000;
    bystander->setStateWait(); // standing still, not shooting
    theProgram->actorList->AddLast(bystander);
    keys().xKey = true;
    for (int i = 0; i < 5; ++i)
        battleFrame(10);
    EXPECT_EQ(countIn<tRadiationIndicator>(theProgram->fxList), 1)
        << "shown once, when it became radioactive";
    EXPECT_TRUE(theProgram->abductionBeamStatus->warning) << "the catch is named in red";
    for (int t = 0; t < 3000 && theProgram->actorList->Contains(victim.get()); t += 10)
        battleFrame(10);
    ASSERT_FALSE(theProgram->actorList->Contains(victim.get()));
    EXPECT_TRUE(victim->isRadiated());
    EXPECT_EQ(theProgram->abductionBeamStatus->warning, false) << "cleared on arrival";
    EXPECT_EQ(larva->matterBank, 40);
    EXPECT_EQ(countIn<tFlakExplosionRad>(theProgram->fxList), 1);
    EXPECT_EQ(bystander->hp, 775);
    EXPECT_EQ(larva->state, states::DEAD) << "the larva is in its own blast";
}

TEST_F(BeamTest, AVictimDestroyedWhileHeldGivesNothingAndIsCountedOnce) {
    auto barracks = tBarracks::Create(500, kGround);
    barracks->unitCounter = 1;
    auto soldier = tSoldier::Create(0, kGround, barracks);
    theProgram->actorList->AddLast(soldier);
    keys().xKey = true;
    battleFrame();
    ASSERT_NE(larva->weapon, nullptr);
    battleFrame();
    soldier->damage(50); // a flak burst while it rises
    ASSERT_TRUE(soldier->destroyed);
    EXPECT_EQ(barracks->unitCounter, 0);
    abductFor(3000);
    ASSERT_TRUE(catchDone());
    EXPECT_EQ(barracks->unitCounter, 0) << "not lowered a second time on arrival";
    EXPECT_EQ(larva->matterBank, 40);
    EXPECT_EQ(larva->hp, 40);
}

TEST_F(BeamTest, ReleasingXDropsTheVictimWhichFirstKeepsRising) {
    auto victim = civilianAt(0, kGround);
    keys().xKey = true;
    for (int i = 0; i < 30; ++i)
        battleFrame();
    ASSERT_EQ(victim->state, states::STUNNED);
    releaseKeys();
    battleFrame(); // X up: the larva is IDLE again
    battleFrame(); // no Z: stopLaser drops the catch
    EXPECT_EQ(victim->state, states::FALLING);
    EXPECT_LT(victim->yVel, 0);
    const float y0 = victim->y;
    battleFrame();
    EXPECT_LT(victim->y, y0);
    EXPECT_EQ(larva->weapon, nullptr);
    EXPECT_EQ(theProgram->abductionBeamStatus->text, "");
    for (int i = 0; i < 300; ++i)
        battleFrame();
    EXPECT_FALSE(theProgram->actorList->Contains(victim.get())) << "dropped from about 100 px: fatal";
}

TEST_F(BeamTest, AMatterBallCanBeReeledInToo) {
    auto ball = tMatterBall::Create(0, kGround);
    theProgram->actorList->AddLast(ball);
    abductFor(3000);
    ASSERT_TRUE(catchDone());
    EXPECT_EQ(larva->matterBank, 50);
}

} // namespace
