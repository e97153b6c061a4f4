#include "campaign/upgrade_buttons.h"

#include "campaign/upgrade_menu.h"
#include "engine/engine.h"
#include "engine/words.h"
#include "game/assets.h"
#include "game/battle.h"
#include "game/game_clock.h"
#include "game/program.h"
#include "hud/error_popup.h"
#include "player/foo.h"

namespace {

std::shared_ptr<TImage> greenLine(const char* text) {
    if (!text) return nullptr;
    return createTextImage(Tr(text), 1.0f, 1.0f, 0, 255, 0);
}

} // namespace

int tUpgradeButton::clickAction() {
    std::shared_ptr<tFoo> player = getPlayer();
    if (!player || !parent || !theProgram) return 0;
    if (alreadyPurchased()) {
        theProgram->errorPopup = tQuickErrorPopup::errorAlreadyPurchased(320.0f, 240.0f);
        battle::play(tSfx::error);
        return 0;
    }
    if (parent->nextUpgradeCost > player->matterBank) {
        theProgram->errorPopup = tQuickErrorPopup::errorNotEnoughMatter(320.0f, 240.0f);
        battle::play(tSfx::error);
        return 0;
    }
    return 1;
}

void tUpgradeButton::setUp(tUpgradeMenu* menu, float bx, float by, int buttonIndex, const char* picture) {
    defaultImg = TImage::LoadAnim(picture, 27, 27, 0, 2, 0);
    width = defaultImg ? 2.0f * defaultImg->width : 0.0f;
    height = defaultImg ? 2.0f * defaultImg->height : 0.0f;
    index = buttonIndex;
    x = bx;
    y = by;
    parent = menu;
}

bool tUpgradeButton::hasTrait(TraitFlag flag) {
    std::shared_ptr<tFoo> player = getPlayer();
    return player && (*player).*flag;
}

int tUpgradeButton::buy(TraitFlag flag) {
    if (tUpgradeButton::clickAction() == 0) return 0;
    std::shared_ptr<tFoo> player = getPlayer();
    if (!player || (*player).*flag) return 0;
    (*player).*flag = true;
    player->matterBank -= parent->nextUpgradeCost;
    return 1;
}

void tUpgradeButton::drawTrait(TraitFlag flag) {
    SetDrawScale(2, 2);
    DrawFrame(defaultImg, x, y, hasTrait(flag) ? 1 : 0);
}

void tUpgradeButton::setLines(TraitFlag flag, const char* offer, const char* offer2, const char* owned) {
    if (hasTrait(flag)) {
        hoverText = greenLine(owned);
        hoverText2 = nullptr;
    } else {
        hoverText = greenLine(offer);
        hoverText2 = greenLine(offer2);
    }
}

// Each trait button: its picture, its flag of the creature and its description lines.
#define VEVU_TRAIT_BUTTON(Class, Flag, Picture, Offer, Offer2, Owned)                                        \
    std::shared_ptr<Class> Class::Create(tUpgradeMenu* parent, float x, float y, int index) {                \
        auto button = std::make_shared<Class>();                                                             \
        button->setUp(parent, x, y, index, Picture);                                                         \
        button->setHoverText();                                                                              \
        return button;                                                                                       \
    }                                                                                                        \
    int Class::clickAction() {                                                                               \
        if (buy(&tFoo::Flag) == 0) return 0;                                                                 \
        setHoverText();                                                                                      \
        return 1;                                                                                            \
    }                                                                                                        \
    void Class::draw() {                                                                                     \
        drawTrait(&tFoo::Flag);                                                                              \
    }                                                                                                        \
    bool Class::alreadyPurchased() {                                                                         \
        return hasTrait(&tFoo::Flag);                                                                        \
    }                                                                                                        \
    void Class::setHoverText() {                                                                             \
        setLines(&tFoo::Flag, Offer, Offer2, Owned);                                                         \
    }

VEVU_TRAIT_BUTTON(tButtonLaserUpgrade, unlockLaser, "incbin::Gfx\\menu\\upgradeMenu\\upgButtonLaser.png",
                  TrMark("Evolve energy-efficient laser optic nerve for airborne assault."), nullptr,
                  TrMark("Laser trait already present."))

VEVU_TRAIT_BUTTON(tButtonPhotonUpgrade, unlockPhotons, "incbin::Gfx\\menu\\upgradeMenu\\upgButtonPhoton.png",
                  TrMark("Evolve photon bomb gland for ground assault."), nullptr,
                  TrMark("Photon trait already present."))

VEVU_TRAIT_BUTTON(tButtonFlakUpgrade, unlockFlak, "incbin::Gfx\\menu\\upgradeMenu\\upgButtonFlak.png",
                  TrMark("Evolve volatile flak cluster pile for air threats."),
                  TrMark(" > Push [down] + [z] while grounded."), TrMark("Flak trait already present."))

VEVU_TRAIT_BUTTON(tButtonShieldUpgrade, unlockShield, "incbin::Gfx\\menu\\upgradeMenu\\upgButtonShield.png",
                  TrMark("Evolve energy shield for ground-based siege."),
                  TrMark(" > Push [x] while grounded."), TrMark("Shield trait already present."))

VEVU_TRAIT_BUTTON(tButtonSpaceWarpUpgrade, unlockSpaceWarp,
                  "incbin::Gfx\\menu\\upgradeMenu\\upgButtonSpaceWarp.png",
                  TrMark("Evolve limited space flight to return to dazozuzo."),
                  TrMark(" > Fly upwards leaving the atmosphere."),
                  TrMark("Space warp trait already present."))

#undef VEVU_TRAIT_BUTTON
