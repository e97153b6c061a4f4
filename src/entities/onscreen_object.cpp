#include "entities/onscreen_object.h"

#include <cmath>

#include "engine/engine.h"
#include "game/battle.h"
#include "game/constants.h"
#include "game/game_clock.h"
#include "game/program.h"
#include "hud/shake.h"

#include "entities/matter_ball.h"

tOnscreenObject::tOnscreenObject() : faction(factions::ENEMY) {}

tOnscreenObject::~tOnscreenObject() = default;

float tOnscreenObject::getX() {
    return x - cameraXOffset() - tShake::xOffset;
}

float tOnscreenObject::getY() {
    return y - tShake::yOffset;
}

void tOnscreenObject::getTopLeft(float& left, float& top) {
    const float hx = defaultImg ? defaultImg->handle_x : 0.0f;
    const float hy = defaultImg ? defaultImg->handle_y : 0.0f;
    left = x - hx * scale::SCALE_X;
    top = y - hy * scale::SCALE_Y;
}

float tOnscreenObject::getXCenter() {
    const float hx = defaultImg ? defaultImg->handle_x : 0.0f;
    return x - hx * scale::SCALE_X + width / 2;
}

float tOnscreenObject::getYCenter() {
    const float hy = defaultImg ? defaultImg->handle_y : 0.0f;
    return y - hy * scale::SCALE_Y + height / 2;
}

bool tOnscreenObject::checkRegionCollision(tOnscreenObject* other) {
    if (!other || other == this) return false;
    const float ax = getXCenter(), ay = getYCenter();
    const float bx = other->getXCenter(), by = other->getYCenter();
    const float hwA = width / 2 - collisionXOffset, hhA = height / 2 - collisionYOffset;
    const float hwB = other->width / 2 - other->collisionXOffset,
                hhB = other->height / 2 - other->collisionYOffset;
    const bool overlapX = ax + hwA > bx - hwB && ax - hwA < bx + hwB;
    const bool overlapY = ay + hhA > by - hhB && ay - hhA < by + hhB;
    return overlapX && overlapY;
}

void tOnscreenObject::damage(float amount) {
    hp = TruncInt(static_cast<float>(hp) - amount);
    if (hp <= 0) destroy();
}

void tOnscreenObject::destroy() {
    if (matterballs > 0) tMatterBall::spawn(matterballs, TruncInt(x), TruncInt(y));
}

void tOnscreenObject::setPicture(const std::shared_ptr<TImage>& image) {
    defaultImg = image;
    width = image ? static_cast<float>(image->width) : 0.0f;
    height = image ? static_cast<float>(image->height) : 0.0f;
}

void tOnscreenObject::startEffect(float px, float py, const std::shared_ptr<TImage>& image, int frameTime) {
    x = px;
    y = py;
    defaultImg = image;
    frame = 0;
    animDelay = frameTime;
    animTimer = gameMillisecs() + frameTime;
}

bool tOnscreenObject::stepEffect() {
    if (!timerReady(animTimer, animDelay)) return false;
    frame += 1;
    if (frame >= (defaultImg ? defaultImg->FrameCount() : 0)) battle::removeFrom(&tProgram::fxList, this);
    return true;
}

bool tOnscreenObject::isOnscreen() {
    tOnscreenObject* focus = theProgram ? theProgram->focusObject() : nullptr;
    if (!focus) return false;
    return std::fabs(x - focus->x) < screen::SCREEN_WIDTH;
}

void tOnscreenObject::flash() {
    if (!defaultImg) return;
    if (!imgFlash) flashTimer = gameMillisecs() + flashDelay;
    flashFrame = frame;
    std::shared_ptr<TImage> silhouette =
        TImage::Create(defaultImg->width, defaultImg->height, 1, IMAGE_DYNAMIC);
    if (!silhouette) return;
    silhouette->handle_x = defaultImg->handle_x;
    silhouette->handle_y = defaultImg->handle_y;
    imgFlash = silhouette;
    const TPixmap* source = defaultImg->Lock(frame, true, false);
    TPixmap* target = silhouette->Lock(0, true, true);
    // A frame out of range leaves the silhouette blank rather than reading past the sprite.
    if (!source || !target) return;
    for (int row = 0; row < defaultImg->height; ++row) {
        for (int column = 0; column < defaultImg->width; ++column) {
            // White, keeping the sprite's alpha: transparent pixels stay transparent.
            target->WritePixel(column, row, source->ReadPixel(column, row) | 0x00FFFFFFu);
        }
    }
    defaultImg->Unlock(frame);
    silhouette->Unlock(0);
}

void tOnscreenObject::updateFlash() {
    if (timerReady(flashTimer, 0)) {
        imgFlash.reset();
        flashFrame = 0;
    } else if (imgFlash && frame != flashFrame) {
        flash(); // the silhouette follows the animation; the end time stays
    }
}

void tOnscreenObject::drawFlash() {
    if (!imgFlash || !flashesShown) return;
    SetDrawScale(static_cast<float>(facing * scale::SCALE_X), static_cast<float>(scale::SCALE_Y));
    DrawFrame(imgFlash, getX(), getY(), 0);
}

void tOnscreenObject::resetTimers() {
    shiftByPause(animTimer);
    shiftByPause(flashTimer);
}
