// What the larva's shots hit: bolts and spits, flak, the laser; and the enemy's tank shots and bullets.
#include "player/battle_test_support.h"

#include "entities/effects.h"
#include "player/enemy_projectiles.h"
#include "player/laser.h"
#include "player/player_shots.h"
#include "player/weapon_effects.h"

namespace {

class WeaponsTest : public BattleTest {
  protected:
    std::shared_ptr<TestActor> enemyAt(float x, float y = kGround, int hp = 1000) {
        auto actor = std::make_shared<TestActor>(x, y);
        actor->hp = actor->hpMax = hp;
        theProgram->actorList->AddLast(actor);
        return actor;
    }
    template <class Shot> std::shared_ptr<Shot> launch(std::shared_ptr<Shot> shot) {
        theProgram->weaponList->AddLast(shot);
        return shot;
    }
    bool flying(const std::shared_ptr<Object>& shot) { return theProgram->weaponList->Contains(shot.get()); }
};

TEST_F(WeaponsTest, BoltHitsEveryOverlappingEnemyOnceThenBurstsOnce) {
    auto first = enemyAt(100);
    auto second = enemyAt(104);
    auto bolt = launch(tPhotonBolt::Create(100, 340, 1, larva));
    battleFrame();
    EXPECT_EQ(first->hp, 925);
    EXPECT_EQ(second->hp, 925);
    EXPECT_FALSE(flying(bolt));
    EXPECT_EQ(countIn<tPhotonExplosion>(theProgram->fxList), 1);
    battleFrame();
    EXPECT_EQ(first->hp, 925);
}

TEST_F(WeaponsTest, BoltSparesItsOwnerAlliesAndWhatCannotBeDestroyed) {
    auto ally = enemyAt(100);
    ally->faction = factions::ALLY;
    auto ball = enemyAt(100);
    ball->destructable = false;
    larva->x = 100;
    auto bolt = launch(tPhotonBolt::Create(100, 340, 1, larva));
    battleFrame();
    EXPECT_TRUE(flying(bolt));
    EXPECT_EQ(ally->hp, 1000);
    EXPECT_EQ(ball->hp, 1000);
    EXPECT_EQ(larva->hp, 40);
}

TEST_F(WeaponsTest, GroundSpitReachesAFullWidthAirSpitOnlyHalf) {
    auto target = enemyAt(100);
    auto ground = launch(tBileSpitGround::Create(119, 340, 1, larva));
    battleFrame();
    EXPECT_EQ(target->hp, 980);
    EXPECT_FALSE(flying(ground));
    EXPECT_EQ(countIn<tBileSplash>(theProgram->fxList), 1);

    auto wide = launch(tBileSpitAir::Create(111, 340, 1, larva));
    auto near = launch(tBileSpitAir::Create(109, 340, 1, larva));
    battleFrame();
    EXPECT_TRUE(flying(wide));
    EXPECT_FALSE(flying(near));
    EXPECT_EQ(target->hp, 970);
}

TEST_F(WeaponsTest, BoltsHitOnlyTheLowerHalfOfABuildingAirSpitsTheLowerFiveSixths) {
    auto house = tHouse::Create(300, kGround, 1, false); // 66 x 36
    theProgram->buildingList->AddLast(house);
    auto high = launch(tPhotonBolt::Create(300, 331, 1, larva));
    battleFrame(1);
    EXPECT_TRUE(flying(high));
    EXPECT_EQ(house->hp, 400);
    auto low = launch(tPhotonBolt::Create(300, 333, 1, larva));
    battleFrame(1);
    EXPECT_FALSE(flying(low));
    EXPECT_EQ(house->hp, 325);
    EXPECT_GT(house->hp, 0);

    theProgram->weaponList->Clear();
    auto above = launch(tBileSpitAir::Create(300, 319, 1, larva));
    auto inside = launch(tBileSpitAir::Create(310, 321, 1, larva));
    battleFrame(1);
    EXPECT_TRUE(flying(above));
    EXPECT_FALSE(flying(inside));
    EXPECT_EQ(house->hp, 315);
}

TEST_F(WeaponsTest, ShotsEndAtTheGroundLineTheTopAndTheirLifeTime) {
    auto falling = launch(tPhotonBolt::Create(0, 350.5f, 1, larva));
    auto rising = launch(tBileSpitGround::Create(0, -1, 1, larva));
    battleFrame(20);
    EXPECT_FALSE(flying(falling));
    EXPECT_FALSE(flying(rising));
    auto old = launch(tPhotonBolt::Create(-5000, 100, 1, larva));
    old->dropSpeedInc = 0;
    runBattle(2990);
    EXPECT_TRUE(flying(old));
    runBattle(20);
    EXPECT_FALSE(flying(old)) << "a bolt lives 3 s";
}

TEST_F(WeaponsTest, APauseDoesNotCountAgainstAShotsLife) {
    auto bolt = launch(tPhotonBolt::Create(-5000, 100, 1, larva));
    bolt->dropSpeedInc = 0;
    auto bullet = launch(tBullet::Create(-5000, 100, 180));
    runBattle(1500);
    theProgram->pauseTime = gameMillisecs();
    step(2000);
    theProgram->resetAllTimers();
    runBattle(490);
    EXPECT_TRUE(flying(bullet));
    runBattle(20);
    EXPECT_FALSE(flying(bullet)) << "a bullet lives 2 s of play";
    runBattle(980);
    EXPECT_TRUE(flying(bolt));
    runBattle(20);
    EXPECT_FALSE(flying(bolt)) << "a bolt lives 3 s of play";
}

TEST_F(WeaponsTest, FlakPassesGroundUnitsAndBuildingsAndBurstsOnAircraft) {
    auto civilian = civilianAt(500, 300);
    auto house = tHouse::Create(500, 310, 1, false);
    theProgram->buildingList->AddLast(house);
    auto shot = launch(tFlakShot::Create(500, 300));
    shot->speed = 400;
    shot->decelSpeed = 0;
    battleFrame(1);
    EXPECT_TRUE(flying(shot));
    EXPECT_EQ(house->hp, 400);

    auto plane = enemyAt(shot->x - 20, shot->y - 20); // its box centre is 10 px right of and above x, y
    plane->kinds |= kindBit(Kind::Aircraft);
    battleFrame(1);
    EXPECT_FALSE(flying(shot));
    EXPECT_EQ(plane->hp, 950) << "the burst deals the damage";
    EXPECT_TRUE(civilian->destroyed) << "the burst spares no person it overlaps";
}

TEST_F(WeaponsTest, FlakShotSlowsDownAndBurstsAfterAboutOneAndAThirdSeconds) {
    auto shot = launch(tFlakShot::Create(0, 300));
    const float startX = shot->x, startY = shot->y;
    int t = 0;
    while (flying(shot) && t < 3000) {
        battleFrame(5);
        t += 5;
    }
    EXPECT_GT(t, 1250);
    EXPECT_LT(t, 1400);
    const float travelled = distanceBetween(startX, startY, shot->x, shot->y);
    EXPECT_GT(travelled, 250);
    EXPECT_LT(travelled, 310);
}

TEST_F(WeaponsTest, FlakBurstHurtsEveryoneItOverlapsButTheLarva) {
    auto ally = civilianAt(10);
    ally->faction = factions::ALLY;
    auto enemy = civilianAt(-10);
    auto far = civilianAt(200);
    // The burst's box: centre 20 px left of and above its x, y; 40 x 40.
    theProgram->fxList->AddLast(tFlakExplosion::Create(20, 365));
    EXPECT_TRUE(ally->destroyed);
    EXPECT_TRUE(enemy->destroyed);
    EXPECT_FALSE(far->destroyed);
    EXPECT_EQ(larva->hp, 40);
}

TEST_F(WeaponsTest, LaserBurnsWhicheverTargetHasTheHigherTop) {
    larva->y = 100;
    auto house = tHouse::Create(0, kGround, 1, false); // top 314
    theProgram->buildingList->AddLast(house);
    auto tank = enemyAt(0); // top 330
    auto laser = tLaser::Create(larva.get(), 0, 98);
    EXPECT_EQ(house->hp, 384);
    EXPECT_EQ(tank->hp, 1000);
    EXPECT_EQ(laser->lastHit, house);
    EXPECT_NEAR(laser->getLaserScale(), (kGround - 36 / 3.0f) - 100, 0.01);

    tank->height = 60; // top 290
    step(100);
    laser->update();
    EXPECT_EQ(tank->hp, 984);
    EXPECT_EQ(house->hp, 384);
    EXPECT_GE(countIn<tLaserHit>(theProgram->fxList), 2) << "a spark for every tick";
}

// --- the enemy's shots ------------------------------------------------------------------------------

TEST_F(WeaponsTest, TankShotHurtsAndPushesTheLarvaABulletOnlyHurts) {
    auto shot = launch(tTankShot::Create(0, 331, 0));
    battleFrame(1);
    EXPECT_FALSE(flying(shot));
    EXPECT_EQ(larva->hp, 25);
    EXPECT_EQ(larva->state, states::KNOCKBACK);
    EXPECT_FLOAT_EQ(larva->dir, 0);
    EXPECT_EQ(countIn<tTankShotHit>(theProgram->fxList), 1);

    larva->setStateIdle(0);
    auto bullet = launch(tBullet::Create(0, 331, 0));
    battleFrame(1);
    EXPECT_FALSE(flying(bullet));
    EXPECT_EQ(larva->hp, 22);
    EXPECT_EQ(larva->state, states::IDLE);
    EXPECT_EQ(countIn<tBulletHit>(theProgram->fxList), 1);
}

TEST_F(WeaponsTest, TankShotOnTheShieldDrainsNinetyBatteryAndDoesNotPush) {
    larva->unlockShield = true;
    keys().xKey = true;
    larvaFrame();
    larva->battery = 200;
    launch(tTankShot::Create(0, 331, 0));
    battleFrame(1);
    EXPECT_FLOAT_EQ(larva->battery, 110);
    EXPECT_EQ(larva->hp, 40);
    EXPECT_EQ(larva->state, states::SHIELDING);
}

TEST_F(WeaponsTest, EnemyShotsPassEverythingButTheLarvaAndTheHomebase) {
    auto soldier = tSoldier::Create(300, kGround, nullptr);
    theProgram->actorList->AddLast(soldier);
    auto house = tHouse::Create(300, kGround, 1, false);
    theProgram->buildingList->AddLast(house);
    auto shot = launch(tTankShot::Create(300, 340, 0));
    battleFrame(1);
    EXPECT_TRUE(flying(shot));
    EXPECT_FALSE(soldier->destroyed);
    EXPECT_EQ(house->hp, 400);

    larva->setStateRespawn();
    auto through = launch(tBullet::Create(0, 331, 0));
    battleFrame(1);
    EXPECT_TRUE(flying(through)) << "a respawning larva is not hit";

    auto atBase = launch(tTankShot::Create(1000, 320, 0));
    battleFrame(1);
    EXPECT_FALSE(flying(atBase));
    EXPECT_EQ(base->hp, 125);
    base->setBaseState(cBaseStates::TAKEOFF);
    auto ignored = launch(tTankShot::Create(1000, base->y - 30, 0));
    battleFrame(1);
    EXPECT_FALSE(flying(ignored)) << "it still ends there";
    EXPECT_EQ(base->hp, 125) << "but a leaving homebase takes no damage";
}

TEST_F(WeaponsTest, BulletFiredDownEndsBelowTheGroundLine) {
    auto bullet = launch(tBullet::Create(500, 300, 90));
    int t = 0;
    while (flying(bullet) && t < 1000) {
        battleFrame(10);
        t += 10;
    }
    EXPECT_GE(bullet->y, 350);
    EXPECT_LE(t, 180);
}

} // namespace
