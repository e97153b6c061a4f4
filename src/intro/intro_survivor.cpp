#include "intro/intro_survivor.h"

#include "engine/engine.h"
#include "game/game_clock.h"

tIntroSurvivor::tIntroSurvivor() {
    defaultImg = TImage::LoadAnim("incbin::trellan04.png", 13, 10, 0, 2, 0);
    SetImageAnchor(defaultImg, 13 / 2, 10 / 2);
    width = 26;
    height = 20;
    speed = 100.0f;
}

std::shared_ptr<tIntroSurvivor> tIntroSurvivor::Create(float x, float y) {
    auto survivor = std::make_shared<tIntroSurvivor>();
    survivor->x = x;
    survivor->y = y;
    survivor->dir = 40.0f;
    return survivor;
}

void tIntroSurvivor::update() {
    const double dt = Delta::Time();
    x += static_cast<float>(CosDeg(dir) * speed * dt);
    y += static_cast<float>(SinDeg(dir) * speed * dt);
    rot += static_cast<float>(40.0 * dt);
    if (rot > 360.0f) rot -= 360.0f;
}

void tIntroSurvivor::draw() {
    SetDrawTransform(rot, 2, 2);
    DrawFrame(defaultImg, x, y, 0);
    SetDrawTransform(0, 2, 2);
}
