// Frames of the map screen and the upgrade menu over the battlefield, rendered headless.
// Each test checks the pixels that matter; with VEVU_SHOT_DIR set the frames are also saved as PNG.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "campaign/map_dazozuzo.h"
#include "campaign/map_screen.h"
#include "campaign/persistence.h"
#include "campaign/upgrade_menu.h"
#include "engine/engine.h"
#include "engine/engine_test_support.h"
#include "game/game_clock.h"
#include "player/foo.h"
#include "driver/harness.h"

namespace {

void keep(const char* name) {
    if (const char* dir = std::getenv("VEVU_SHOT_DIR"))
        SaveBackBufferPng(std::string(dir) + "/" + name + ".png");
}

// Pixels of pure text green (0, 255, 0) in a rectangle.
int textGreenPixels(int x0, int y0, int x1, int y1) {
    int count = 0;
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            const std::uint32_t p = ReadBackBufferPixel(x, y);
            if (greenOf(p) > 200 && redOf(p) < 60 && blueOf(p) < 60) ++count;
        }
    }
    return count;
}

} // namespace

TEST(CampaignScreens, MapScreenShowsNodeNamesAboveTheirNodes) {
    Harness game;
    game.drawEvery = 50;
    game.program().worldData->lockNode(2); // Militarized Zone won: its node shows the closed picture
    game.program().setGameState(gamestate::MAP, 0);
    game.runFor(800); // past the black fade
    game.program().mapScreen->dazozuzo->x = 283;
    game.program().mapScreen->dazozuzo->y = 238;
    game.runFor(40);
    game.program().drawTimer = 0;
    game.program().drawAll();
    keep("map_screen");
    // Each node's green name floats centred above it; the name of "Infantry Staging Zone" (node at
    // 286, 240) lies within the 16 pixels of text above the node picture.
    EXPECT_GT(textGreenPixels(200, 212, 372, 234), 50);
    EXPECT_GT(textGreenPixels(60, 352, 220, 374), 50);  // Militarized Zone at (140, 380)
    EXPECT_GT(textGreenPixels(390, 282, 540, 304), 50); // Armour Staging Zone at (464, 310)
    // Nothing green where no name is.
    EXPECT_EQ(textGreenPixels(560, 20, 640, 60), 0);
}

TEST(CampaignScreens, UpgradeMenuOverTheBattlefieldFitsItsTextOnThePage) {
    Harness game;
    game.drawEvery = 50; // only the kept frames need drawing
    game.startMission(0);
    game.runFor(4000); // the homebase lands and the larva hatches
    tFoo& foo = *game.program().player;
    foo.matterBank = 120;
    foo.unlockShield = true;
    foo.menuClosedTime = 0;
    foo.menuUpgradeShow();
    game.press(KEY_RIGHT); // photon
    game.press(KEY_RIGHT); // flak: two description lines
    game.program().drawTimer = 0;
    game.program().drawAll();
    keep("upgrade_menu_flak");
    // The description lines start at (88, 284) and stay inside the page (x 74 to 566).
    EXPECT_GT(textGreenPixels(88, 284, 566, 300), 100);
    EXPECT_GT(textGreenPixels(88, 300, 566, 320), 50) << "the second line below the first";
    EXPECT_EQ(textGreenPixels(566, 280, 640, 330), 0) << "no text beyond the page's right edge";
    // The price, green, near the top centre of the page.
    EXPECT_GT(textGreenPixels(280, 52, 360, 70), 10);

    // The longest line: the laser's.
    game.press(KEY_LEFT);
    game.press(KEY_LEFT);
    game.program().drawTimer = 0;
    game.program().drawAll();
    keep("upgrade_menu_laser");
    EXPECT_GT(textGreenPixels(88, 284, 566, 300), 150);
    EXPECT_EQ(textGreenPixels(566, 280, 640, 330), 0);
}
