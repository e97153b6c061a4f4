#include <gtest/gtest.h>

#include <limits>

#include "buildings/homebase.h"
#include "game/shell_test_support.h"

namespace {

using ClockTest = ShellTest;

TEST_F(ClockTest, TimerIsDueWhenItsTimeHasComeAndReArmsFromNow) {
    int timer = gameMillisecs();
    EXPECT_TRUE(timerReady(timer, 100)) << "due means not later than now";
    EXPECT_EQ(timer, gameMillisecs() + 100);

    // Called every millisecond it answers true once every 100 ms.
    int hits = 0;
    for (int i = 0; i < 1000; ++i) {
        AdvanceMillis(1);
        if (timerReady(timer, 100)) ++hits;
    }
    EXPECT_EQ(hits, 10);

    // After a 350 ms stall it answers once and the next due time counts from that call.
    AdvanceMillis(350);
    EXPECT_TRUE(timerReady(timer, 100));
    EXPECT_EQ(timer, gameMillisecs() + 100);
    EXPECT_FALSE(timerReady(timer, 100));
}

TEST_F(ClockTest, TimerWithoutDelayStaysDueAndIsNeverMoved) {
    int timer = gameMillisecs() + 50;
    EXPECT_FALSE(timerReady(timer, 0));
    AdvanceMillis(50);
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(timerReady(timer, 0));
        AdvanceMillis(7);
    }
    EXPECT_EQ(timer, 50);
    int negative = 0;
    EXPECT_TRUE(timerReady(negative, -5));
    EXPECT_EQ(negative, 0);
}

TEST_F(ClockTest, GameClockCountsFromInitAndEngineClockBefore) {
    AdvanceMillis(1234);
    theProgram->timeStarted = Millis() - 10;
    EXPECT_EQ(gameMillisecs(), 10);
    theProgram.reset();
    EXPECT_EQ(gameMillisecs(), Millis());
}

TEST_F(ClockTest, EveryClockCarriesOnWhenTheCounterPassesTheLargestInt) {
    // The system's counter reads just below the largest int at init and wraps 150 ms into play.
    SetManualMillis(std::numeric_limits<int>::max() - 150);
    theProgram->timeStarted = Millis();
    Delta::Start();
    int timer = 290;
    tShake::start(16, 400);
    std::vector<float> magnitudes{tShake::magnitude};
    for (int t = 10; t <= 400; t += 10) {
        step(10);
        ASSERT_EQ(gameMillisecs(), t);
        ASSERT_DOUBLE_EQ(Delta::Time(), 0.01);
        ASSERT_EQ(timerReady(timer, 0), t >= 290) << t;
        tShake::update();
        if (magnitudes.back() != tShake::magnitude) magnitudes.push_back(tShake::magnitude);
    }
    EXPECT_LT(Millis(), 0) << "the counter wrapped";
    EXPECT_EQ(magnitudes, (std::vector<float>{16, 14, 12, 10, 8, 6, 4, 2})) << "a step every 50 ms";
    EXPECT_EQ(tShake::xOffset, 0.0f) << "still once the shake is over, 400 ms on";
    EXPECT_EQ(tShake::yOffset, 0.0f);
}

TEST_F(ClockTest, DeltaMeasuresPassesAndResetForgetsAFreeze) {
    Delta::Start();
    AdvanceMillis(16);
    Delta::Update();
    EXPECT_DOUBLE_EQ(Delta::Time(), 0.016);
    AdvanceMillis(2000); // a freeze
    Delta::Reset();
    EXPECT_DOUBLE_EQ(Delta::Time(), 0.0);
    AdvanceMillis(4);
    Delta::Update();
    EXPECT_DOUBLE_EQ(Delta::Time(), 0.004);
    // Start only sets the origin: the last frame time stays until the next Update.
    AdvanceMillis(100);
    Delta::Start();
    EXPECT_DOUBLE_EQ(Delta::Time(), 0.004);
}

TEST_F(ClockTest, TimersKeepTheirRemainderOverAPause) {
    auto object = std::make_shared<Recorder>("a", nullptr);
    Log log;
    object->log = &log;
    theProgram->fxList->AddLast(object);
    const int start = gameMillisecs();
    object->animTimer = start + 500; // due 500 ms after the pause begins
    object->flashTimer = start - 30; // already due
    theProgram->setGameState(gamestate::PAUSED, 0);
    AdvanceMillis(2000);
    theProgram->setGameState(gamestate::RUNNING, 0);
    EXPECT_EQ(object->animTimer, gameMillisecs() + 500);
    EXPECT_EQ(object->flashTimer, gameMillisecs() - 30) << "a due timer stays due";
    EXPECT_EQ(log, Log{"reset a"});
}

