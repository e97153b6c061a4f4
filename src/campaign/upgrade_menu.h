#pragma once
#include <memory>

#include "campaign/menu.h"

class TList;
class tUpgCursor;

// The upgrade menu: five trait buttons in a row, a bobbing cursor over the selected one, its
// description lines, and the price of the next trait at the top. Left/Right move the cursor, Enter
// (or Z, X, C) buys, Escape leaves. Built afresh each time the menu opens.
class tUpgradeMenu : public tMenu {
  public:
    static constexpr int kButtonWidth = 54;
    static constexpr int kButtonGap = 32;
    static constexpr int kButtonCount = 5;

    std::shared_ptr<TList> listButtons; // the five trait buttons in row order
    std::shared_ptr<tUpgCursor> cursor;
    int baseUpgradeCost = 0;
    int nextUpgradeCost = 0;
    std::shared_ptr<TImage> nextUpgradeCostText; // the price as green text
    std::shared_ptr<tButton> selectedButton;

    tUpgradeMenu();

    void update() override;
    void draw() override;
    // 50, plus 25 for each trait the creature already has.
    virtual int getUpgradeCost();
    virtual void checkKeys();
    virtual void setActiveButton(const std::shared_ptr<tButton>& button);
    // Moves the cursor to the neighbouring button (+1 right, -1 left); it does not wrap.
    virtual void moveCursor(int direction);

  private:
    void renderPrice();
    void drawHintsForBoundKeys() const;
    bool closing = false; // Escape was pressed in this frame's checkKeys
};
