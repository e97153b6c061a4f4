#include "engine/touch.h"

#include <cmath>

#include "engine/platform.h"
#include "engine_test_support.h"

using namespace engine_detail;
using Touch = HeadlessTest;

TEST_F(Touch, DirectionPadHoldsTheArrowsUnderTheFinger) {
    TouchLand(1, TouchTarget::DirectionPad, 0.1f, 0.1f);
    for (int key : {KEY_LEFT, KEY_RIGHT, KEY_UP, KEY_DOWN})
        EXPECT_FALSE(KeyHeld(key)) << "the pad's centre holds nothing";
    EXPECT_EQ(NextChar(), 0);

    TouchSlide(1, TouchTarget::DirectionPad, 0.8f, -0.1f);
    EXPECT_TRUE(KeyHeld(KEY_RIGHT));
    EXPECT_FALSE(KeyHeld(KEY_UP));
    const float diagonal = std::sqrt(0.5f);
    TouchSlide(1, TouchTarget::DirectionPad, diagonal, -diagonal);
    EXPECT_TRUE(KeyHeld(KEY_RIGHT) && KeyHeld(KEY_UP));
    TouchSlide(1, TouchTarget::DirectionPad, -0.2f, 0.9f);
    EXPECT_TRUE(KeyHeld(KEY_DOWN));
    EXPECT_FALSE(KeyHeld(KEY_RIGHT) || KeyHeld(KEY_UP) || KeyHeld(KEY_LEFT));
    EXPECT_EQ(KeyPressCount(KEY_RIGHT), 1);
    EXPECT_EQ(KeyPressCount(KEY_DOWN), 1);

    TouchSlide(1, TouchTarget::DirectionPad, NAN, 1.0f);
    EXPECT_FALSE(KeyHeld(KEY_DOWN)) << "a place that is no number holds nothing";
    TouchLift(1);
    EXPECT_EQ(TouchCount(), 0);
}

TEST_F(Touch, FingersHoldTogetherAndASecondFingerPressesNothingMore) {
    TouchLand(1, TouchTarget::DirectionPad, -1.0f, 0.0f);
    TouchLand(2, TouchTarget::Fire, 0, 0);
    EXPECT_TRUE(KeyHeld(KEY_LEFT) && KeyHeld(KEY_Z)) << "steer and fire at once";
    TouchLand(3, TouchTarget::Fire, 0.5f, 0.5f);
    TouchLift(2);
    EXPECT_TRUE(KeyHeld(KEY_Z)) << "the other finger still holds Fire";
    EXPECT_EQ(KeyPressCount(KEY_Z), 1);
    TouchLift(3);
    EXPECT_FALSE(KeyHeld(KEY_Z));

    // The keyboard's hold and touch's are separate: letting go of one leaves the other's.
    InjectKeyDown(KEY_LEFT);
    TouchLift(1);
    EXPECT_TRUE(KeyHeld(KEY_LEFT));
    InjectKeyUp(KEY_LEFT);
    EXPECT_FALSE(KeyHeld(KEY_LEFT));
}

TEST_F(Touch, AFingerSlidingOffReleasesAndPressesNothingElse) {
    TouchLand(7, TouchTarget::Beam, 0, 0);
    EXPECT_TRUE(KeyHeld(KEY_X));
    TouchSlide(7, TouchTarget::Fire, 0, 0);
    EXPECT_FALSE(KeyHeld(KEY_X));
    EXPECT_FALSE(KeyHeld(KEY_Z)) << "sliding onto another button does not press it";
    TouchSlide(7, TouchTarget::Beam, 0, 0);
    EXPECT_TRUE(KeyHeld(KEY_X)) << "back on its own button";
    EXPECT_EQ(KeyPressCount(KEY_X), 2);

    ReleaseTouches();
    EXPECT_FALSE(KeyHeld(KEY_X));
    TouchSlide(7, TouchTarget::Beam, 0, 0);
    TouchLift(99);
    EXPECT_FALSE(KeyHeld(KEY_X)) << "a finger never seen landing holds nothing";
}

TEST_F(Touch, LandingTypesACharacterAsAPadButtonDoes) {
    TouchLand(1, TouchTarget::Picture, 0, 0);
    TouchLand(2, TouchTarget::Back, 0, 0);
    TouchLand(3, TouchTarget::Select, 0, 0);
    TouchLand(4, TouchTarget::Nothing, 0, 0);
    EXPECT_EQ(NextChar(), ' ') << "a tap on the picture ends the intro";
    EXPECT_EQ(NextChar(), 27);
    EXPECT_EQ(NextChar(), 'c');
    EXPECT_EQ(NextChar(), 0);
    EXPECT_EQ(KeyPressCount(KEY_ESCAPE), 1);

    // ClearKeys lets go of touch's keys too: a finger still down must land again.
    ClearKeys();
    EXPECT_FALSE(KeyHeld(KEY_C));
    TouchLift(3);
    TouchLand(3, TouchTarget::Select, 0, 0);
    EXPECT_TRUE(KeyHeld(KEY_C));

    for (int finger = 10; finger < 40; ++finger)
        TouchLand(finger, TouchTarget::Fire, 0, 0);
    EXPECT_LE(TouchCount(), 10) << "a screen reporting more fingers than two hands has gets them ignored";
}
