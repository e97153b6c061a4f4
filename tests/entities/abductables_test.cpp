// People, cows and matter balls: radiation and its blasts, fatal falls, shooting, and matter balls.
#include "player/battle_test_support.h"

#include "entities/cow.h"
#include "entities/matter_ball.h"
#include "player/enemy_projectiles.h"
#include "player/weapon_effects.h"

namespace {

class AbductablesTest : public BattleTest {
  protected:
    void SetUp() override {
        BattleTest::SetUp();
        larva->x = -3000; // out of every blast
    }
    std::shared_ptr<TestActor> dummyAt(float x, float y) {
        auto actor = std::make_shared<TestActor>(x, y);
        actor->hp = actor->hpMax = 1000;
        theProgram->actorList->AddLast(actor);
        return actor;
    }
    std::shared_ptr<tHouse> houseAt(float x, float y) {
        auto house = tHouse::Create(x, y, 1, false);
        theProgram->buildingList->AddLast(house);
        return house;
    }
};

TEST_F(AbductablesTest, RadiationTopsOutAtTheMaximumAndChangesNameAndLook) {
    auto civilian = civilianAt(0);
    civilian->radCurrent = 998;
    EXPECT_EQ(civilian->getName(), "Civilian");
    EXPECT_EQ(civilian->getCurrentImg(), gfx::civilian);
    civilian->increaseRadiation(5);
    EXPECT_EQ(civilian->radCurrent, 1000);
    EXPECT_TRUE(civilian->isRadiated());
    EXPECT_EQ(civilian->getName(), "Radioactive Civilian");
    EXPECT_EQ(civilian->getCurrentImg(), gfx::civilianGreen);
}

TEST_F(AbductablesTest, ARadioactivePersonBlastsEverythingWithinFortyInsteadOfDying) {
    auto civilian = civilianAt(0);
    civilian->radCurrent = civilian->radMax;
    auto nearActor = dummyAt(39, kGround);
    auto farActor = dummyAt(41, kGround);
    auto ball = tMatterBall::Create(10, kGround);
    theProgram->actorList->AddLast(ball);
    auto nearHouse = houseAt(-39, kGround);
    auto farHouse = houseAt(-40, kGround);
    civilian->damage(1);
    EXPECT_EQ(nearActor->hp, 775);
    EXPECT_EQ(farActor->hp, 1000);
    EXPECT_FALSE(ball->destroyed) << "matter balls are never hit by blasts";
    EXPECT_EQ(nearHouse->hp, 175);
    EXPECT_EQ(farHouse->hp, 400);
    EXPECT_EQ(countIn<tPersonDeath>(theProgram->fxList), 0);
    EXPECT_EQ(countIn<tFlakExplosionRad>(theProgram->fxList), 1);
    EXPECT_EQ((std::vector<float>{tShake::magnitude, tShake::decay}), (std::vector<float>{15, 15 / 8.0f}))
        << "a 400 ms shake of 15 px: 8 steps of 50 ms";
}

TEST_F(AbductablesTest, ARadioactiveCowBlastsActorsTwiceAsFarAsBuildings) {
    auto cow = tCow::Create(0, kGround, nullptr);
    theProgram->actorList->AddLast(cow);
    cow->radCurrent = cow->radMax;
    auto actor79 = dummyAt(79, kGround);
    auto actor81 = dummyAt(-81, kGround);
    auto house39 = houseAt(39, kGround);
    auto house41 = houseAt(-41, kGround);
    house39->hp = house39->hpMax = 1000;
    cow->damage(1);
    EXPECT_EQ(actor79->hp, 500);
    EXPECT_EQ(actor81->hp, 1000);
    EXPECT_EQ(house39->hp, 500);
    EXPECT_EQ(house41->hp, 400);
    EXPECT_EQ(countIn<tSuperFlakExplosionRad>(theProgram->fxList), 1);
    EXPECT_EQ((std::vector<float>{tShake::magnitude, tShake::decay}), (std::vector<float>{20, 20 / 12.0f}))
        << "a 600 ms shake of 20 px: 12 steps of 50 ms";
}

TEST_F(AbductablesTest, APersonDroppedFromFortySurvivesFromAHundredDies) {
    auto low = civilianAt(0, kGround - 40);
    low->setStateFalling();
    auto high = civilianAt(500, kGround - 100);
    high->setStateFalling();
    runBattle(2000, 5);
    EXPECT_FALSE(low->destroyed);
    EXPECT_EQ(low->y, kGround);
    EXPECT_NE(low->state, states::FALLING);
    EXPECT_TRUE(high->destroyed);
    EXPECT_EQ(countIn<tPersonDeath>(theProgram->fxList), 1);
}

TEST_F(AbductablesTest, APersonDestroyedTwiceFreesItsFactoryPlaceOnce) {
    auto barracks = tBarracks::Create(800, kGround);
    barracks->unitCounter = 2;
    auto soldier = tSoldier::Create(0, kGround, barracks);
    theProgram->actorList->AddLast(soldier);
    soldier->destroy();
    soldier->destroyNoAnims();
    soldier->damage(5);
    EXPECT_EQ(barracks->unitCounter, 1);
    EXPECT_EQ(countIn<tPersonDeath>(theProgram->fxList), 1);
}

TEST_F(AbductablesTest, SoldiersShootAtTheLarvaInRangeCiviliansNever) {
    larva->x = 0;
    auto civilian = civilianAt(100);
    battleFrame();
    EXPECT_EQ(countIn<tBullet>(theProgram->weaponList), 0);
    auto soldier = tSoldier::Create(-100, kGround, nullptr);
    soldier->fireTimer = 0;
    theProgram->actorList->AddLast(soldier);
    battleFrame();
    EXPECT_EQ(countIn<tBullet>(theProgram->weaponList), 1);
    EXPECT_GE(soldier->fireTimer - gameMillisecs(), 1990);
    EXPECT_LE(soldier->fireTimer - gameMillisecs(), 5000);
    (void)civilian;
}

TEST_F(AbductablesTest, MatterBallSpawnAlwaysMakesOneAboveTheGround) {
    tMatterBall::spawn(0, 10, 400);
    ASSERT_EQ(countIn<tMatterBall>(theProgram->actorList), 1);
    auto ball = firstIn<tMatterBall>(theProgram->actorList);
    EXPECT_FLOAT_EQ(ball->y, kGround - 2);
    EXPECT_GE(ball->dir, 240);
    EXPECT_LE(ball->dir, 300);
    tMatterBall::spawn(3, 10, 100);
    EXPECT_EQ(countIn<tMatterBall>(theProgram->actorList), 4);
}

TEST_F(AbductablesTest, MatterBallsPopUpLandAndArePickedUpOnlyOnFootNearby) {
    larva->x = 0;
    larva->hp = 30;
    auto ball = tMatterBall::Create(21, kGround - 1);
    theProgram->actorList->AddLast(ball);
    float highest = ball->y;
    for (int i = 0; i < 500; ++i) {
        battleFrame(5);
        highest = std::min(highest, ball->y);
    }
    EXPECT_LT(highest, kGround - 50) << "it pops up";
    EXPECT_FLOAT_EQ(ball->y, kGround);
    const float landedX = ball->x;
    ASSERT_TRUE(theProgram->actorList->Contains(ball.get()));

    larva->x = landedX + 21.4f; // just outside a third of the larva's width
    battleFrame();
    EXPECT_TRUE(theProgram->actorList->Contains(ball.get()));
    larva->x = landedX;
    larva->y = kGround - 10; // hovering over it
    battleFrame();
    EXPECT_TRUE(theProgram->actorList->Contains(ball.get()));
    larva->y = kGround;
    larva->x = landedX + 21;
    battleFrame();
    EXPECT_FALSE(theProgram->actorList->Contains(ball.get()));
    EXPECT_EQ(larva->matterBank, 50);
    EXPECT_EQ(larva->hp, 35);
}

} // namespace
