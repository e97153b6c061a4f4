#include "campaign/menu.h"

#include "engine/engine.h"

void tButton::draw() {
    SetDrawScale(2, 2);
    DrawFrame(defaultImg, x, y, 0);
}
