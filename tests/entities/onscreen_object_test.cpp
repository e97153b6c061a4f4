#include <gtest/gtest.h>

#include "buildings/homebase.h"
#include "entities/matter_ball.h"
#include "game/shell_test_support.h"
#include "player/foo.h"

namespace {

// A plain battlefield object with a 10 x 8 sprite of 3 frames anchored at its bottom centre.
class Box : public tOnscreenObject {
  public:
    Box(float px, float py, float w, float h) {
        x = px;
        y = py;
        width = w;
        height = h;
        defaultImg = TImage::Create(10, 8, 3, IMAGE_DYNAMIC);
        SetImageAnchor(defaultImg, 5, 8);
    }
};

using OnscreenTest = ShellTest;

TEST_F(OnscreenTest, CentresComeFromTheHandleAtScaleTwo) {
    Box box(100, 350, 20, 16);
    float left = 0, top = 0;
    box.getTopLeft(left, top);
    EXPECT_FLOAT_EQ(left, 90);
    EXPECT_FLOAT_EQ(top, 334);
    EXPECT_FLOAT_EQ(box.getXCenter(), 100);
    EXPECT_FLOAT_EQ(box.getYCenter(), 342);
}

TEST_F(OnscreenTest, BoxesCollideOnlyWhenTheyOverlap) {
    auto a = std::make_shared<Box>(100, 350, 20, 16);
    auto b = std::make_shared<Box>(120, 350, 20, 16); // edges touch at x 110
    EXPECT_FALSE(a->checkRegionCollision(a)) << "never with itself";
    EXPECT_FALSE(a->checkRegionCollision(b)) << "touching is not colliding";
    b->x = 119.9f;
    EXPECT_TRUE(a->checkRegionCollision(b));
    a->collisionXOffset = 1; // shrinks a's box
    EXPECT_FALSE(a->checkRegionCollision(b));
    a->collisionXOffset = -1; // enlarges it
    b->x = 120.5f;
    EXPECT_TRUE(a->checkRegionCollision(b));
    b->x = 100;
    b->y = 366; // vertical edges touch
    a->collisionXOffset = 0;
    EXPECT_FALSE(a->checkRegionCollision(b));
    b->collisionYOffset = -0.5f;
    EXPECT_TRUE(b->checkRegionCollision(a.get()));
    EXPECT_FALSE(a->checkRegionCollision(static_cast<tOnscreenObject*>(nullptr)));
}

TEST_F(OnscreenTest, DamageTruncatesAndDestroysAtZero) {
    Box box(0, 350, 10, 10);
    box.hp = 10;
    box.damage(0.5f);
    EXPECT_EQ(box.hp, 9);
    box.hp = 1;
    box.damage(0.5f);
    EXPECT_EQ(box.hp, 0);
    EXPECT_EQ(theProgram->actorList->Count(), 0) << "no matter balls when it has none";
}

TEST_F(OnscreenTest, DestroyReleasesItsMatterBallsAtItsAnchor) {
    Box box(120.7f, 300.9f, 10, 10);
    box.matterballs = 3;
    box.hp = 5;
    box.damage(5);
    ASSERT_EQ(theProgram->actorList->Count(), 3);
    for (const auto& ball : theProgram->actorList->typed<tMatterBall>())
        EXPECT_FLOAT_EQ(ball->x, 120);
}

TEST_F(OnscreenTest, ScreenPositionTakesOffCameraAndShake) {
    Box box(500, 300, 10, 10);
    theProgram->camera->xOffset = 200;
    tShake::xOffset = 3;
    tShake::yOffset = -2;
    EXPECT_FLOAT_EQ(box.getX(), 297);
    EXPECT_FLOAT_EQ(box.getY(), 302);
}

TEST_F(OnscreenTest, NearnessIsMeasuredFromTheLarvaOrTheLeavingHomebase) {
    Box box(639, 300, 10, 10);
    EXPECT_FALSE(box.isOnscreen()) << "no larva, no leaving homebase: nothing is near";
    theProgram->player = std::make_shared<tFoo>();
    EXPECT_TRUE(box.isOnscreen());
    box.x = -640;
    EXPECT_FALSE(box.isOnscreen()) << "640 away is too far";
    theProgram->playerBase = std::make_shared<tHomebase>();
    theProgram->playerBase->baseState = cBaseStates::IDLE;
    theProgram->playerBase->x = 2000;
    box.x = 10;
    EXPECT_TRUE(box.isOnscreen());
    theProgram->playerBase->baseState = cBaseStates::VICTORY;
    EXPECT_FALSE(box.isOnscreen()) << "next to the larva, but the leaving homebase is what counts";
    box.x = 1400;
    EXPECT_TRUE(box.isOnscreen());
    box.x = 1300; // 700 from the homebase
    EXPECT_FALSE(box.isOnscreen());
}

TEST_F(OnscreenTest, FlashIsAWhiteSilhouetteForFortyMilliseconds) {
    Box box(0, 350, 20, 16);
    TPixmap* sprite = box.defaultImg->Lock(1);
    sprite->WritePixel(2, 3, 0x80123456);
    box.frame = 1;
    box.flash();
    ASSERT_TRUE(box.imgFlash);
    EXPECT_EQ(box.imgFlash->Lock(0)->ReadPixel(2, 3), 0x80FFFFFFu) << "white, the sprite's alpha kept";
    EXPECT_EQ(box.imgFlash->Lock(0)->ReadPixel(0, 0) >> 24, 0u) << "transparent stays transparent";
    EXPECT_EQ(box.imgFlash->handle_x, 5);
    const int end = gameMillisecs() + 40;
    EXPECT_EQ(box.flashTimer, end);

    AdvanceMillis(30);
    box.flash(); // a second hit does not extend it
    EXPECT_EQ(box.flashTimer, end);

    // The silhouette follows the animation.
    std::shared_ptr<TImage> before = box.imgFlash;
    box.frame = 2;
    box.updateFlash();
    EXPECT_NE(box.imgFlash, before);
    EXPECT_EQ(box.flashFrame, 2);
    EXPECT_EQ(box.imgFlash->Lock(0)->ReadPixel(2, 3) >> 24, 0u) << "frame 2 has no pixel there";

    AdvanceMillis(10);
    box.updateFlash();
    EXPECT_FALSE(box.imgFlash);
    EXPECT_EQ(box.flashFrame, 0);

    // A frame outside the sprite gives a blank silhouette, not a read past its frames.
    box.frame = 7;
    box.flash();
    ASSERT_TRUE(box.imgFlash);
    EXPECT_EQ(box.imgFlash->Lock(0)->ReadPixel(2, 3), 0u);
}

TEST_F(OnscreenTest, HitPauseKeepsTheRemainderOfEveryTimer) {
    auto box = std::make_shared<Box>(0, 350, 20, 16);
    theProgram->fxList->AddLast(box);
    box->animTimer = gameMillisecs() + 10;
    box->flashTimer = gameMillisecs() + 25;
    theProgram->gameSleep(20);
    EXPECT_EQ(box->animTimer, gameMillisecs() + 10);
    EXPECT_EQ(box->flashTimer, gameMillisecs() + 25);
}

} // namespace
