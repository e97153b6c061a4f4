#include "campaign/upgrade_menu.h"

#include <string>

#include "campaign/upg_cursor.h"
#include "campaign/upgrade_buttons.h"
#include "engine/engine.h"
#include "engine/words.h"
#include "game/assets.h"
#include "game/battle.h"
#include "game/game_clock.h"
#include "hud/indicators.h"
#include "player/foo.h"
#include "settings/prompts.h"

namespace {

// The page picture's size, used for the layout should the picture be missing.
constexpr int kPageWidth = 246;
constexpr int kPageHeight = 159;

} // namespace

tUpgradeMenu::tUpgradeMenu() {
    // The key that opened the menu must not act in it.
    ClearKeys();

    pageImg = TImage::Load("incbin::Gfx\\menu\\upgradeMenu\\upgradeMenuPage.png", 0);
    width = 2.0f * (pageImg ? pageImg->width : kPageWidth);
    height = 2.0f * (pageImg ? pageImg->height : kPageHeight);
    x = (640.0f - width) / 2.0f;
    y = 30.0f;

    const float rowY = y + 96.0f;
    const int rowWidth = (kButtonWidth + kButtonGap) * kButtonCount - kButtonGap;
    const int firstX = TruncInt(x + width / 2.0f - rowWidth / 2);
    auto buttonX = [&](int i) { return static_cast<float>(firstX + i * (kButtonWidth + kButtonGap)); };

    listButtons = std::make_shared<TList>();
    auto laser = tButtonLaserUpgrade::Create(this, buttonX(0), rowY, 0);
    listButtons->AddLast(laser);
    listButtons->AddLast(tButtonPhotonUpgrade::Create(this, buttonX(1), rowY, 1));
    listButtons->AddLast(tButtonFlakUpgrade::Create(this, buttonX(2), rowY, 2));
    listButtons->AddLast(tButtonShieldUpgrade::Create(this, buttonX(3), rowY, 3));
    listButtons->AddLast(tButtonSpaceWarpUpgrade::Create(this, buttonX(4), rowY, 4));

    cursor = tUpgCursor::Create(laser);
    setActiveButton(laser);

    baseUpgradeCost = 50;
    nextUpgradeCost = getUpgradeCost();
    renderPrice();
}

void tUpgradeMenu::renderPrice() {
    nextUpgradeCostText = createTextImage(StringFromInt(nextUpgradeCost), 1.0f, 1.0f, 0, 255, 0);
}

int tUpgradeMenu::getUpgradeCost() {
    int cost = baseUpgradeCost;
    if (std::shared_ptr<tFoo> player = getPlayer()) {
        for (bool trait : {player->unlockLaser, player->unlockPhotons, player->unlockFlak,
                           player->unlockShield, player->unlockSpaceWarp}) {
            if (trait) cost += 25;
        }
    }
    return cost;
}

void tUpgradeMenu::update() {
    // Escape closes the menu from inside this update, which drops the program's reference to it.
    std::shared_ptr<tMenu> keepAlive = weak_from_this().lock();
    closing = false;
    checkKeys();
    if (closing) return; // Escape: nothing else this frame
    if (cursor) cursor->update();
}

void tUpgradeMenu::checkKeys() {
    if (KeyPressCount(KEY_ESCAPE) > 0) {
        closing = true;
        if (std::shared_ptr<tFoo> player = getPlayer()) player->menuClose();
        return;
    }
    if (KeyPressCount(KEY_RIGHT) > 0) {
        moveCursor(1);
    } else if (KeyPressCount(KEY_LEFT) > 0) {
        moveCursor(-1);
    }
    // The first buying key pressed decides; the later keys' presses stay pending for the next frame.
    const bool buyPressed = KeyPressCount(KEY_ENTER) > 0 || KeyPressCount(KEY_Z) > 0 ||
                            KeyPressCount(KEY_X) > 0 || KeyPressCount(KEY_C) > 0;
    if (!buyPressed || !selectedButton) return;
    if (selectedButton->clickAction() == 0) return;

    battle::play(tSfx::select);
    battle::addMessage(tNumberIndicator::Create(
        560.0f, 486.0f, tNumberIndicator::SignedText('-', nextUpgradeCost), 0, 204, 0, true));
    nextUpgradeCost = getUpgradeCost();
    renderPrice();
}

void tUpgradeMenu::setActiveButton(const std::shared_ptr<tButton>& button) {
    if (cursor) cursor->setButton(button);
    selectedButton = button;
}

void tUpgradeMenu::moveCursor(int direction) {
    if (!listButtons || !cursor) return;
    const int wanted = cursor->buttonIndex + direction;
    for (const std::shared_ptr<Object>& object : *listButtons) {
        auto button = std::dynamic_pointer_cast<tButton>(object);
        if (button && button->index == wanted) {
            battle::play(tSfx::tinyBleep);
            setActiveButton(button);
            return;
        }
    }
}

void tUpgradeMenu::draw() {
    const float textY = y + 254.0f;
    SetDrawScale(2, 2);
    DrawFrame(pageImg, x, y, 0);
    if (listButtons) {
        for (const std::shared_ptr<Object>& object : *listButtons) {
            if (auto button = std::dynamic_pointer_cast<tButton>(object)) button->draw();
        }
    }
    if (cursor) cursor->draw();

    SetDrawScale(2, 2);
    if (selectedButton && selectedButton->hoverText) {
        DrawFrame(selectedButton->hoverText, x + 14.0f, textY, 0);
        if (selectedButton->hoverText2) {
            DrawFrame(selectedButton->hoverText2, x + 14.0f, textY + 2.0f * selectedButton->hoverText->height,
                      0);
        }
    }
    if (nextUpgradeCostText) {
        DrawFrame(nextUpgradeCostText, x + width / 2.0f - nextUpgradeCostText->width / 2, y + 22.0f, 0);
    }
    drawHintsForBoundKeys();
}

// The page's picture paints a bottom line of keys of its own ("Esc: leave"), which is always covered and
// drawn again with the prompts: the keys bound, or the pad's buttons, or the touch controls' names.
void tUpgradeMenu::drawHintsForBoundKeys() const {
    static const std::shared_ptr<TImage> pixel = TImage::Load("incbin::whitePixel.png", 0);
    if (!pixel || pixel->width <= 0 || pixel->height <= 0) return;
    constexpr float kLineTop = 148, kInset = 4; // art pixels of the page
    const float lineWidth = width - 4 * kInset, lineHeight = 2 * (kPageHeight - kLineTop);
    int r = 0, g = 0, b = 0;
    ReadColor(r, g, b);
    SetColor(20, 16, 28);
    SetDrawScale(lineWidth / static_cast<float>(pixel->width),
                 lineHeight / static_cast<float>(pixel->height));
    DrawFrame(pixel, x + 2 * kInset, y + 2 * kLineTop, 0);
    SetColor(180, 138, 224);
    const std::vector<tHint> hints = {{{Action::Left, Action::Right}, TrMark("choose")},
                                      {{Action::Fire}, TrMark("evolve")},
                                      {{Action::Back}, TrMark("leave")}};
    DrawHintLine(hints, x + width / 2, y + 2 * kLineTop, true);
    SetColor(r, g, b);
    SetDrawScale(2, 2);
}
