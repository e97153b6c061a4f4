#include "intro/intro_star.h"

#include "engine/engine.h"
#include "game/game_clock.h"

namespace {

std::shared_ptr<TImage> starPicture() {
    static std::shared_ptr<TImage> picture;
    if (!picture) picture = TImage::Load("incbin::star.png", 0);
    return picture;
}

} // namespace

tIntroStar::tIntroStar() {
    alpha = RandomFloat();
    speed = 100.0f * alpha;
    defaultImg = starPicture();
    width = 1;
    height = 1;
}

std::shared_ptr<tIntroStar> tIntroStar::Create(float x, float y) {
    auto star = std::make_shared<tIntroStar>();
    star->x = x;
    star->y = y;
    return star;
}

void tIntroStar::update() {
    y -= static_cast<float>(speed * Delta::Time());
}

void tIntroStar::draw() {
    SetDrawScale(2, 2);
    SetAlpha(alpha);
    DrawFrame(defaultImg, x, y, 0);
    SetAlpha(1.0f);
}
