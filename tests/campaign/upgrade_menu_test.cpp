#include <gtest/gtest.h>

#include "campaign/persistence.h"
#include "campaign/upg_cursor.h"
#include "campaign/upgrade_buttons.h"
#include "campaign/upgrade_menu.h"
#include "engine/engine.h"
#include "game/assets.h"
#include "game/game_clock.h"
#include "hud/error_popup.h"
#include "hud/indicators.h"
#include "player/foo.h"
#include "driver/harness.h"

namespace {

// The upgrade menu open over mission 0's battlefield, driven pass by pass.
class UpgradeMenuTest : public ::testing::Test {
  protected:
    Harness game;
    std::shared_ptr<TSound> savedSelect, savedError, savedBleep;

    void SetUp() override {
        game.drawEvery = 25; // the menu's logic needs no frames
        savedSelect = tSfx::select;
        savedError = tSfx::error;
        savedBleep = tSfx::tinyBleep;
        game.startMission(0);
        foo().menuClosedTime = 0;
        foo().matterBank = 0;
        foo().menuUpgradeShow();
        ASSERT_EQ(game.program().state, gamestate::MENU);
        ASSERT_NE(std::dynamic_pointer_cast<tUpgradeMenu>(game.program().currentMenu), nullptr);
    }
    void TearDown() override {
        tSfx::select = savedSelect;
        tSfx::error = savedError;
        tSfx::tinyBleep = savedBleep;
    }

    tFoo& foo() { return *game.program().player; }
    tUpgradeMenu& menu() { return *std::dynamic_pointer_cast<tUpgradeMenu>(game.program().currentMenu); }
    int selectedIndex() { return menu().selectedButton->index; }
    int messageCount() { return game.program().messages->Count(); }

    // Leaves only one of the menu's sounds able to play, so a new playing channel tells which it was.
    void onlySound(const std::shared_ptr<TSound>& keep) {
        tSfx::select = keep == savedSelect ? savedSelect : nullptr;
        tSfx::error = keep == savedError ? savedError : nullptr;
        tSfx::tinyBleep = keep == savedBleep ? savedBleep : nullptr;
    }
    // Taps the keys in one frame, runs that pass, and answers how many sounds started.
    int tapTogether(std::initializer_list<int> keys) {
        for (int key : keys)
            InjectKeyTap(key);
        const int before = PlayingChannelCount();
        game.pass();
        return PlayingChannelCount() - before;
    }
    int popupHeight() {
        const auto& popup = game.program().errorPopup;
        return popup && popup->defaultImage ? popup->defaultImage->height : -1;
    }
};

constexpr int kNotEnoughMatterHeight = 45;  // msgNotEnoughMatter.png is 57 x 45
constexpr int kAlreadyPurchasedHeight = 41; // msgAlreadyPurchased.png is 57 x 41

} // namespace

TEST_F(UpgradeMenuTest, PageAndRowLayout) {
    EXPECT_FLOAT_EQ(menu().x, 74.0f);
    EXPECT_FLOAT_EQ(menu().y, 30.0f);
    EXPECT_FLOAT_EQ(menu().width, 492.0f);
    EXPECT_FLOAT_EQ(menu().height, 318.0f);
    ASSERT_EQ(menu().listButtons->Count(), 5);
    const float xs[5] = {121, 207, 293, 379, 465};
    int i = 0;
    for (const auto& object : *menu().listButtons) {
        auto button = std::dynamic_pointer_cast<tUpgradeButton>(object);
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->index, i);
        EXPECT_FLOAT_EQ(button->x, xs[i]);
        EXPECT_FLOAT_EQ(button->y, 126.0f);
        EXPECT_FLOAT_EQ(button->width, 54.0f);
        EXPECT_FLOAT_EQ(button->height, 54.0f);
        EXPECT_EQ(button->parent, &menu());
        ++i;
    }
    EXPECT_EQ(selectedIndex(), 0) << "the cursor starts on the laser";
    EXPECT_FLOAT_EQ(menu().cursor->x, 122.0f);
    EXPECT_FLOAT_EQ(menu().cursor->y, 99.0f);
}

