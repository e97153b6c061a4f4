#include "hud/error_popup.h"

#include "engine/engine.h"
#include "game/constants.h"
#include "game/game_clock.h"
#include "game/program.h"

namespace {

std::shared_ptr<tQuickErrorPopup> makePopup(float x, float y, const char* path) {
    auto popup = std::make_shared<tQuickErrorPopup>();
    popup->x = x;
    popup->y = y;
    popup->timer = gameMillisecs() + 333;
    popup->defaultImage = TImage::Load(path, 0);
    CenterImageAnchor(popup->defaultImage);
    popup->alpha = popup->alpha2 = 1.0f;
    popup->scaleX2 = popup->scaleY2 = 2.0f;
    return popup;
}

} // namespace

std::shared_ptr<tQuickErrorPopup> tQuickErrorPopup::errorNotEnoughMatter(float x, float y) {
    return makePopup(x, y, "incbin::Gfx\\menu\\msgNotEnoughMatter.png");
}

std::shared_ptr<tQuickErrorPopup> tQuickErrorPopup::errorAlreadyPurchased(float x, float y) {
    return makePopup(x, y, "incbin::Gfx\\menu\\msgAlreadyPurchased.png");
}

void tQuickErrorPopup::update() {
    const double dt = Delta::Time();
    if (timerReady(timer, 0)) {
        alpha = static_cast<float>(alpha - 8.0 * dt);
        if (alpha < 0) {
            // The caller holds a reference while this runs, so clearing the field is safe.
            if (theProgram && theProgram->errorPopup.get() == this) theProgram->errorPopup.reset();
            return;
        }
    }
    alpha2 = static_cast<float>(alpha2 - 8.0 * dt);
    scaleX2 = static_cast<float>(scaleX2 + 15.0 * dt);
    scaleY2 = static_cast<float>(scaleY2 - 5.0 * dt);
}

void tQuickErrorPopup::draw() {
    if (alpha2 > 0) {
        SetColor(0, 0, 0);
        SetAlpha(alpha2);
        SetDrawScale(scaleX2, scaleY2);
        DrawFrame(defaultImage, x, y, 0);
    }
    SetColor(colours::defaultR, colours::defaultG, colours::defaultB);
    SetDrawScale(2, 2);
    SetAlpha(alpha);
    DrawFrame(defaultImage, x, y, 0);
    SetAlpha(1.0f);
}
