#include "engine/platform.h"
#include "engine/scripted_pad.h"
#include "engine_test_support.h"
#include "virtual_pad.h"

namespace {
class Gamepad : public HeadlessTest {
  protected:
    void SetUp() override {
        HeadlessTest::SetUp();
        ASSERT_TRUE(OpenGamepads()) << SDL_GetError();
    }
};
} // namespace

TEST_F(Gamepad, ButtonsPressTheGamesKeysAndTypeCharacters) {
    VirtualPad pad;
    ASSERT_EQ(GamepadCount(), 1);
    pad.button(SDL_CONTROLLER_BUTTON_A, true);
    EXPECT_TRUE(KeyHeld(KEY_Z));
    EXPECT_EQ(KeyPressCount(KEY_Z), 1);
    pad.button(SDL_CONTROLLER_BUTTON_A, false);
    EXPECT_FALSE(KeyHeld(KEY_Z));
    EXPECT_EQ(KeyPressCount(KEY_Z), 0);
    EXPECT_EQ(NextChar(), 'z');

    const struct {
        SDL_GameControllerButton button;
        int key;
        int typed;
    } buttons[] = {{SDL_CONTROLLER_BUTTON_B, KEY_X, 'x'},
                   {SDL_CONTROLLER_BUTTON_Y, KEY_C, 'c'},
                   {SDL_CONTROLLER_BUTTON_START, KEY_P, 'p'},
                   {SDL_CONTROLLER_BUTTON_BACK, KEY_ESCAPE, 27},
                   {SDL_CONTROLLER_BUTTON_DPAD_LEFT, KEY_LEFT, ' '},
                   {SDL_CONTROLLER_BUTTON_DPAD_UP, KEY_UP, ' '},
                   {SDL_CONTROLLER_BUTTON_X, 0, ' '},
                   {SDL_CONTROLLER_BUTTON_LEFTSHOULDER, 0, ' '}};
    for (const auto& b : buttons) {
        pad.tap(b.button);
        if (b.key) {
            EXPECT_EQ(KeyPressCount(b.key), 1) << "button " << b.button;
        }
        EXPECT_EQ(NextChar(), b.typed) << "every button types, so it ends the intro and the outro";
    }
    EXPECT_EQ(NextChar(), 0);
}

TEST_F(Gamepad, LeftStickHoldsAnArrowOnlyPastTheDeadZone) {
    VirtualPad pad;
    pad.leftStick(-PAD_DEAD_ZONE, PAD_DEAD_ZONE);
    EXPECT_FALSE(KeyHeld(KEY_LEFT));
    EXPECT_FALSE(KeyHeld(KEY_DOWN));
    pad.leftStick(-PAD_DEAD_ZONE - 1000, 0);
    EXPECT_TRUE(KeyHeld(KEY_LEFT));
    pad.leftStick(-30000, 0); // leaning further is the same hold, not a new press
    EXPECT_EQ(KeyPressCount(KEY_LEFT), 1);
    pad.leftStick(20000, -20000);
    EXPECT_FALSE(KeyHeld(KEY_LEFT));
    EXPECT_TRUE(KeyHeld(KEY_RIGHT));
    EXPECT_TRUE(KeyHeld(KEY_UP));
    EXPECT_EQ(NextChar(), 0) << "a stick is no button: it types nothing";

    // The d-pad and the stick hold the same arrow: it stays held until both let go.
    pad.button(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, true);
    pad.leftStick(0, 0);
    EXPECT_TRUE(KeyHeld(KEY_RIGHT));
    EXPECT_FALSE(KeyHeld(KEY_UP));
    pad.button(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, false);
    EXPECT_FALSE(KeyHeld(KEY_RIGHT));
}

