#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>

#include "driver/harness.h"
#include "engine/engine.h"
#include "entities/onscreen_object.h"
#include "game/game_clock.h"
#include "game/program.h"
#include "game/shell_test_support.h"
#include "intro/intro.h"
#include "intro/intro_flash.h"
#include "intro/intro_missile.h"
#include "intro/intro_star.h"
#include "intro/intro_survivor.h"
#include "intro/intro_title.h"
#include "intro/intro_unit.h"

namespace {

// The intro driven the way tProgram::showIntro drives it, on the manual clock.
class IntroTest : public ::testing::Test {
  protected:
    Harness game;
    std::unique_ptr<tIntro> intro;

    void SetUp() override {
        ClearKeys();
        intro = std::make_unique<tIntro>();
        Delta::Start();
    }

    // One pass of frameMs; answers what update answers.
    bool pass(int frameMs = 4) {
        AdvanceMillis(frameMs);
        Delta::Update();
        return intro->update();
    }
    // Passes until the formation has come to rest and the title is up.
    void untilTitle() {
        for (int i = 0; i < 2000 && !intro->inputReady; ++i)
            ASSERT_TRUE(pass());
        ASSERT_TRUE(intro->inputReady);
    }
    int count(KindMask kind) {
        int n = 0;
        if (!intro->actorList) return 0;
        for (const auto& object : *intro->actorList) {
            if (object->kinds & kind) ++n;
        }
        return n;
    }
    // Passes until the intro ends; answers the milliseconds it took (or -1 after maxMs).
    int msUntilEnd(int maxMs, int frameMs = 4) {
        for (int ms = frameMs; ms <= maxMs; ms += frameMs) {
            if (!pass(frameMs)) return ms;
        }
        return -1;
    }
};

} // namespace

TEST_F(IntroTest, FormationOf45ShipsDescendsThenTheTitleAppears) {
    EXPECT_EQ(count(tIntroUnit::kKind), 45);
    EXPECT_EQ(intro->starField->Count(), 241);
    const auto first = std::static_pointer_cast<tIntroUnit>(intro->actorList->First());
    EXPECT_FLOAT_EQ(first->x, 260.0f); // row 1, leftmost ship
    EXPECT_FLOAT_EQ(first->y, -150.0f);
    const auto last = std::static_pointer_cast<tIntroUnit>(intro->actorList->Last());
    EXPECT_FLOAT_EQ(last->x, 492.0f); // row 5, rightmost ship
    EXPECT_FLOAT_EQ(last->y, -30.0f);

    // Halfway down: still descending, no title, keys would not launch anything.
    for (int i = 0; i < 500; ++i)
        ASSERT_TRUE(pass());
    EXPECT_NEAR(first->y, -150.0f + 140.0f, 0.01f);
    EXPECT_EQ(intro->introTitle, nullptr);
    EXPECT_FALSE(intro->inputReady);

    untilTitle();
    // The formation came down about 310 pixels in some 4.4 s and stopped.
    EXPECT_NEAR(first->y, 160.0f, 0.5f);
    const float restY = first->y;
    ASSERT_NE(intro->introTitle, nullptr);
    EXPECT_FLOAT_EQ(intro->introTitle->x, 320.0f);
    EXPECT_FLOAT_EQ(intro->introTitle->y, 352.0f);
    for (int i = 0; i < 500; ++i)
        ASSERT_TRUE(pass());
    EXPECT_FLOAT_EQ(first->y, restY);
    EXPECT_FLOAT_EQ(intro->introTitle->alpha, 1.0f) << "faded in within a second, capped at 1";
    EXPECT_EQ(intro->blackscreen, nullptr) << "the title waits for a key";
}

TEST_F(IntroTest, KeyDuringTheDescentSkipsToTheFade) {
    for (int i = 0; i < 100; ++i)
        ASSERT_TRUE(pass());
    InjectKeyTap(KEY_SPACE);
    InjectKeyTap(KEY_Z); // a second pending press: the typed key discards it
    ASSERT_TRUE(pass());
    EXPECT_NE(intro->blackscreen, nullptr);
    EXPECT_FALSE(intro->missileSpawned);
    EXPECT_EQ(KeyPressCount(KEY_Z), 0) << "the key that ends the intro does not reach the map";
    EXPECT_EQ(NextChar(), 0);
    // The black cover grows by 3 a second and the intro ends once it passes 2: 0.67 s.
    const int ms = msUntilEnd(2000);
    EXPECT_GE(ms, 660);
    EXPECT_LE(ms, 680);
    EXPECT_EQ(intro->actorList, nullptr);
}

