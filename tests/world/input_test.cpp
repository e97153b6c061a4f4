#include <gtest/gtest.h>

#include "game/shell_test_support.h"

namespace {

using InputTest = ShellTest;

TEST_F(InputTest, LeftBeatsRightUpBeatsDownAndZXStandApart) {
    tInput keys;
    InjectKeyDown(KEY_LEFT);
    InjectKeyDown(KEY_RIGHT);
    InjectKeyDown(KEY_UP);
    InjectKeyDown(KEY_DOWN);
    keys.update();
    EXPECT_TRUE(keys.leftKey);
    EXPECT_FALSE(keys.rightKey);
    EXPECT_TRUE(keys.upKey);
    EXPECT_FALSE(keys.downKey);
    EXPECT_FALSE(keys.zKey);
    EXPECT_FALSE(keys.xKey);

    InjectKeyUp(KEY_LEFT);
    InjectKeyUp(KEY_UP);
    InjectKeyDown(KEY_Z);
    InjectKeyDown(KEY_X);
    keys.update();
    EXPECT_FALSE(keys.leftKey);
    EXPECT_TRUE(keys.rightKey);
    EXPECT_FALSE(keys.upKey);
    EXPECT_TRUE(keys.downKey);
    EXPECT_TRUE(keys.zKey);
    EXPECT_TRUE(keys.xKey);
}

TEST_F(InputTest, HeldMeansEveryPassUntilReleased) {
    tInput keys;
    InjectKeyDown(KEY_X);
    for (int i = 0; i < 3; ++i) {
        keys.update();
        EXPECT_TRUE(keys.xKey);
    }
    InjectKeyUp(KEY_X);
    keys.update();
    EXPECT_FALSE(keys.xKey);
    // A tap between two passes is never seen as held.
    InjectKeyTap(KEY_Z);
    keys.update();
    EXPECT_FALSE(keys.zKey);
}

} // namespace
