#include <SDL.h>
#include <gtest/gtest.h>

#include <cstring>

#include "campaign/campaign_choice.h"
#include "driver/keys.h"
#include "engine/engine.h"
#include "engine/engine_test_support.h"
#include "engine/platform.h"
#include "engine/virtual_pad.h"
#include "settings/bindings.h"
#include "settings/menu_keys.h"

namespace {

void keyOnKeyboard(int key, bool down) {
    SDL_Event event;
    std::memset(&event, 0, sizeof(event));
    event.key.keysym.sym = SdlKeycodeOf(key);
    event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    engine_detail::HandleKeyboardEvent(event);
}

void tapOnKeyboard(int key) {
    keyOnKeyboard(key, true);
    keyOnKeyboard(key, false);
}

class MenuKeys : public HeadlessTest {
  protected:
    void SetUp() override {
        HeadlessTest::SetUp();
        ASSERT_TRUE(OpenGamepads()) << SDL_GetError();
    }
    void TearDown() override {
        ApplyBindings(tSettings{});
        HeadlessTest::TearDown();
    }
};

} // namespace

// Whatever the player bound, the arrows, Enter and Esc and a pad's d-pad, A and B (by place, so a
// Nintendo pad's too) still move, take and step back in a menu, besides the keys bound.
TEST_F(MenuKeys, ArrowsEnterEscAndThePadsDpadABAnswerWhateverIsBound) {
    tSettings moved;
    BindKey(moved, Action::Back, KEY_Q);
    BindKey(moved, Action::Up, KEY_I);
    BindKey(moved, Action::Fire, KEY_F);
    BindPadButton(moved, Action::Back, SDL_CONTROLLER_BUTTON_LEFTSHOULDER);
    BindPadButton(moved, Action::Up, SDL_CONTROLLER_BUTTON_RIGHTSHOULDER);
    BindPadButton(moved, Action::Beam, PAD_LEFT_TRIGGER); // B is free of any action
    ApplyBindings(moved);
    tMenuKeys menu;
    VirtualPad nintendo(true, 0x057e, 0x2009);

    tapOnKeyboard(KEY_ESCAPE);
    tapOnKeyboard(KEY_UP);
    tapOnKeyboard(KEY_ENTER);
    tMenuKeys::Pass pass = menu.read();
    EXPECT_TRUE(pass.back) << "Esc, though Back is on Q";
    EXPECT_EQ(pass.up, 1) << "the arrow, though Up is on I";
    EXPECT_TRUE(pass.take);

    tapOnKeyboard(KEY_Q);
    tapOnKeyboard(KEY_I);
    tapOnKeyboard(KEY_F);
    pass = menu.read();
    EXPECT_TRUE(pass.back && pass.take) << "and the keys bound";
    EXPECT_EQ(pass.up, 1);

    nintendo.tap(SDL_CONTROLLER_BUTTON_B);
    nintendo.tap(SDL_CONTROLLER_BUTTON_DPAD_UP);
    pass = menu.read();
    EXPECT_TRUE(pass.back) << "the east button steps back";
    EXPECT_EQ(pass.up, 1);
    EXPECT_FALSE(pass.take);
    nintendo.tap(SDL_CONTROLLER_BUTTON_A);
    nintendo.tap(SDL_CONTROLLER_BUTTON_LEFTSHOULDER);
    pass = menu.read();
    EXPECT_TRUE(pass.take && pass.back);
    EXPECT_EQ(pass.down + pass.left + pass.right, 0);

    // An arrow holding its own key too counts once, not twice.
    ApplyBindings(tSettings{});
    tapOnKeyboard(KEY_DOWN);
    EXPECT_EQ(menu.read().down, 1);
}

// A direction held steps once, again after the delay, then at the repeat's pace, and stops when let go.
TEST_F(MenuKeys, AHeldDirectionRepeatsAfterAShortDelay) {
    tMenuKeys menu;
    const auto stepsOver = [&](int ms) {
        int steps = 0;
        for (int t = 0; t < ms; t += 10) {
            AdvanceMillis(10);
            steps += menu.read().down;
        }
        return steps;
    };
    keyOnKeyboard(KEY_DOWN, true);
    EXPECT_EQ(menu.read().down, 1);
    EXPECT_EQ(stepsOver(tMenuKeys::kRepeatDelayMs - 20), 0);
    EXPECT_EQ(stepsOver(20), 1);
    EXPECT_EQ(stepsOver(10 * tMenuKeys::kRepeatEveryMs), 10);
    keyOnKeyboard(KEY_DOWN, false);
    EXPECT_EQ(stepsOver(1000), 0);

    // Held from before the menu opened: no step until pressed again.
    InjectKeyDown(KEY_UP);
    menu.read();
    menu.reset();
    EXPECT_EQ(stepsOver(2000), 0);
    InjectKeyUp(KEY_UP);
}

// B (X) or Esc on the saved campaign's first question changes nothing; in the second they answer no.
TEST_F(MenuKeys, StepsBackInTheCampaignChoiceNeverEndTheGame) {
    tCampaignChoice choice(2);
    for (int key : {KEY_ESCAPE, KEY_X}) {
        tapOnKeyboard(key);
        EXPECT_EQ(choice.update(), tCampaignChoice::Outcome::Undecided);
        EXPECT_FALSE(choice.confirming);
    }
    tapOnKeyboard(KEY_DOWN);
    tapOnKeyboard(KEY_ENTER);
    EXPECT_EQ(choice.update(), tCampaignChoice::Outcome::Undecided);
    EXPECT_TRUE(choice.confirming);
    choice.update();
    EXPECT_TRUE(choice.confirming)
        << "Enter, held by the menu key too, took once, and nothing waits to answer";
    tapOnKeyboard(KEY_ESCAPE);
    EXPECT_EQ(choice.update(), tCampaignChoice::Outcome::Undecided);
    EXPECT_FALSE(choice.confirming) << "back to the first question";
}