TEST_F(IntroTest, KeyInTheTitlePhaseLaunchesExactlyOneMissile) {
    untilTitle();
    ASSERT_NE(intro->introSongChannel, nullptr);
    EXPECT_TRUE(intro->introSongChannel->Playing());
    InjectChar('a');
    ASSERT_TRUE(pass());
    EXPECT_TRUE(intro->missileSpawned);
    EXPECT_EQ(intro->introTitle, nullptr);
    EXPECT_FALSE(intro->inputReady);
    EXPECT_FALSE(intro->introSongChannel->Playing()) << "the music stops at the launch";
    EXPECT_EQ(count(tIntroMissile::kKind), 1);
    EXPECT_EQ(intro->blackscreen, nullptr) << "the launching key does not start the fade";

    // A second key during the flight starts the fade but launches nothing.
    ASSERT_TRUE(pass());
    InjectChar('b');
    ASSERT_TRUE(pass());
    EXPECT_EQ(count(tIntroMissile::kKind), 1);
    EXPECT_NE(intro->blackscreen, nullptr);
    // The title never comes back.
    for (int i = 0; i < 20; ++i) {
        if (!pass()) break;
        EXPECT_EQ(intro->introTitle, nullptr);
    }
}

TEST_F(IntroTest, MissileHitLeavesOneSurvivorThatTumblesAwayThenFades) {
    untilTitle();
    const auto lowerRow = std::static_pointer_cast<tIntroUnit>(intro->actorList->Last());
    const float formationBottom = lowerRow->y;
    InjectChar('x');
    ASSERT_TRUE(pass());
    ASSERT_NE(intro->missile, nullptr);
    EXPECT_FLOAT_EQ(intro->missile->x, 320.0f);

    // The missile rises 200 pixels a second from 516 and hits once above y 260: about 1.28 s.
    int ms = 0;
    while (!intro->survivor && ms < 3000) {
        ASSERT_TRUE(pass());
        ms += 4;
    }
    ASSERT_NE(intro->survivor, nullptr);
    EXPECT_NEAR(ms, 1280, 12);
    EXPECT_EQ(intro->missile, nullptr);
    EXPECT_EQ(intro->actorList->Count(), 0) << "every ship is gone but the survivor";
    ASSERT_NE(intro->objFlash, nullptr);
    // The survivor starts at the lower ship of rows 4-5 one column right of the middle (and has
    // flown one 4 ms frame since).
    const tIntroSurvivor& survivor = *intro->survivor;
    const float startX = survivor.x, startY = survivor.y;
    EXPECT_NEAR(startX, 364.0f, 0.5f);
    EXPECT_NEAR(startY, formationBottom, 0.5f);

    // 40 degrees below the horizontal at 100 px/s, spinning 40 degrees a second.
    for (int i = 0; i < 250; ++i)
        ASSERT_TRUE(pass());
    const float dx = survivor.x - startX, dy = survivor.y - startY;
    EXPECT_NEAR(std::atan2(dy, dx) * 180.0 / std::numbers::pi, 40.0, 0.01);
    EXPECT_NEAR(std::sqrt(dx * dx + dy * dy), 100.0, 0.5);
    EXPECT_NEAR(survivor.rot, 40.0f, 0.5f);
    EXPECT_EQ(intro->objFlash, nullptr) << "the flash has faded after a second";
    EXPECT_EQ(intro->blackscreen, nullptr) << "no fade while the survivor is on screen";

    // It leaves through the bottom edge some three seconds after the hit, then the screen fades.
    while (survivor.y <= 480.0f)
        ASSERT_TRUE(pass());
    EXPECT_LT(survivor.x, 640.0f);
    ASSERT_TRUE(pass());
    EXPECT_NE(intro->blackscreen, nullptr);
    const int fadeMs = msUntilEnd(2000);
    EXPECT_GE(fadeMs, 660);
    EXPECT_LE(fadeMs, 680);
}

TEST_F(IntroTest, WithZeroFrameTimeNothingMovesButStarsKeepComing) {
    const auto first = std::static_pointer_cast<tIntroUnit>(intro->actorList->First());
    const float shipY = first->y;
    const int stars = intro->starField->Count();
    for (int i = 0; i < 100; ++i) {
        AdvanceMillis(4);
        Delta::frameSeconds = 0.0;
        ASSERT_TRUE(intro->update());
    }
    EXPECT_FLOAT_EQ(first->y, shipY);
    EXPECT_FLOAT_EQ(intro->formationY, -150.0f);
    // One star at once (the timer starts due), then one every 40 ms of the 400 ms.
    EXPECT_EQ(intro->starField->Count(), stars + 10);
    const auto newest = std::static_pointer_cast<tIntroStar>(intro->starField->Last());
    EXPECT_FLOAT_EQ(newest->y, 480.0f);
}

