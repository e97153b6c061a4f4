#include <SDL.h>
#include <gtest/gtest.h>

#include <cstring>
#include <set>

#include "../engine/engine_test_support.h"
#include "../engine/virtual_pad.h"
#include "engine/engine.h"
#include "engine/platform.h"
#include "settings/bindings.h"
#include "settings/prompts.h"

namespace {
class Prompts : public HeadlessTest {
  protected:
    void SetUp() override {
        HeadlessTest::SetUp();
        ASSERT_TRUE(OpenGamepads()) << SDL_GetError();
        engine_detail::ResetInputDevice();
        SetFont(LoadFont("incbin::Font\\super_effective.ttf", 8, 0)); // key caps are as wide as their names
    }
    void TearDown() override {
        engine_detail::ResetInputDevice();
        HeadlessTest::TearDown();
    }
};

void pressKey(SDL_Keycode code) {
    SDL_Event event;
    std::memset(&event, 0, sizeof(event));
    event.type = SDL_KEYDOWN;
    event.key.keysym.sym = code;
    engine_detail::HandleKeyboardEvent(event);
    event.type = SDL_KEYUP;
    engine_detail::HandleKeyboardEvent(event);
}

// The frame's pixels as drawn from the top-left corner: what tells two pictures apart.
std::uint32_t drawnHash(const tPrompt& prompt) {
    Cls();
    DrawPrompt(prompt, 0, 0);
    const std::shared_ptr<TImage> grab = TImage::Create(40, PROMPT_HEIGHT);
    GrabFrame(grab, 0, 0);
    std::uint32_t hash = 2166136261u;
    for (std::uint32_t pixel : grab->Lock(0)->pixels)
        hash = (hash ^ pixel) * 16777619u;
    return hash;
}
} // namespace

TEST(PromptStyles, EachControllerTypeShowsItsOwnLabels) {
    EXPECT_EQ(PadStyleOfControllerType(SDL_CONTROLLER_TYPE_XBOX360), PadStyle::Xbox);
    EXPECT_EQ(PadStyleOfControllerType(SDL_CONTROLLER_TYPE_XBOXONE), PadStyle::Xbox);
    EXPECT_EQ(PadStyleOfControllerType(SDL_CONTROLLER_TYPE_PS3), PadStyle::PlayStation);
    EXPECT_EQ(PadStyleOfControllerType(SDL_CONTROLLER_TYPE_PS4), PadStyle::PlayStation);
    EXPECT_EQ(PadStyleOfControllerType(SDL_CONTROLLER_TYPE_PS5), PadStyle::PlayStation);
    EXPECT_EQ(PadStyleOfControllerType(SDL_CONTROLLER_TYPE_NINTENDO_SWITCH_PRO), PadStyle::Nintendo);
    EXPECT_EQ(PadStyleOfControllerType(SDL_CONTROLLER_TYPE_NINTENDO_SWITCH_JOYCON_PAIR), PadStyle::Nintendo);
    EXPECT_EQ(PadStyleOfControllerType(SDL_CONTROLLER_TYPE_VIRTUAL), PadStyle::Generic);
    EXPECT_EQ(PadStyleOfControllerType(SDL_CONTROLLER_TYPE_UNKNOWN), PadStyle::Generic);
    EXPECT_EQ(PadStyleOfControllerType(9999), PadStyle::Generic);
}

TEST_F(Prompts, EachDeviceShowsWhatIsBoundOnIt) {
    tSettings s;
    EXPECT_EQ(PromptFor(s, Action::Back, InputDevice::Keyboard, PadStyle::Xbox).words, "Esc");
    EXPECT_EQ(PromptFor(s, Action::Back, InputDevice::Keyboard, PadStyle::Xbox).kind, tPrompt::Kind::Key);
    BindKey(s, Action::Back, KEY_Q);
    BindPadButton(s, Action::Fire, PAD_RIGHT_TRIGGER);
    EXPECT_EQ(PromptFor(s, Action::Back, InputDevice::Keyboard, PadStyle::Xbox).words, "Q")
        << "the key bound";
    const tPrompt fire = PromptFor(s, Action::Fire, InputDevice::Pad, PadStyle::PlayStation);
    EXPECT_EQ(fire.kind, tPrompt::Kind::Button);
    EXPECT_EQ(fire.code, PAD_RIGHT_TRIGGER);
    EXPECT_EQ(fire.picture, PadButtonPicture(PAD_RIGHT_TRIGGER, PadStyle::PlayStation));
    const tPrompt touch = PromptFor(s, Action::Beam, InputDevice::Touch, PadStyle::Xbox);
    EXPECT_EQ(touch.kind, tPrompt::Kind::Touch);
    EXPECT_EQ(touch.words, "Beam") << "the touch control's own name";
}

