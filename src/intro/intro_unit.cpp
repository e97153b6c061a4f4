#include "intro/intro_unit.h"

#include "engine/engine.h"
#include "game/constants.h"
#include "game/game_clock.h"

namespace {

// One shared picture per ship type. The handle sits at (width / 2, height / 2) in image pixels with
// width and height twice the cell: the frame's bottom-right corner lands on the ship's position.
std::shared_ptr<TImage> shipPicture(int type) {
    static std::shared_ptr<TImage> pictures[4];
    const int slot = type == constTypes::TYPE1   ? 0
                     : type == constTypes::TYPE2 ? 1
                     : type == constTypes::TYPE3 ? 2
                                                 : 3;
    if (!pictures[slot]) {
        static const char* const paths[4] = {"incbin::trellan01.png", "incbin::trellan02.png",
                                             "incbin::trellan03.png", "incbin::trellan04.png"};
        const bool big = slot < 2;
        const int cellWidth = big ? 15 : 13;
        const int cellHeight = big ? 16 : 10;
        pictures[slot] = TImage::LoadAnim(paths[slot], cellWidth, cellHeight, 0, 2, 0);
        SetImageAnchor(pictures[slot], static_cast<float>(cellWidth), static_cast<float>(cellHeight));
    }
    return pictures[slot];
}

} // namespace

std::shared_ptr<tIntroUnit> tIntroUnit::Create(int type, float x, float y) {
    auto unit = std::make_shared<tIntroUnit>();
    unit->defaultImg = shipPicture(type);
    if (unit->defaultImg) {
        unit->width = 2.0f * unit->defaultImg->width;
        unit->height = 2.0f * unit->defaultImg->height;
    }
    unit->animDelay = 100;
    unit->animTimer = gameMillisecs() + 100;
    unit->framesMax = 2;
    unit->frame = 0;
    unit->x = x;
    unit->y = y;
    return unit;
}

void tIntroUnit::update() {
    animate();
}

void tIntroUnit::animate() {
    if (timerReady(animTimer, animDelay)) {
        frame += 1;
        if (frame >= framesMax) frame = 0;
    }
}

void tIntroUnit::draw() {
    SetDrawScale(2, 2);
    DrawFrame(defaultImg, x, y, frame);
}