TEST_F(ClockTest, GameSleepFreezesAndShiftsEveryTimer) {
    auto actor = std::make_shared<TestActor>();
    theProgram->actorList->AddLast(actor);
    actor->animTimer = gameMillisecs() + 10;
    actor->fireTimer = gameMillisecs() + 100;
    actor->stateTimer = gameMillisecs() + 100;
    const int before = Millis();
    theProgram->gameSleep(20);
    EXPECT_EQ(Millis(), before + 20) << "the sleep blocks the loop for its length";
    EXPECT_EQ(actor->animTimer, gameMillisecs() + 10);
    EXPECT_EQ(actor->fireTimer, gameMillisecs() + 100);
    EXPECT_EQ(actor->stateTimer, gameMillisecs() + 80) << "an actor's state timer is not shifted";
    EXPECT_DOUBLE_EQ(Delta::Time(), 0.0);
}

TEST(GameHelpers, RangeBoundsAreExcluded) {
    EXPECT_FALSE(inRange(5, 0, 5));
    EXPECT_FALSE(inRange(-5, 0, 5));
    EXPECT_TRUE(inRange(4.999f, 0, 5));
    EXPECT_FALSE(inRange(0, 0, 0));
    EXPECT_FALSE(inRange(0, 0, -1));
}

TEST(GameHelpers, AnglesPointRightDownLeftUp) {
    EXPECT_FLOAT_EQ(angleBetween(0, 0, 10, 0), 0);
    EXPECT_FLOAT_EQ(angleBetween(0, 0, 0, 10), 90);
    EXPECT_FLOAT_EQ(angleBetween(0, 0, -10, 0), 180);
    EXPECT_FLOAT_EQ(angleBetween(0, 0, 0, -10), 270);
    EXPECT_NEAR(angleBetween(5, 5, 15, -5), 315, 1e-4);
    EXPECT_EQ(angleBetween(0, 0, 100, -1e-5f), 0.0f) << "a hair above the right is 0, never 360";
    EXPECT_FLOAT_EQ(distanceBetween(1, 2, 4, 6), 5);
}

TEST_F(ClockTest, TextImageInAColourRestoresTheDefault) {
    auto image = createTextImage("Military", 2, 2, 0, 255, 0);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->width, StringWidth("Military") * 2);
    EXPECT_EQ(image->height, StringHeight("Military") * 2);
    EXPECT_TRUE(image->flags & IMAGE_MASKED);
    int r, g, b;
    ReadColor(r, g, b);
    EXPECT_EQ((std::vector<int>{r, g, b}), (std::vector<int>{255, 255, 255}));
    EXPECT_EQ(GetDrawingState().tform_scale_x, 2.0f) << "the scale is left as the text's";

    // Some pixel of the grabbed text is green and opaque; the background is transparent.
    TPixmap* pixels = image->Lock(0);
    bool green = false;
    for (std::uint32_t p : pixels->pixels) {
        if ((p >> 24) == 0xFF && ((p >> 8) & 0xFF) > 200 && ((p >> 16) & 0xFF) < 50) green = true;
    }
    EXPECT_TRUE(green);
    EXPECT_EQ(pixels->ReadPixel(image->width - 1, image->height - 1) >> 24, 0u);
}

TEST_F(ClockTest, TextImageWithoutColourUsesAndKeepsTheCurrentOne) {
    SetColor(10, 20, 30);
    auto image = createTextImage("7", 1, 1, -1, -1, -1);
    ASSERT_TRUE(image);
    int r, g, b;
    ReadColor(r, g, b);
    EXPECT_EQ((std::vector<int>{r, g, b}), (std::vector<int>{10, 20, 30}));
    EXPECT_FALSE(createTextImage("", 2, 2, -1, -1, -1)) << "an empty text has no image";
}

TEST_F(ClockTest, SortingByDistanceToTheHomebasePutsTheNearestFirst) {
    theProgram->playerBase = std::make_shared<tHomebase>();
    theProgram->playerBase->y = 100;
    auto far = std::make_shared<TestActor>(0, 350);   // 250 below it
    auto near = std::make_shared<TestActor>(900, 60); // 40 above it: only the height counts
    auto middle = std::make_shared<TestActor>(5, 220);
    for (const auto& actor : {far, near, middle})
        theProgram->actorList->AddLast(actor);
    EXPECT_EQ(near->getDistanceToHomebase(), 40);
    theProgram->actorList->Sort(true, compareDistanceToHomebase);
    EXPECT_EQ(theProgram->actorList->ToVector(), (std::vector<std::shared_ptr<Object>>{near, middle, far}));
    EXPECT_EQ(compareDistanceToHomebase(far, std::make_shared<Recorder>("not an actor", nullptr)), 0);
    EXPECT_EQ(getPlayer(), theProgram->player);
    EXPECT_EQ(getMap(), theProgram->map);
}

} // namespace
