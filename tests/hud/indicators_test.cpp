#include <gtest/gtest.h>

#include "game/shell_test_support.h"
#include "hud/error_popup.h"
#include "hud/indicators.h"
#include "hud/warning.h"

namespace {

class IndicatorTest : public ShellTest {
  protected:
    void SetUp() override {
        ShellTest::SetUp();
        Delta::Start();
    }
};

TEST_F(IndicatorTest, NumberRisesStaysThenFadesAndLeaves) {
    auto number = tNumberIndicator::Create(560, 486, "+25", 0, 204, 0, true);
    theProgram->messages->AddLast(number);
    EXPECT_FLOAT_EQ(number->y, 446);
    EXPECT_TRUE(number->colourSet);
    ASSERT_TRUE(number->defaultImg);
    EXPECT_FLOAT_EQ(number->defaultImg->handle_x, number->defaultImg->width * 0.5f);
    int lived = 0;
    while (theProgram->messages->Count() > 0 && lived < 3000) {
        step(10);
        theProgram->updateBattleField();
        lived += 10;
        if (lived == 740) {
            EXPECT_FLOAT_EQ(number->alpha, 1.0f) << "opaque for 750 ms";
        }
    }
    EXPECT_NEAR(lived, 1000, 20) << "750 ms opaque, 250 ms fading";
    EXPECT_NEAR(number->y, 446 - 50, 1.0) << "about 50 pixels up over its life";
}

TEST_F(IndicatorTest, NumberWithoutColourKeepsTheCurrentOne) {
    auto number = tNumberIndicator::Create(80, 486, "-3", -1, -1, -1, false);
    EXPECT_FALSE(number->colourSet);
    SetColor(1, 2, 3);
    number->draw();
    int r, g, b;
    ReadColor(r, g, b);
    EXPECT_EQ((std::vector<int>{r, g, b}), (std::vector<int>{1, 2, 3}));
    // A coloured one is drawn in its colour, centred on its place, at scale 2; then the default colour.
    auto green = tNumberIndicator::Create(80, 486, "+3", 0, 204, 0, true);
    const auto screen = screenAfter([&] { green->draw(); });
    ReadColor(r, g, b);
    EXPECT_EQ((std::vector<int>{r, g, b}), (std::vector<int>{255, 255, 255}));
    EXPECT_FLOAT_EQ(GetAlpha(), 1.0f);
    EXPECT_EQ(countPixels(screen, 0, 0, 640, 480, [](std::uint32_t p) { return p & 0xFF00FF; }), 0)
        << "green";
    const auto box = boxOf(screen, [](std::uint32_t p) { return p != 0; });
    EXPECT_NEAR((box[0] + box[2] + 1) / 2.0, 80, 4) << "the glyphs sit a little left in their image";
    EXPECT_NEAR((box[1] + box[3] + 1) / 2.0, 446, green->height / 2);
    EXPECT_GT(box[2] - box[0] + 1, green->width * 1.5) << "drawn at twice its size";
    EXPECT_LE(box[2] - box[0] + 1, green->width * 2);
}

TEST_F(IndicatorTest, RadiationBurstShowsFiveFramesFollowingItsOwner) {
    auto owner = std::make_shared<TestActor>(100, 300);
    auto burst = tRadiationIndicator::Create(0, 0, owner);
    theProgram->fxList->AddLast(burst);
    std::vector<int> frames;
    for (int t = 0; t < 500 && theProgram->fxList->Count(); t += 25) {
        owner->x += 1;
        burst->update();
        frames.push_back(burst->frame);
        AdvanceMillis(25);
    }
    EXPECT_FLOAT_EQ(burst->x, owner->x - 0);
    EXPECT_EQ(frames.front(), 0);
    EXPECT_EQ(theProgram->fxList->Count(), 0);
    // 75 ms per frame: frames 0..4, removed when the fifth has been shown.
    EXPECT_EQ(std::count(frames.begin(), frames.end(), 0), 3);
    EXPECT_EQ(std::count(frames.begin(), frames.end(), 4), 3);
}

TEST_F(IndicatorTest, KeyHintBlinksAboveOrBelowItsOwner) {
    auto owner = std::make_shared<TestActor>(50, 300);
    owner->height = 46;
    auto above = tButtonFlasher::createXButton(owner, true);
    auto below = tButtonFlasher::createZButton(owner, false);
    EXPECT_FLOAT_EQ(above->height, 20);
    above->update();
    below->update();
    EXPECT_FLOAT_EQ(above->y, 300 - 46 - 20);
    EXPECT_FLOAT_EQ(below->y, 300 + 20 + 4);
    std::vector<int> frames;
    for (int i = 0; i < 6; ++i) {
        AdvanceMillis(100);
        above->update();
        frames.push_back(above->frame);
    }
    EXPECT_EQ(frames, (std::vector<int>{0, 1, 1, 0, 0, 1}));
    std::weak_ptr<TestActor> watch = owner;
    owner.reset();
    EXPECT_TRUE(watch.expired()) << "a hint does not keep its owner alive";
    above->update();
    EXPECT_FLOAT_EQ(above->x, 50) << "an owner gone leaves the hint where it was";
    EXPECT_FLOAT_EQ(above->y, 300 - 46 - 20);
}

TEST_F(IndicatorTest, WarningShowsSixteenMillisecondsPerPixel) {
    tWarning warning;
    warning.setMessage("Hatching siege larva", -1, -1, -1);
    ASSERT_TRUE(warning.defaultImg);
    const int shown = 16 * warning.defaultImg->width;
    EXPECT_EQ(warning.animTimer, gameMillisecs() + shown);
    EXPECT_EQ((std::vector<float>{warning.r, warning.g, warning.b}), (std::vector<float>{0, 0, 0}))
        << "no colour of its own: black";
    EXPECT_FLOAT_EQ(warning.x, 320);
    EXPECT_FLOAT_EQ(warning.y, 362);
    for (int i = 0; i < 50; ++i) {
        step(2);
        warning.update();
    }
    EXPECT_FLOAT_EQ(warning.wtR, 255) << "the white copy of a black message does not darken";
    EXPECT_NEAR(warning.txtAlpha, 0.8f, 1e-4);
    EXPECT_NEAR(warning.txtScale, 1.05f, 1e-4);

    // Drawn while its time lasts, then never again.
    AdvanceMillis(shown - 100 - 1);
    Cls();
    warning.draw();
    EXPECT_EQ(GetDrawingState().color_red, 255) << "default colour restored";
    AdvanceMillis(1);
    std::vector<std::uint32_t> before(640 * 480), after(640 * 480);
    Cls();
    ReadBackBuffer(0, 0, 640, 480, before.data());
    warning.draw();
    ReadBackBuffer(0, 0, 640, 480, after.data());
    EXPECT_EQ(before, after);
}

TEST_F(IndicatorTest, RedWarningsWhiteCopyDarkensTwoPerStep) {
    tWarning warning;
    warning.setMessage("Dazozuzo is under attack!", 255, 0, 0);
    EXPECT_EQ((std::vector<float>{warning.r, warning.g, warning.b}), (std::vector<float>{255, 0, 0}));
    AdvanceMillis(2);
    warning.update();
    EXPECT_FLOAT_EQ(warning.wtR, 253);
    AdvanceMillis(1);
    warning.update();
    EXPECT_FLOAT_EQ(warning.wtR, 253) << "one step every 2 ms";
    AdvanceMillis(1);
    warning.update();
    EXPECT_FLOAT_EQ(warning.wtG, 251);
}

TEST_F(IndicatorTest, ShakeDiesAwayToExactlyZero) {
    tShake::start(15, 400);
    EXPECT_FLOAT_EQ(tShake::decay, 1.875f);
    EXPECT_LE(std::fabs(tShake::xOffset), 15);
    std::vector<float> magnitudes;
    for (int t = 0; t < 500; t += 10) {
        AdvanceMillis(10);
        tShake::update();
        ASSERT_LE(std::fabs(tShake::xOffset), std::max(tShake::magnitude, 0.0f) + 1e-4);
        if (magnitudes.empty() || magnitudes.back() != tShake::magnitude)
            magnitudes.push_back(tShake::magnitude);
    }
    EXPECT_EQ(magnitudes.size(), 8u) << "15 and then 7 more steps before the end at 400 ms";
    EXPECT_EQ(tShake::xOffset, 0.0f);
    EXPECT_EQ(tShake::yOffset, 0.0f);

    tShake::start(20, 0); // no duration: nothing to divide by, and it is over at once
    AdvanceMillis(1);
    tShake::update();
    EXPECT_EQ(tShake::xOffset, 0.0f);
}

TEST_F(IndicatorTest, ShakeTimersSurviveAPause) {
    tShake::start(20, 600);
    const int stepAt = tShake::nextStepTime;
    theProgram->pauseTime = gameMillisecs();
    AdvanceMillis(1000);
    tShake::resetTimers();
    EXPECT_EQ(tShake::nextStepTime, stepAt + 1000);
    tShake::update();
    EXPECT_NE(tShake::xOffset, 0.0f) << "still shaking after the pause";
}

TEST_F(IndicatorTest, ErrorPopupFadesAndANewOneReplacesIt) {
    theProgram->errorPopup = tQuickErrorPopup::errorNotEnoughMatter(320, 240);
    auto first = theProgram->errorPopup;
    ASSERT_TRUE(first->defaultImage);
    EXPECT_FLOAT_EQ(first->defaultImage->handle_x, first->defaultImage->width * 0.5f);
    for (int t = 0; t < 330; t += 10) {
        step(10);
        theProgram->updateBattleField();
    }
    EXPECT_FLOAT_EQ(first->alpha, 1.0f);
    EXPECT_LT(first->alpha2, 0.0f) << "the shock copy is gone within an eighth of a second";

    theProgram->errorPopup = tQuickErrorPopup::errorAlreadyPurchased(320, 240);
    for (int t = 0; t < 200; t += 10) {
        step(10);
        first->update(); // the old one fading out must not clear its successor
    }
    ASSERT_TRUE(theProgram->errorPopup);
    EXPECT_NE(theProgram->errorPopup, first);

    int lived = 200; // the successor's clock has run alongside
    while (theProgram->errorPopup && lived < 2000) {
        step(10);
        theProgram->updateBattleField();
        lived += 10;
    }
    EXPECT_GE(lived, 450);
    EXPECT_LE(lived, 470) << "333 ms and then 125 ms of fading";
}

} // namespace