TEST_F(Gamepad, EveryPadAndTheKeyboardHoldKeysOfTheirOwn) {
    VirtualPad first, second;
    ASSERT_EQ(GamepadCount(), 2);
    first.button(SDL_CONTROLLER_BUTTON_A, true);
    second.button(SDL_CONTROLLER_BUTTON_A, true);
    InjectKeyDown(KEY_Z);
    first.button(SDL_CONTROLLER_BUTTON_A, false);
    InjectKeyUp(KEY_Z);
    EXPECT_TRUE(KeyHeld(KEY_Z)) << "the second pad still holds it";
    EXPECT_EQ(KeyPressCount(KEY_Z), 3);

    // ClearKeys releases the pads' keys too; a button still down must be pressed again.
    second.button(SDL_CONTROLLER_BUTTON_B, true);
    ClearKeys();
    EXPECT_FALSE(KeyHeld(KEY_Z));
    EXPECT_FALSE(KeyHeld(KEY_X));
    second.button(SDL_CONTROLLER_BUTTON_B, false);
    second.button(SDL_CONTROLLER_BUTTON_B, true);
    EXPECT_TRUE(KeyHeld(KEY_X));

    // Unplugged mid-game, a pad releases everything it held.
    second.leftStick(0, 30000);
    EXPECT_TRUE(KeyHeld(KEY_DOWN));
    second.unplug();
    EXPECT_EQ(GamepadCount(), 1);
    EXPECT_FALSE(KeyHeld(KEY_X));
    EXPECT_FALSE(KeyHeld(KEY_DOWN));
}

TEST_F(Gamepad, APadWithoutAMappingIsIgnored) {
    VirtualPad odd(false);
    EXPECT_EQ(GamepadCount(), 0);
    odd.button(SDL_CONTROLLER_BUTTON_A, true);
    odd.leftStick(-30000, 0);
    for (int key = 1; key < 256; ++key)
        ASSERT_FALSE(KeyHeld(key)) << key;
    EXPECT_EQ(NextChar(), 0);
}

// Each pad SDL opened for the game is closed again when it leaves (the sanitizer build's leak checker
// also watches this).
TEST_F(Gamepad, AHundredPlugsAndUnplugsLeaveNoHandle) {
    for (int i = 0; i < 100; ++i) {
        VirtualPad pad;
        ASSERT_EQ(GamepadCount(), 1) << "cycle " << i;
        pad.button(SDL_CONTROLLER_BUTTON_A, true);
        ASSERT_TRUE(KeyHeld(KEY_Z));
        pad.unplug();
        ASSERT_EQ(GamepadCount(), 0);
        ASSERT_FALSE(KeyHeld(KEY_Z));
        ASSERT_EQ(SDL_JoystickFromInstanceID(pad.id), nullptr) << "cycle " << i;
    }
}

TEST(PadScript, StepsReadAndMalformedLinesRefused) {
    tPadScriptStep step;
    std::string why;
    ASSERT_TRUE(ParsePadScriptLine("tap start", step, why)) << why;
    EXPECT_EQ(step.kind, tPadScriptStep::Kind::Tap);
    EXPECT_EQ(step.which, SDL_CONTROLLER_BUTTON_START);
    ASSERT_TRUE(ParsePadScriptLine("axis lefttrigger 32767", step, why)) << why;
    EXPECT_EQ(step.kind, tPadScriptStep::Kind::Axis);
    EXPECT_EQ(step.which, SDL_CONTROLLER_AXIS_TRIGGERLEFT);
    EXPECT_EQ(step.value, 32767);
    ASSERT_TRUE(ParsePadScriptLine("axis leftx -32768", step, why)) << why;
    EXPECT_EQ(step.value, -32768);
    for (const char* bad : {"tap", "tap spacebar", "press a b", "hold a", "axis leftx", "axis leftx 32768",
                            "axis leftx 12x", "axis wheel 0", "tap a extra words"}) {
        why.clear();
        EXPECT_FALSE(ParsePadScriptLine(bad, step, why)) << bad;
        EXPECT_FALSE(why.empty()) << bad;
    }
    EXPECT_FALSE(ParsePadScriptLine(std::string(500, 'a'), step, why));
}
