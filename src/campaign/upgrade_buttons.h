#pragma once
#include <memory>

#include "campaign/menu.h"

class tFoo;
class tUpgradeMenu;

// A trait button of the upgrade menu. Frame 0 of its picture shows the trait not owned, frame 1 owned.
class tUpgradeButton : public tButton {
  public:
    tUpgradeMenu* parent = nullptr; // the menu owns its buttons, so a plain back pointer

    // 1 when the trait may be bought: not owned yet and the price is covered by the matter held (a
    // price equal to the matter held is affordable). Otherwise the matching error picture and sound.
    int clickAction() override;
    virtual bool alreadyPurchased() { return false; }

  protected:
    // The shared parts of the five trait buttons, each of which names its own flag of the creature.
    using TraitFlag = bool tFoo::*;
    void setUp(tUpgradeMenu* menu, float bx, float by, int buttonIndex, const char* picture);
    bool hasTrait(TraitFlag flag);
    int buy(TraitFlag flag);
    void drawTrait(TraitFlag flag);
    // The description lines: the first two while the trait can be bought, the third once owned.
    void setLines(TraitFlag flag, const char* offer, const char* offer2, const char* owned);
};

class tButtonLaserUpgrade : public tUpgradeButton {
  public:
    static std::shared_ptr<tButtonLaserUpgrade> Create(tUpgradeMenu* parent, float x, float y, int index);
    int clickAction() override;
    void draw() override;
    bool alreadyPurchased() override;
    virtual void setHoverText();
};

class tButtonPhotonUpgrade : public tUpgradeButton {
  public:
    static std::shared_ptr<tButtonPhotonUpgrade> Create(tUpgradeMenu* parent, float x, float y, int index);
    int clickAction() override;
    void draw() override;
    bool alreadyPurchased() override;
    virtual void setHoverText();
};

class tButtonFlakUpgrade : public tUpgradeButton {
  public:
    static std::shared_ptr<tButtonFlakUpgrade> Create(tUpgradeMenu* parent, float x, float y, int index);
    int clickAction() override;
    void draw() override;
    bool alreadyPurchased() override;
    virtual void setHoverText();
};

class tButtonShieldUpgrade : public tUpgradeButton {
  public:
    static std::shared_ptr<tButtonShieldUpgrade> Create(tUpgradeMenu* parent, float x, float y, int index);
    int clickAction() override;
    void draw() override;
    bool alreadyPurchased() override;
    virtual void setHoverText();
};

class tButtonSpaceWarpUpgrade : public tUpgradeButton {
  public:
    static std::shared_ptr<tButtonSpaceWarpUpgrade> Create(tUpgradeMenu* parent, float x, float y, int index);
    int clickAction() override;
    void draw() override;
    bool alreadyPurchased() override;
    virtual void setHoverText();
};
