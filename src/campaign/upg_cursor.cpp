#include "campaign/upg_cursor.h"

#include "campaign/menu.h"
#include "engine/engine.h"
#include "game/game_clock.h"

std::shared_ptr<tUpgCursor> tUpgCursor::Create(const std::shared_ptr<tButton>& button) {
    auto cursor = std::make_shared<tUpgCursor>();
    cursor->defaultImg = TImage::Load("incbin::Gfx\\menu\\upgradeMenu\\cursor.png", 0);
    cursor->setButton(button);
    cursor->floatY = 0;
    return cursor;
}

void tUpgCursor::setButton(const std::shared_ptr<tButton>& button) {
    if (!button) return;
    buttonIndex = button->index;
    x = button->x + 1.0f;
    y = button->y - 27.0f;
    originalY = y;
}

void tUpgCursor::update() {
    const double dt = Delta::Time();
    y += static_cast<float>(SinDeg(floatY) * 100.0 * dt);
    floatY += static_cast<float>(1000.0 * dt);
    if (floatY > 360) {
        y = originalY;
        floatY = 0;
    }
}

void tUpgCursor::draw() {
    SetDrawScale(2, 2);
    DrawFrame(defaultImg, x, y, 0);
}
