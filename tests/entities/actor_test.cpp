#include <gtest/gtest.h>

#include "buildings/building.h"
#include "entities/matter_ball.h"
#include "game/shell_test_support.h"
#include "player/enemy_projectiles.h"

namespace {

class ActorTest : public ShellTest {
  protected:
    std::shared_ptr<TestActor> spawn(float x, float y = 350, int faction = factions::ENEMY) {
        auto actor = std::make_shared<TestActor>(x, y);
        actor->faction = faction;
        theProgram->actorList->AddLast(actor);
        return actor;
    }
    // Passes of ms each, updating one actor.
    static void run(tActor& actor, int passes, int ms = 10) {
        for (int i = 0; i < passes; ++i) {
            step(ms);
            actor.update();
        }
    }
};

TEST_F(ActorTest, BornIdleWithoutOrdersAndPatrolsItsBeat) {
    auto actor = spawn(500);
    EXPECT_EQ(actor->state, states::IDLE);
    EXPECT_EQ(actor->currentOrder, 0);
    EXPECT_EQ(actor->matterballs, 1);
    actor->topSpeed = 100;
    actor->maxAccel = 1000;
    actor->decelSpeed = 1000;
    Delta::Start();
    run(*actor, 1);
    EXPECT_EQ(actor->currentOrder, cOrders::PATROL);
    EXPECT_EQ(actor->anchorX, 500);
    EXPECT_TRUE(actor->targetX == 660 || actor->targetX == 340);
    float lowest = actor->x, highest = actor->x;
    for (int i = 0; i < 1200; ++i) {
        run(*actor, 1);
        lowest = std::min(lowest, actor->x);
        highest = std::max(highest, actor->x);
    }
    EXPECT_NEAR(lowest, 340, 8);
    EXPECT_NEAR(highest, 660, 8);
}

TEST_F(ActorTest, FirstPatrolDirectionIsRandom) {
    int right = 0;
    for (int i = 0; i < 200; ++i) {
        TestActor actor(0);
        actor.assignPatrol(0, 350);
        if (actor.targetX > 0) ++right;
    }
    EXPECT_GT(right, 60);
    EXPECT_LT(right, 140);
}

TEST_F(ActorTest, KnockbackEndsByTimeOrSpeedAndForgetsOrders) {
    auto actor = spawn(0, 200);
    actor->assignAttack();
    actor->setStateKnockback(0, 400);
    Delta::Start();
    run(*actor, 24); // 240 ms
    EXPECT_EQ(actor->state, states::KNOCKBACK);
    EXPECT_GT(actor->x, 80);
    run(*actor, 1);
    EXPECT_EQ(actor->state, states::IDLE);
    EXPECT_EQ(actor->currentOrder, 0) << "the attack order was dropped";
    run(*actor, 1);
    EXPECT_EQ(actor->currentOrder, cOrders::PATROL) << "a fresh beat where it landed";

    // A slow push runs out of speed before its time.
    actor->setStateKnockback(90, 10);
    run(*actor, 11); // speed 10 - 100 * 0.11 < 0: seen on the next pass
    EXPECT_EQ(actor->state, states::KNOCKBACK);
    EXPECT_LT(actor->speed, 0);
    run(*actor, 1);
    EXPECT_EQ(actor->state, states::IDLE);
    EXPECT_EQ(actor->speed, 0);
    EXPECT_EQ(actor->dir, 0);

    actor->setStateDead();
    actor->setStateKnockback(0, 400);
    EXPECT_EQ(actor->state, states::DEAD);
}

TEST_F(ActorTest, KnockbackTimerIsNotShiftedByAPause) {
    auto actor = spawn(0, 200);
    actor->setStateKnockback(0, 50);
    theProgram->setGameState(gamestate::PAUSED, 0);
    AdvanceMillis(1000);
    theProgram->setGameState(gamestate::RUNNING, 0);
    run(*actor, 1);
    EXPECT_EQ(actor->state, states::IDLE);
}

TEST_F(ActorTest, StunWithAndWithoutLimit) {
    auto actor = spawn(0);
    actor->frame = 2;
    actor->setStateStunned(0);
    EXPECT_EQ(actor->frame, 0);
    run(*actor, 500);
    EXPECT_EQ(actor->state, states::STUNNED) << "until someone else changes it";
    actor->animDelay = 10;
    EXPECT_EQ(actor->getFrame(), 0);

    actor->setStateStunned(500);
    run(*actor, 49);
    EXPECT_EQ(actor->state, states::STUNNED);
    run(*actor, 1);
    EXPECT_EQ(actor->state, states::IDLE);
}

TEST_F(ActorTest, AnimationWrapsPastTheLastFrame) {
    auto actor = spawn(0);
    actor->animDelay = 50;
    actor->animTimer = gameMillisecs();
    std::vector<int> frames;
    for (int i = 0; i < 5; ++i) {
        frames.push_back(actor->getFrame());
        AdvanceMillis(50);
    }
    EXPECT_EQ(frames, (std::vector<int>{1, 2, 3, 0, 1}));
}

TEST_F(ActorTest, FallingThreeHundredUnitsTakesThreeSeconds) {
    auto actor = spawn(0, 50);
    actor->setStateFalling();
    Delta::Start();
    run(*actor, 299);
    EXPECT_EQ(actor->state, states::FALLING);
    EXPECT_NEAR(actor->y, 349, 0.01);
    run(*actor, 2);
    EXPECT_EQ(actor->state, states::IDLE);
    EXPECT_EQ(actor->y, 350);
}

TEST_F(ActorTest, GroundIsAFloorAndTheTopOfTheWorldACeiling) {
    auto actor = spawn(0, 340);
    actor->topSpeed = 1000;
    actor->maxAccel = 5000;
    Delta::Start();
    for (int i = 0; i < 20; ++i) {
        step(10);
        actor->startUpdate();
        actor->goDown();
        actor->applyMotion();
    }
    step(10);
    actor->goDown();
    EXPECT_EQ(actor->y, 350);
    EXPECT_EQ(actor->yVel, 0);
    EXPECT_TRUE(actor->isGrounded());

    actor->y = 10; // its top 10 above the world
    actor->yVel = -500;
    actor->applyMotion();
    EXPECT_EQ(actor->y, actor->height);
    EXPECT_EQ(actor->yVel, 0);
}

TEST_F(ActorTest, UndrivenMotionDeceleratesToRest) {
    auto actor = spawn(0);
    actor->decelSpeed = 100;
    actor->xVel = 15;
    Delta::Start();
    step(100);
    actor->applyMotion();
    EXPECT_FLOAT_EQ(actor->xVel, 5);
    step(100);
    actor->applyMotion();
    EXPECT_EQ(actor->xVel, 0) << "no overshoot past rest";
    actor->xVel = -15;
    step(200);
    actor->applyMotion();
    EXPECT_EQ(actor->xVel, 0);
}

TEST_F(ActorTest, DamageFlashesAndFreezesTheGameButNotTheDead) {
    auto actor = spawn(0);
    actor->hp = actor->hpMax = 10;
    const int before = Millis();
    actor->damage(3.5f);
    EXPECT_EQ(actor->hp, 6);
    EXPECT_TRUE(actor->imgFlash);
    EXPECT_EQ(Millis(), before + 20) << "a hit pause of 20 ms";

    auto dead = spawn(50);
    dead->hp = 10;
    dead->setStateDead();
    dead->damage(5);
    EXPECT_EQ(dead->hp, 10);
    EXPECT_FALSE(dead->imgFlash);
    EXPECT_EQ(Millis(), before + 20);
}

TEST_F(ActorTest, DestroyedOnceWhateverHitsIt) {
    auto factory = std::make_shared<tBuilding>();
    factory->unitCounter = 2;
    auto actor = spawn(100);
    actor->spawner = factory;
    actor->hp = 5;
    actor->damage(10);
    actor->damage(10); // a second shot in the same pass
    actor->destroy();
    EXPECT_EQ(factory->unitCounter, 1);
    EXPECT_FALSE(theProgram->actorList->Contains(actor.get()));
    int balls = 0;
    for (const auto& ball : theProgram->actorList->typed<tMatterBall>()) {
        (void)ball;
        ++balls;
    }
    EXPECT_EQ(balls, 1);
}

TEST_F(ActorTest, NearestEnemyTiesGoToTheEarlierInTheList) {
    auto shooter = spawn(0);
    auto friendOfShooter = spawn(10);             // same faction
    auto left = spawn(-100, 350, factions::ALLY); // as near as the right one
    auto right = spawn(100, 350, factions::ALLY);
    EXPECT_EQ(shooter->getNearestEnemyUnit(), left);
    left->setStateDead();
    EXPECT_EQ(shooter->getNearestEnemyUnit(), right);
    right->x = 320;
    EXPECT_EQ(shooter->getNearestEnemyUnit(), nullptr) << "320 is out of range";
    (void)friendOfShooter;

    auto building = std::make_shared<tBuilding>();
    building->faction = factions::ALLY;
    building->x = -319;
    theProgram->buildingList->AddLast(building);
    EXPECT_EQ(shooter->getNearestEnemyBuilding(), building);
}

TEST_F(ActorTest, CheckFireShootsABulletWhenTheTimerAllows) {
    auto shooter = spawn(0);
    shooter->fireDelay = 700;
    spawn(200, 350, factions::ALLY);
    shooter->checkFire();
    EXPECT_EQ(theProgram->weaponList->Count(), 1);
    EXPECT_TRUE(objectAs<tBullet>(theProgram->weaponList->First().get()));
    EXPECT_EQ(shooter->fireTimer, gameMillisecs() + 700);
    shooter->checkFire();
    EXPECT_EQ(theProgram->weaponList->Count(), 1);
    AdvanceMillis(700);
    shooter->checkFire();
    EXPECT_EQ(theProgram->weaponList->Count(), 2);
}

TEST_F(ActorTest, HealAndMatterBankClamp) {
    TestActor actor;
    actor.hp = 90;
    actor.hpMax = 100;
    EXPECT_TRUE(actor.heal(50));
    EXPECT_EQ(actor.hp, 100);
    EXPECT_FALSE(actor.heal(50));
    actor.matterBankMax = 100;
    actor.matterBank = 20;
    actor.matterDecrease(30);
    EXPECT_EQ(actor.matterBank, 0);
    actor.matterIncrease(250);
    EXPECT_EQ(actor.matterBank, 100);
}

TEST_F(ActorTest, ShieldDropsWhenXIsReleasedAndOrdersClearOnIdle) {
    auto actor = spawn(0);
    actor->xVel = 50;
    actor->setStateShielding();
    EXPECT_EQ(actor->xVel, 0);
    InjectKeyDown(KEY_X);
    theProgram->buttons->update();
    run(*actor, 3);
    EXPECT_EQ(actor->state, states::SHIELDING);
    InjectKeyUp(KEY_X);
    theProgram->buttons->update();
    run(*actor, 1);
    EXPECT_EQ(actor->state, states::IDLE);

    actor->assignWait();
    actor->setStateIdle(0);
    EXPECT_EQ(actor->currentOrder, 0);
    EXPECT_EQ(actor->targetEntity, nullptr);
}

TEST_F(ActorTest, VulnerableAndHitStates) {
    TestActor actor;
    std::vector<int> vulnerable, hittable;
    for (int s = states::IDLE; s <= states::WAIT; ++s) {
        actor.state = s;
        if (actor.isVulnerableState()) vulnerable.push_back(s);
        if (actor.isHitState()) hittable.push_back(s);
    }
    EXPECT_EQ(vulnerable, (std::vector<int>{0, 1, 2, 3, 6, 7, 8, 9, 10, 12}));
    EXPECT_EQ(hittable, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 12, 14}));
}

} // namespace
