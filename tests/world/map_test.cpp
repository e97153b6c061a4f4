#include <gtest/gtest.h>

#include "game/shell_test_support.h"

namespace {

int setOf(int code) {
    return code / 5;
}

TEST(MapRing, ColumnsWrapBothWays) {
    EXPECT_EQ(tMap::getGridGroup(19, 20), 0);
    EXPECT_EQ(tMap::getGridGroup(20, 20), 1);
    EXPECT_EQ(tMap::getGridGroup(-1, 20), -1);
    EXPECT_EQ(tMap::getGridGroup(-20, 20), -2);
    EXPECT_EQ(tMap::getArrayIndex(-1, 20, -1), 18);

    tMap map;
    for (int i = 0; i < 20; ++i)
        map.mapBlock[i] = 100 + i;
    for (int column = 0; column < 20; ++column)
        EXPECT_EQ(map.blockAtColumn(column), 100 + column);
    EXPECT_EQ(map.blockAtColumn(20), 100);
    EXPECT_EQ(map.blockAtColumn(-1), 118);
    EXPECT_EQ(map.blockAtColumn(-19), 100);
    EXPECT_EQ(map.blockAtColumn(-20), 119);
    EXPECT_EQ(map.blockAtColumn(-21), 118);
    // Far out on both sides the index never leaves the ring.
    for (int column = -1000; column <= 1000; ++column) {
        const int group = tMap::getGridGroup(column, 20);
        const int index = tMap::getArrayIndex(column, 20, group);
        ASSERT_GE(index, 0) << column;
        ASSERT_LT(index, 20) << column;
    }
}

TEST(MapRing, GeneratedBlocksPairSetOneWithSetThree) {
    for (int seed = 1; seed <= 500; ++seed) {
        SeedRandom(seed);
        tMap map;
        SCOPED_TRACE(seed);
        EXPECT_EQ(map.groundLevel, 350);
        EXPECT_EQ(setOf(map.mapBlock[0]), 1);
        EXPECT_EQ(setOf(map.mapBlock[18]), 1);
        EXPECT_EQ(setOf(map.mapBlock[19]), 1);
        for (int i = 0; i < 20; ++i) {
            ASSERT_GE(map.mapBlock[i], 0);
            ASSERT_LT(map.mapBlock[i], 15);
            if (setOf(map.mapBlock[i]) == 0) {
                ASSERT_LT(i, 17) << "a pair starts at 1..16";
                EXPECT_EQ(setOf(map.mapBlock[i + 1]), 2) << "set 01 is followed by its set-03 partner";
            }
            if (setOf(map.mapBlock[i]) == 2) {
                EXPECT_EQ(setOf(map.mapBlock[i - 1]), 0);
            }
        }
    }
}

using MapDrawTest = ShellTest;

TEST_F(MapDrawTest, BlocksLandInTheirColumnsOnTheGroundBand) {
    tMap& map = *theProgram->map;
    // Distinct pictures for the test: column -1 shows block 18, column 0 block 0.
    map.mapBlock[18] = 12;
    map.mapBlock[0] = 6;
    theProgram->camera->xOffset = -128; // column -1 at screen x 0..127, column 0 at 128..255
    Cls();
    map.draw();
    auto expectPicture = [](const std::shared_ptr<TImage>& picture, int screenX) {
        // A picture pixel (px, py) covers the 2 x 2 screen pixels at (screenX + 2 px, 180 + 2 py);
        // every opaque one is compared.
        const TPixmap& pixels = *picture->Lock(0);
        int opaque = 0;
        for (int py = 0; py < picture->height; ++py) {
            for (int px = 0; px < 64; ++px) {
                const std::uint32_t expected = pixels.ReadPixel(px, py);
                if ((expected >> 24) != 0xFF) continue;
                ++opaque;
                ASSERT_EQ(ReadBackBufferPixel(screenX + 2 * px, 180 + 2 * py) & 0xFFFFFF, expected & 0xFFFFFF)
                    << px << "," << py;
            }
        }
        EXPECT_GT(opaque, 200);
    };
    expectPicture(bgSet03::img3, 0);
    expectPicture(bgSet02::img2, 128);
}

} // namespace
