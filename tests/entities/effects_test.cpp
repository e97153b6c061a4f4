// Effects: explosions, the egg that holds and frees the larva, and hearts.
#include "player/battle_test_support.h"

#include "entities/effects.h"

namespace {

class EffectsTest : public BattleTest {
  protected:
    template <class Fx> std::shared_ptr<Fx> add(std::shared_ptr<Fx> fx) {
        theProgram->fxList->AddLast(fx);
        return fx;
    }
    bool present(const std::shared_ptr<Object>& fx) { return theProgram->fxList->Contains(fx.get()); }
    void fxFrames(int ms, int frameMs = 5) {
        for (int t = 0; t < ms; t += frameMs) {
            step(frameMs);
            theProgram->fxList->each<tOnscreenObject>(
                [](const std::shared_ptr<tOnscreenObject>& o) { o->update(); });
        }
    }
};

TEST_F(EffectsTest, BigExplosionShowsSevenFramesAndIsGoneAfter525Ms) {
    auto fx = add(tBigExplosion::Create(0, 300));
    int maxFrame = 0;
    for (int t = 0; t < 520; t += 5) {
        fxFrames(5);
        maxFrame = std::max(maxFrame, fx->frame);
    }
    EXPECT_TRUE(present(fx));
    EXPECT_EQ(maxFrame, 6);
    fxFrames(5);
    EXPECT_FALSE(present(fx));
}

TEST_F(EffectsTest, EggHoldsTheLarvaFromFrameNineAndFreesItAtTheEnd) {
    larva->setStateRespawn();
    auto egg = add(tEgg::Create(0, kGround));
    fxFrames(535);
    EXPECT_EQ(larva->state, states::RESPAWN);
    fxFrames(5);
    EXPECT_EQ(egg->frame, 9);
    EXPECT_EQ(larva->state, states::STUNNED);
    EXPECT_EQ(larva->stateTimer, -1) << "held without a time limit";
    fxFrames(475);
    EXPECT_EQ(larva->state, states::STUNNED);
    EXPECT_TRUE(present(egg));
    fxFrames(5);
    EXPECT_EQ(larva->state, states::IDLE);
    EXPECT_FALSE(present(egg));
}

TEST_F(EffectsTest, EggLeavesALarvaThatDiedMeanwhileDead) {
    larva->setStateRespawn();
    auto egg = add(tEgg::Create(0, kGround));
    fxFrames(100);
    larva->setStateDead(); // its homebase was destroyed
    fxFrames(1100);
    EXPECT_EQ(larva->state, states::DEAD);
    EXPECT_FALSE(present(egg));
}

TEST_F(EffectsTest, HeartSpawnerReleasesFiveHeartsOverFourHundredMsFollowingItsOwner) {
    auto spawner = add(tHeartSpawner::Create(0, 0, 5, larva));
    fxFrames(395);
    EXPECT_EQ(spawner->numHearts, 4);
    EXPECT_TRUE(present(spawner));
    larva->x = 200;
    fxFrames(5);
    EXPECT_EQ(countIn<tHeart>(theProgram->fxList), 5);
    EXPECT_FALSE(present(spawner));
    EXPECT_FLOAT_EQ(spawner->x, larva->getXCenter());
}

TEST_F(EffectsTest, HeartsRiseEverMoreSlowlyAndLastAtMostOneAndAHalfSeconds) {
    auto heart = add(tHeart::Create(0, 300));
    const float speed0 = heart->speed;
    fxFrames(500);
    EXPECT_LT(heart->y, 300);
    EXPECT_LT(heart->speed, speed0);
    fxFrames(995);
    EXPECT_TRUE(present(heart));
    fxFrames(10);
    EXPECT_FALSE(present(heart));
}

TEST_F(EffectsTest, SplashAndBulletHitPlayOnceAndLeave) {
    auto splash = add(tBileSplash::Create(0, 300));
    auto hit = add(tBulletHit::Create(0, 300));
    fxFrames(95);
    EXPECT_TRUE(present(hit));
    fxFrames(10);
    EXPECT_FALSE(present(hit));
    fxFrames(190);
    EXPECT_TRUE(present(splash));
    fxFrames(10);
    EXPECT_FALSE(present(splash));
}

} // namespace