TEST_F(Prompts, EveryButtonOfEveryStyleHasAPictureOfItsOwn) {
    for (PadStyle style : {PadStyle::Xbox, PadStyle::PlayStation, PadStyle::Nintendo, PadStyle::Generic}) {
        std::set<std::uint32_t> drawn;
        for (int button = 0; button < PAD_BUTTON_COUNT; ++button) {
            if (!PadButtonRefusal(button).empty()) continue;
            tPrompt prompt;
            prompt.kind = tPrompt::Kind::Button;
            prompt.code = button;
            prompt.picture = PadButtonPicture(button, style);
            ASSERT_GE(prompt.picture, 0) << "button " << button;
            EXPECT_GT(PromptWidth(prompt), 0);
            EXPECT_TRUE(drawn.insert(drawnHash(prompt)).second)
                << "button " << button << " in style " << static_cast<int>(style) << " looks like another";
        }
    }
    tPrompt south;
    south.kind = tPrompt::Kind::Button;
    std::set<std::uint32_t> styles;
    for (PadStyle style : {PadStyle::Xbox, PadStyle::PlayStation, PadStyle::Nintendo, PadStyle::Generic}) {
        south.picture = PadButtonPicture(SDL_CONTROLLER_BUTTON_A, style);
        styles.insert(drawnHash(south));
    }
    EXPECT_EQ(styles.size(), 4u) << "each pad's south button in its own labels";
    EXPECT_EQ(PadButtonPicture(-1, PadStyle::Xbox), -1);
    EXPECT_EQ(PadButtonPicture(PAD_BUTTON_COUNT, PadStyle::Xbox), -1);
}

TEST_F(Prompts, FollowTheDeviceUsedLastAndNotAnIdlePad) {
    VirtualPad playstation(true, 0x054c, 0x09cc);
    VirtualPad nintendo(true, 0x057e, 0x2009);
    ASSERT_EQ(GamepadCount(), 2);
    EXPECT_EQ(PromptFor(Action::Fire).kind, tPrompt::Kind::Key) << "the keyboard until a pad is used";

    playstation.tap(SDL_CONTROLLER_BUTTON_A);
    EXPECT_EQ(LastInputDevice(), InputDevice::Pad) << "at once: the next frame drawn shows it";
    EXPECT_EQ(PromptFor(Action::Fire).picture,
              PadButtonPicture(SDL_CONTROLLER_BUTTON_A, PadStyle::PlayStation));

    // The other pad lying idle, its stick drifting within the dead zone, changes nothing.
    nintendo.leftStick(PAD_DEAD_ZONE / 2, -PAD_DEAD_ZONE / 2);
    engine_detail::PumpEvents();
    EXPECT_EQ(LastPadStyle(), PadStyle::PlayStation);
    nintendo.leftStick(PAD_DEAD_ZONE + 2000, 0);
    engine_detail::PumpEvents();
    EXPECT_EQ(LastPadStyle(), PadStyle::Nintendo) << "a stick leaning past the dead zone is the pad used";

    pressKey(SDLK_SPACE);
    EXPECT_EQ(LastInputDevice(), InputDevice::Keyboard);
    EXPECT_EQ(PromptFor(Action::Fire).words, "Z");
    nintendo.leftStick(PAD_DEAD_ZONE + 4000, 0); // still leaning: no new use
    engine_detail::PumpEvents();
    EXPECT_EQ(LastInputDevice(), InputDevice::Keyboard);
}

// A prompt names the key used last of an action's keys, else the first bound (not the lowest).
TEST_F(Prompts, NameTheSecondKeyOnceUsedAndTheFirstUntilThen) {
    ApplyBindings(tSettings{});
    EXPECT_EQ(PromptFor(Action::Up).words, "Up");
    pressKey(SDLK_w);
    EXPECT_EQ(PromptFor(Action::Up).words, "W");
    EXPECT_EQ(PromptFor(Action::Down).words, "Down") << "only the action whose key was used";
    pressKey(SDLK_UP);
    EXPECT_EQ(PromptFor(Action::Up).words, "Up");

    const std::vector<tHint> steer = {{{Action::Left, Action::Right, Action::Up, Action::Down}, ""}};
    tPrompt cap;
    cap.kind = tPrompt::Kind::Key;
    cap.words = "WASD";
    for (SDL_Keycode code : {SDLK_a, SDLK_s, SDLK_d, SDLK_w})
        pressKey(code);
    EXPECT_EQ(HintLineWidth(steer), PromptWidth(cap)) << "the four letters as one cap, as the arrows are";

    tSettings s;
    BindKey(s, Action::Up, KEY_Y);
    ApplyBindings(s);
    EXPECT_EQ(PromptFor(Action::Up).words, "Y") << "Y is bound first, W second";
    EXPECT_EQ(PromptFor(s, Action::Up, InputDevice::Keyboard, PadStyle::Xbox).words, "Y");
    ApplyBindings(tSettings{});
}

TEST_F(Prompts, AHintLineShowsTheDpadsArmsAsOnePicture) {
    const std::vector<tHint> line = {{{Action::Up, Action::Down}, "choose"}, {{Action::Back}, "close"}};
    const int keys = HintLineWidth(line);
    engine_detail::NotePadUsed(PadStyle::Xbox);
    const int pad = HintLineWidth(line);
    EXPECT_LT(pad, keys) << "one d-pad picture instead of the Up and Down caps";
    tPrompt up = PromptFor(Action::Up), down = PromptFor(Action::Down);
    EXPECT_EQ(PadPairPicture(up.code, down.code), PadPairPicture(down.code, up.code));
    EXPECT_EQ(PadPairPicture(up.code, SDL_CONTROLLER_BUTTON_A), -1);
    Cls();
    EXPECT_EQ(DrawHintLine(line, 10, 10), pad);
}