TEST_F(UpgradeMenuTest, DescriptionLinesOfferThenConfirmEachTrait) {
    struct Lines {
        const char* offer;
        const char* offer2;
        const char* owned;
    };
    const Lines lines[5] = {
        {"Evolve energy-efficient laser optic nerve for airborne assault.", nullptr,
         "Laser trait already present."},
        {"Evolve photon bomb gland for ground assault.", nullptr, "Photon trait already present."},
        {"Evolve volatile flak cluster pile for air threats.", " > Push [down] + [z] while grounded.",
         "Flak trait already present."},
        {"Evolve energy shield for ground-based siege.", " > Push [x] while grounded.",
         "Shield trait already present."},
        {"Evolve limited space flight to return to dazozuzo.", " > Fly upwards leaving the atmosphere.",
         "Space warp trait already present."},
    };
    // A line shows its text when its pixels are those of the text written in green.
    auto shows = [](const std::shared_ptr<TImage>& line, const char* text) {
        if (!line || !text) return !line && !text;
        return line->Lock(0)->pixels == createTextImage(text, 1, 1, 0, 255, 0)->Lock(0)->pixels;
    };
    foo().matterBank = 500;
    for (int i = 0; i < 5; ++i) {
        ASSERT_EQ(selectedIndex(), i);
        const tButton& button = *menu().selectedButton;
        EXPECT_TRUE(shows(button.hoverText, lines[i].offer)) << i;
        EXPECT_TRUE(shows(button.hoverText2, lines[i].offer2)) << i;
        game.press(KEY_ENTER);
        EXPECT_TRUE(shows(button.hoverText, lines[i].owned)) << i;
        EXPECT_EQ(button.hoverText2, nullptr) << i;
        game.press(KEY_RIGHT);
    }
    EXPECT_TRUE(foo().unlockLaser && foo().unlockPhotons && foo().unlockFlak && foo().unlockShield &&
                foo().unlockSpaceWarp);
    EXPECT_EQ(foo().matterBank, 0) << "50 + 75 + 100 + 125 + 150 = 500";
}

TEST_F(UpgradeMenuTest, PriceIs50Plus25PerTraitOwned) {
    EXPECT_EQ(menu().getUpgradeCost(), 50);
    EXPECT_EQ(menu().nextUpgradeCost, 50);
    foo().unlockShield = true;
    EXPECT_EQ(menu().getUpgradeCost(), 75);
    foo().unlockFlak = foo().unlockSpaceWarp = true;
    EXPECT_EQ(menu().getUpgradeCost(), 125);
    foo().unlockLaser = true;
    EXPECT_EQ(menu().getUpgradeCost(), 150);
    EXPECT_EQ(menu().nextUpgradeCost, 50) << "the shown price changes only with a purchase";
    // A menu opened later prices from the traits owned then.
    auto reopened = std::make_shared<tUpgradeMenu>();
    EXPECT_EQ(reopened->nextUpgradeCost, 150);
}

TEST_F(UpgradeMenuTest, ExactlyEnoughMatterBuysAndShowsTheMatterSpent) {
    foo().matterBank = 50;
    onlySound(savedSelect);
    const int messages = messageCount();
    EXPECT_EQ(tapTogether({KEY_ENTER}), 1) << "the select sound";
    EXPECT_TRUE(foo().unlockLaser);
    EXPECT_EQ(foo().matterBank, 0);
    EXPECT_EQ(menu().nextUpgradeCost, 75);
    EXPECT_EQ(menu().nextUpgradeCostText->width, StringWidth("75"));
    EXPECT_EQ(game.program().errorPopup, nullptr);
    ASSERT_EQ(messageCount(), messages + 1);
    auto spent = std::dynamic_pointer_cast<tNumberIndicator>(game.program().messages->Last());
    ASSERT_NE(spent, nullptr);
    EXPECT_FLOAT_EQ(spent->x, 560.0f);
    EXPECT_LT(spent->y, 446.5f); // made at 486 - 40, rising since
    EXPECT_GT(spent->y, 440.0f);
    EXPECT_EQ(spent->r, 0);
    EXPECT_EQ(spent->g, 204);
    EXPECT_EQ(spent->b, 0);
    EXPECT_EQ(spent->defaultImg->width, 2 * StringWidth("-50")) << "big: rendered at scale 2";
}

TEST_F(UpgradeMenuTest, NotEnoughMatterShowsItsPictureAndChangesNothing) {
    foo().unlockLaser = true;
    foo().matterBank = 74;
    auto fresh = std::make_shared<tUpgradeMenu>();
    game.program().currentMenu = fresh;
    game.press(KEY_RIGHT); // photon
    onlySound(savedError);
    const int messages = messageCount();
    EXPECT_EQ(tapTogether({KEY_Z}), 1) << "the error sound";
    EXPECT_EQ(popupHeight(), kNotEnoughMatterHeight);
    EXPECT_FALSE(foo().unlockPhotons);
    EXPECT_EQ(foo().matterBank, 74);
    EXPECT_EQ(menu().nextUpgradeCost, 75);
    EXPECT_EQ(messageCount(), messages);
    EXPECT_EQ(game.program().state, gamestate::MENU) << "the menu stays open";
}

