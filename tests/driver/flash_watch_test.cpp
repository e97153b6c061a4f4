// The flash check the replays are played through with flashes off: it must see a flash to be worth it.
#include <gtest/gtest.h>

#include <vector>

#include "driver/flash_watch.h"

TEST(FlashWatch, SeesAQuarterTurningWhiteFastButNotAFadeOrASmallBurst) {
    std::vector<std::uint32_t> frame(640 * 480, 0xFF000000u);
    auto paint = [&](int width, int height, std::uint32_t colour) {
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                frame[static_cast<std::size_t>(y) * 640 + x] = colour;
    };
    FlashWatch fade;
    for (int step = 0; step <= 60; ++step) { // black to white over a second
        const std::uint32_t grey = static_cast<std::uint32_t>(step * 255 / 60);
        paint(640, 480, 0xFF000000u | grey << 16 | grey << 8 | grey);
        EXPECT_TRUE(fade.look(frame.data(), 640, 480, step * 16)) << fade.flash();
    }

    FlashWatch burst;
    paint(640, 480, 0xFF000000u);
    EXPECT_TRUE(burst.look(frame.data(), 640, 480, 0));
    paint(120, 100, 0xFFFFFFFFu); // a white explosion in a corner
    EXPECT_TRUE(burst.look(frame.data(), 640, 480, 16)) << burst.flash();

    FlashWatch quarter;
    paint(640, 480, 0xFF000000u);
    EXPECT_TRUE(quarter.look(frame.data(), 640, 480, 0));
    EXPECT_TRUE(quarter.look(frame.data(), 640, 480, 16));
    paint(320, 240, 0xFFFFFFFFu);
    EXPECT_FALSE(quarter.look(frame.data(), 640, 480, 80));
    EXPECT_NE(quarter.flash().find("the top left quarter"), std::string::npos) << quarter.flash();
}
