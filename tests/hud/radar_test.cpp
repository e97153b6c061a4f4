#include <gtest/gtest.h>

#include "buildings/building.h"
#include "buildings/homebase.h"
#include "game/shell_test_support.h"
#include "hud/bars.h"
#include "hud/beam_status.h"
#include "hud/radar.h"

namespace {

class RadarTest : public ShellTest {
  protected:
    tRadar radar;
    // Lit pixels on the whole screen after drawing only the radar.
    int litPixels() {
        return countPixels(screenAfter([&] { radar.draw(); }), 0, 0, 640, 480,
                           [](std::uint32_t p) { return p; });
    }
    std::shared_ptr<tBuilding> building(float x, float y, int faction) {
        auto b = std::make_shared<tBuilding>();
        b->x = x;
        b->y = y;
        b->faction = faction;
        theProgram->buildingList->AddLast(b);
        return b;
    }
};

TEST_F(RadarTest, MarksOnlyStrictlyInsideTheStrip) {
    auto b = building(-284, 350, factions::ENEMY); // radar x 169: on the margin
    EXPECT_EQ(litPixels(), 0);
    b->x = -280; // radar x 170
    EXPECT_GT(litPixels(), 0);
    b->x = 924; // radar x 471
    EXPECT_EQ(litPixels(), 0);
    b->y = 480;
    b->x = 0;
    EXPECT_EQ(litPixels(), 0) << "480 and below is off the radar";
}

TEST_F(RadarTest, HighFlyersRespawningAndHiddenActorsShowNothing) {
    auto actor = std::make_shared<TestActor>(0, 32);
    theProgram->actorList->AddLast(actor);
    EXPECT_EQ(litPixels(), 0);
    actor->y = 33;
    const int shown = litPixels();
    EXPECT_GT(shown, 0);
    actor->state = states::RESPAWN;
    EXPECT_EQ(litPixels(), 0);
    actor->state = states::IDLE;
    actor->onRadar = false;
    EXPECT_EQ(litPixels(), 0);
}

TEST_F(RadarTest, MarksFallAtAQuarterScaleFromTheStripsOriginAndShowTheirSide) {
    // World (400, 200) with the camera at 100 is screen x 300: radar (240 + 300 / 4, 380 + 200 / 4).
    theProgram->camera->xOffset = 100;
    auto b = building(400, 200, factions::ENEMY);
    std::vector<std::uint32_t> shown[2];
    for (int side : {0, 1}) {
        b->faction = side == 0 ? factions::ENEMY : factions::ALLY;
        shown[side] = screenAfter([&] { radar.draw(); });
        const int mark = side == 0 ? cRadar::ENEMY_BUILDING : cRadar::ALLY_BUILDING;
        EXPECT_EQ(shown[side], screenAfter([&] {
                      SetDrawScale(2, 2);
                      DrawFrame(gfx::radarContacts, 315, 430, mark);
                  }))
            << "side " << side;
    }
    EXPECT_NE(shown[0], shown[1]);
}

TEST_F(RadarTest, DepartingHomebaseShowsOnlyItsPicture) {
    building(0, 350, factions::ENEMY);
    theProgram->actorList->AddLast(std::make_shared<TestActor>(10, 300));
    theProgram->playerBase = std::make_shared<tHomebase>();
    theProgram->playerBase->baseState = cBaseStates::TAKEOFF;
    Cls();
    radar.draw();
    std::vector<std::uint32_t> shown(640 * 480), retreat(640 * 480);
    ReadBackBuffer(0, 0, 640, 480, shown.data());
    ASSERT_TRUE(radar.retreatMessage);
    Cls();
    SetDrawScale(2, 2);
    DrawFrame(TImage::Load("incbin::Gfx\\retreating.png"), 162, 380);
    ReadBackBuffer(0, 0, 640, 480, retreat.data());
    EXPECT_EQ(shown, retreat);

    // The field is shared: the victory keeps the picture loaded first.
    auto first = radar.retreatMessage;
    theProgram->playerBase->baseState = cBaseStates::VICTORY;
    radar.draw();
    EXPECT_EQ(radar.retreatMessage, first);
}

using BarTest = ShellTest;

TEST_F(BarTest, FillIsValueOverMaximumOfTheLength) {
    const std::uint32_t empty = gfx::healthBars->Lock(1)->ReadPixel(0, 0) & 0xFFFFFF;
    const std::uint32_t full = gfx::healthBars->Lock(0)->ReadPixel(0, 0) & 0xFFFFFF;
    ASSERT_NE(empty, full);
    auto row = [] {
        std::vector<std::uint32_t> pixels(40);
        ReadBackBuffer(100, 100, 40, 1, pixels.data());
        for (auto& p : pixels)
            p &= 0xFFFFFF;
        return pixels;
    };
    for (auto [value, maximum, filledPixels] : {std::tuple{0.f, 10.f, 0}, std::tuple{10.f, 10.f, 20},
                                                std::tuple{5.f, 10.f, 10}, std::tuple{3.f, 0.f, 0}}) {
        Cls();
        tHealthBar::draw(100, 100, value, maximum, 20);
        const auto pixels = row();
        for (int x = 0; x < 40; ++x) {
            const std::uint32_t expected = x < filledPixels ? full : x < 20 ? empty : 0;
            EXPECT_EQ(pixels[x], expected) << value << "/" << maximum << " at " << x;
        }
    }
    Cls();
    tBatteryBar::draw(100, 100, 1, 2, 20);
    EXPECT_EQ(row()[0], gfx::batteryBar->Lock(0)->ReadPixel(0, 0) & 0xFFFFFF);
}

using BeamStatusTest = ShellTest;

TEST_F(BeamStatusTest, OnlyAChangedTextIsRenderedAndRadioactiveStaysRed) {
    tAbductionBeamStatus status;
    status.updateText("Civilian");
    auto image = status.textImg;
    ASSERT_TRUE(image);
    EXPECT_FALSE(status.warning);
    status.updateText("Civilian");
    EXPECT_EQ(status.textImg, image) << "the same name every frame renders nothing";
    status.updateText("Radioactive Cow");
    EXPECT_TRUE(status.warning);
    status.updateText("Civilian");
    EXPECT_TRUE(status.warning) << "red until cleared";
    EXPECT_NE(status.textImg, image);
    status.clearText();
    EXPECT_EQ(status.text, "");
    EXPECT_FALSE(status.textImg);
    EXPECT_FALSE(status.warning);
}

} // namespace
