#include "campaign/map_dazozuzo.h"

#include "campaign/map_screen.h"
#include "engine/engine.h"
#include "game/game_clock.h"
#include "game/program.h"
#include "world/input.h"

tMapDazozuzo::tMapDazozuzo() {
    defaultImg = TImage::LoadAnim("incbin::Gfx\\map\\dazozuzo.png", 13, 10, 0, 2, 0);
    SetImageAnchor(defaultImg, 13 / 2, 10 / 2);
    animDelay = 80;
    animTimer = 0;
    frame = 0;
    speed = 120.0f;
}

std::shared_ptr<tMapDazozuzo> tMapDazozuzo::Create(float x, float y, tMapScreen* parent) {
    auto ship = std::make_shared<tMapDazozuzo>();
    ship->x = x;
    ship->y = y;
    ship->parentMap = parent;
    return ship;
}

void tMapDazozuzo::goRight() {
    x += static_cast<float>(speed * Delta::Time());
}
void tMapDazozuzo::goLeft() {
    x -= static_cast<float>(speed * Delta::Time());
}
void tMapDazozuzo::goUp() {
    y -= static_cast<float>(speed * Delta::Time());
}
void tMapDazozuzo::goDown() {
    y += static_cast<float>(speed * Delta::Time());
}

void tMapDazozuzo::update() {
    if (theProgram && theProgram->buttons) {
        const tInput& keys = *theProgram->buttons;
        if (keys.rightKey) {
            goRight();
        } else if (keys.leftKey) {
            goLeft();
        }
        if (keys.upKey) {
            goUp();
        } else if (keys.downKey) {
            goDown();
        }
    }

    if (x > 640) x = 640;
    if (x < 0) x = 0;
    if (y > 480) y = 480;
    if (y < 0) y = 0;

    // The first selection key pressed decides; the others stay pending.
    const bool selectPressed =
        KeyPressCount(KEY_Z) > 0 || KeyPressCount(KEY_X) > 0 || KeyPressCount(KEY_C) > 0;
    if (selectPressed && parentMap) parentMap->checkForValidNodes();

    if (timerReady(animTimer, animDelay)) {
        frame += 1;
        const int frames = defaultImg ? defaultImg->FrameCount() : 1;
        if (frame >= frames) frame = 0;
    }
}

void tMapDazozuzo::draw() {
    SetDrawScale(2, 2);
    SetAlpha(1.0f);
    DrawFrame(defaultImg, x, y, frame);
}