TEST_F(UpgradeMenuTest, OwnedTraitShowsAlreadyPurchasedEvenWhenMatterIsShort) {
    foo().unlockLaser = true;
    foo().matterBank = 10;
    onlySound(savedError);
    EXPECT_EQ(tapTogether({KEY_C}), 1);
    EXPECT_EQ(popupHeight(), kAlreadyPurchasedHeight);
    EXPECT_EQ(foo().matterBank, 10);
    // A newer popup replaces the older one at once.
    game.press(KEY_RIGHT);
    foo().matterBank = 0;
    game.press(KEY_X);
    EXPECT_EQ(popupHeight(), kNotEnoughMatterHeight);
}

TEST_F(UpgradeMenuTest, EscapeInTheSameFrameAsEnterClosesWithoutBuying) {
    foo().matterBank = 100;
    tapTogether({KEY_ESCAPE, KEY_ENTER});
    EXPECT_FALSE(foo().unlockLaser);
    EXPECT_EQ(foo().matterBank, 100);
    EXPECT_EQ(game.program().state, gamestate::RUNNING);
    EXPECT_EQ(game.program().currentMenu, nullptr);
    EXPECT_EQ(foo().menuClosedTime, game.now() + 3000) << "the menu stays shut for 3 s";
    EXPECT_EQ(KeyPressCount(KEY_ENTER), 0) << "leaving the menu clears the keys";
}

TEST_F(UpgradeMenuTest, EnterAndZInOneFrameBuyOnceAndZActsNextFrame) {
    foo().matterBank = 100;
    onlySound(savedSelect);
    EXPECT_EQ(tapTogether({KEY_ENTER, KEY_Z}), 1);
    EXPECT_TRUE(foo().unlockLaser);
    EXPECT_EQ(foo().matterBank, 50);
    EXPECT_EQ(game.program().errorPopup, nullptr);
    // The Z press stayed pending: now the laser is owned.
    onlySound(savedError);
    EXPECT_EQ(tapTogether({}), 1);
    EXPECT_EQ(popupHeight(), kAlreadyPurchasedHeight);
    EXPECT_EQ(foo().matterBank, 50);
}

TEST_F(UpgradeMenuTest, CursorStopsAtBothEndsWithoutASound) {
    onlySound(savedBleep);
    EXPECT_EQ(tapTogether({KEY_LEFT}), 0);
    EXPECT_EQ(selectedIndex(), 0);
    for (int i = 1; i <= 4; ++i) {
        EXPECT_EQ(tapTogether({KEY_RIGHT}), 1) << "tiny bleep";
        EXPECT_EQ(selectedIndex(), i);
    }
    EXPECT_EQ(tapTogether({KEY_RIGHT}), 0);
    EXPECT_EQ(selectedIndex(), 4);
    EXPECT_EQ(menu().cursor->buttonIndex, 4);
    EXPECT_FLOAT_EQ(menu().cursor->x, 466.0f);
    // Right and Left in one frame: Right moves, Left waits for the next frame.
    game.press(KEY_LEFT);
    EXPECT_EQ(selectedIndex(), 3);
    tapTogether({KEY_RIGHT, KEY_LEFT});
    EXPECT_EQ(selectedIndex(), 4);
    game.pass();
    EXPECT_EQ(selectedIndex(), 3);
}

TEST_F(UpgradeMenuTest, CursorBobsBelowItsRestAndSnapsBackEachCycle) {
    tUpgCursor& cursor = *menu().cursor;
    const float rest = cursor.originalY;
    float deepest = rest;
    for (int i = 0; i < 89; ++i) { // 356 ms: just inside one 0.36 s cycle
        game.pass();
        deepest = std::max(deepest, cursor.y);
        EXPECT_GE(cursor.y, rest - 0.5f);
    }
    EXPECT_NEAR(deepest - rest, 11.5f, 1.0f);
    game.runFor(8);
    EXPECT_FLOAT_EQ(cursor.y, rest) << "snapped back at the end of the cycle";
}

TEST_F(UpgradeMenuTest, TraitRecordCopiesACreaturesTraitsAndNothingSafely) {
    tPersistence record;
    foo().unlockFlak = foo().unlockSpaceWarp = true;
    record.savePlayerUpgrades(game.program().player);
    record.savePlayerUpgrades(nullptr);
    EXPECT_TRUE(record.unlockFlak && record.unlockSpaceWarp);
    EXPECT_FALSE(record.unlockLaser || record.unlockPhotons || record.unlockShield);
    auto other = std::make_shared<tFoo>();
    record.loadPlayerUpgrades(other);
    record.loadPlayerUpgrades(nullptr);
    EXPECT_TRUE(other->unlockFlak && other->unlockSpaceWarp);
    EXPECT_FALSE(other->unlockShield);
    record.resetPlayerUpgrades();
    EXPECT_FALSE(record.unlockShield || record.unlockLaser || record.unlockPhotons || record.unlockFlak ||
                 record.unlockSpaceWarp);
}