TEST_F(IntroTest, StarsRiseByTheirBrightnessAndLeaveAtTheTop) {
    auto star = tIntroStar::Create(10.0f, 5.0f);
    EXPECT_GE(star->alpha, 0.0f);
    EXPECT_LT(star->alpha, 1.0f);
    EXPECT_FLOAT_EQ(star->speed, 100.0f * star->alpha);
    intro->starField->Clear();
    intro->starField->AddLast(star);
    intro->starfieldTimer = gameMillisecs() + 100000; // no new stars in this test
    for (int i = 0; i < 1000 && intro->starField->Count() > 0; ++i)
        ASSERT_TRUE(pass());
    EXPECT_EQ(intro->starField->Count(), 0) << "a star above the top edge is removed";
}

TEST_F(IntroTest, DrawsTheTitleTheFlashAndTheBlackCoverOnTop) {
    auto frame = [&] { return screenAfter([&] { intro->draw(); }); };
    // The title: 470 x 112 centred on (320, 352), over the ships and the stars.
    untilTitle();
    for (int i = 0; i < 300; ++i)
        ASSERT_TRUE(pass()); // faded in fully
    const auto withTitle = frame();
    const auto title = intro->introTitle;
    intro->introTitle = nullptr;
    const auto box = boxOf(differences(withTitle, frame()), [](std::uint32_t p) { return p; });
    intro->introTitle = title;
    EXPECT_GE(box[0], 85);
    EXPECT_LE(box[2], 554);
    EXPECT_GE(box[1], 296);
    EXPECT_LE(box[3], 407);
    EXPECT_GT(box[2] - box[0], 400) << "drawn at scale 2";

    // The missile's hit: the white flash covers the whole screen.
    InjectChar('x');
    while (!intro->survivor)
        ASSERT_TRUE(pass());
    const auto flash = frame();
    EXPECT_EQ(std::count_if(flash.begin(), flash.end(), [](std::uint32_t p) { return p < 0xF0F0F0; }), 0);
    // With flashes off in the options the screen does not turn white at all.
    tOnscreenObject::flashesShown = false;
    const auto unflashed = frame();
    tOnscreenObject::flashesShown = true;
    EXPECT_LT(
        std::count_if(unflashed.begin(), unflashed.end(), [](std::uint32_t p) { return p >= 0xF0F0F0; }),
        640 * 480 / 100);

    // After the end the stars remain, but under the opaque black cover.
    InjectChar('x');
    while (pass()) {
    }
    ASSERT_GT(intro->starField->Count(), 0);
    const auto last = frame();
    EXPECT_EQ(std::count(last.begin(), last.end(), 0u), 640 * 480);
    EXPECT_FLOAT_EQ(GetDrawingState().color_alpha, 1.0f);
}

TEST(ShowIntro, RunsToTheEndOfTheFadeAndDrawsAtMostEvery5Ms) {
    Harness game;
    // A red marker in the corner that only a drawn frame (which starts with Cls) wipes out.
    auto marker = TImage::Create(1, 1, 1, 0);
    marker->Lock(0)->WritePixel(0, 0, 0xFFFF0000u);
    int passes = 0, frames = 0;
    tProgram::passHook = [&] {
        if (passes > 0 && (ReadBackBufferPixel(0, 0) & 0xFFFFFFu) != 0xFF0000u) ++frames;
        SetDrawTransform(0, 1, 1);
        DrawFrame(marker, 0, 0, 0);
        AdvanceMillis(1);
        ++passes;
        if (passes % 1000 == 0) InjectChar(' '); // an intro that ignored the key gets more
    };
    tProgram::showIntro();
    tProgram::passHook = nullptr;
    // The key typed after 1 s of descent, then about 0.67 s of fade, one pass per millisecond.
    EXPECT_GE(passes, 1000 + 660);
    EXPECT_LE(passes, 1000 + 680);
    EXPECT_GE(frames, passes / 5 - 2);
    EXPECT_LE(frames, passes / 5 + 1);
}

// The title waits for a key forever; the close button ends the intro (and the game) at once.
TEST(ShowIntro, TheCloseButtonEndsItAtTheTitle) {
    Harness game;
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_EVENTS), 0);
    int passes = 0;
    tProgram::passHook = [&] {
        AdvanceMillis(10);
        if (++passes == 500) { // 5 s in: the formation has come to rest under the title
            SDL_Event quit{};
            quit.type = SDL_QUIT;
            SDL_PushEvent(&quit);
        }
        if (passes > 2000) InjectChar(' '); // an intro that ignored the close button ends anyway
    };
    EXPECT_FALSE(tProgram::showIntro());
    tProgram::passHook = nullptr;
    SDL_QuitSubSystem(SDL_INIT_EVENTS);
    EXPECT_EQ(passes, 500);
}
