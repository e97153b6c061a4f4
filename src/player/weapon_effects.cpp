#include "player/weapon_effects.h"

#include "engine/engine.h"
#include "entities/actor.h"
#include "game/assets.h"
#include "game/battle.h"

namespace {

void drawScaled(tOnscreenObject& fx, float drawScale) {
    const int frames = fx.defaultImg ? fx.defaultImg->FrameCount() : 0;
    if (fx.frame >= frames) return;
    SetDrawScale(drawScale, drawScale);
    DrawFrame(fx.defaultImg, fx.getX(), fx.getY(), fx.frame);
}

} // namespace

// --- tPhotonExplosion --------------------------------------------------------------------------------

std::shared_ptr<tPhotonExplosion> tPhotonExplosion::Create(float x, float y) {
    auto fx = std::make_shared<tPhotonExplosion>();
    fx->startEffect(x, y, gfx::photonExplosion, 50);
    battle::play(tSfx::photonHit);
    return fx;
}

void tPhotonExplosion::update() {
    stepEffect();
}
void tPhotonExplosion::draw() {
    drawScaled(*this, 2);
}

// --- tFlakExplosion ------------------------------------------------------------------------------------

void tFlakExplosion::setUp(float px, float py, const std::shared_ptr<TImage>& image) {
    startEffect(px, py, image, 60);
    baseDamage = 50;
    width = height = 40;
}

std::shared_ptr<tFlakExplosion> tFlakExplosion::Create(float x, float y) {
    auto fx = std::make_shared<tFlakExplosion>();
    fx->setUp(x, y, gfx::flakExplosion);
    if (theProgram && theProgram->actorList) {
        tOnscreenObject* larva = theProgram->playerObject();
        for (const std::shared_ptr<tActor>& actor : theProgram->actorList->typed<tActor>()) {
            if (actor.get() == larva || !actor->destructable) continue;
            if (fx->checkRegionCollision(actor)) actor->damage(static_cast<float>(fx->baseDamage));
        }
    }
    battle::play(tSfx::flakExplosion);
    return fx;
}

void tFlakExplosion::update() {
    stepEffect();
}
void tFlakExplosion::draw() {
    drawScaled(*this, 2);
}

std::shared_ptr<tFlakExplosionRad> tFlakExplosionRad::Create(float x, float y) {
    auto fx = std::make_shared<tFlakExplosionRad>();
    fx->setUp(x, y, gfx::flakExplosionRad);
    return fx;
}

std::shared_ptr<tSuperFlakExplosionRad> tSuperFlakExplosionRad::Create(float x, float y) {
    auto fx = std::make_shared<tSuperFlakExplosionRad>();
    fx->setUp(x, y, gfx::flakExplosionRad);
    fx->width = fx->height = 80;
    return fx;
}

void tSuperFlakExplosionRad::draw() {
    drawScaled(*this, 4);
}
