#include "entities/super_copter.h"

#include "engine/engine.h"
#include "entities/effects.h"
#include "game/battle.h"
#include "game/game_clock.h"
#include "game/program.h"
#include "hud/bars.h"
#include "player/enemy_projectiles.h"

namespace {

// The body picture: one frame of 153 x 35; the rotor: cells of 43 x 39, four frames.
constexpr int kBodyWidth = 153;
constexpr int kBodyHeight = 35;
constexpr int kEngineCellWidth = 43;
constexpr int kEngineCellHeight = 39;
constexpr int kEngineFrames = 4;

// Muzzles of the wing cannons, in world units from the body's top-left corner.
constexpr float kLeftCannonX = 78;
constexpr float kRightCannonX = 226;
constexpr float kCannonY = 58;

} // namespace

std::shared_ptr<TImage> tSuperCopter::loadBody() {
    std::shared_ptr<TImage> body = TImage::Load("incbin::Gfx\\bosses\\supercopterBody.png");
    if (body) SetImageAnchor(body, static_cast<float>(body->width / 2), static_cast<float>(body->height - 4));
    return body;
}

std::shared_ptr<TImage> tSuperCopter::loadEngine() {
    std::shared_ptr<TImage> rotor = TImage::LoadAnim("incbin::Gfx\\bosses\\supercopterEngine.png",
                                                     kEngineCellWidth, kEngineCellHeight, 0, kEngineFrames);
    if (rotor) CenterImageAnchor(rotor);
    return rotor;
}

std::shared_ptr<tSuperCopter> tSuperCopter::Create(float x, float y) {
    auto boss = std::make_shared<tSuperCopter>();
    boss->x = x;
    boss->y = y;
    boss->hpMax = 4000;
    boss->hp = 4000;
    boss->defaultImg = loadBody();
    boss->engineImg = loadEngine();
    // Sized from the picture when it loaded, else from its known size, so a missing picture only
    // makes the boss invisible.
    const int bodyWidth = boss->defaultImg ? boss->defaultImg->width : kBodyWidth;
    const int bodyHeight = boss->defaultImg ? boss->defaultImg->height : kBodyHeight;
    boss->width = 2.0f * bodyWidth;
    boss->height = 2.0f * bodyHeight;
    boss->topSpeed = 80;
    boss->maxAccel = 600;
    boss->decelSpeed = 600;
    boss->patrolDistance = 1200;
    boss->wantedAltitude = 80;
    boss->animDelay = 40;
    boss->animTimer = 0;
    boss->wingCannonTimer = gameMillisecs() + boss->wingCannonTimerDelay;
    boss->cannonBurstTimer = gameMillisecs() + boss->cannonBurstTimerDelay;
    // It hunts around the homebase from the start.
    tOnscreenObject* base = theProgram ? theProgram->homebaseObject() : nullptr;
    boss->assignPatrol(base ? base->x : 0.0f, y);
    return boss;
}

void tSuperCopter::update() {
    startUpdate();
    runStateEngine();
    applyMotion();
    if (timerReady(animTimer, animDelay)) {
        frame += 1;
        const int frames = engineImg ? engineImg->FrameCount() : kEngineFrames;
        if (frame >= frames) frame = 0;
    }
}

void tSuperCopter::checkFire() {
    tActor* player = currentPlayerActor();
    if (!player) return;
    if (distanceBetween(x, y, player->x, player->y) >= 1280) return;
    if (!timerReady(cannonBurstTimer, 0) || !timerReady(wingCannonTimer, wingCannonTimerDelay)) return;
    if (useLeftCannon) {
        fireTripleTankShotsLeft();
    } else {
        fireTripleTankShotsRight();
    }
    cannonBurstCounter -= 1;
    if (cannonBurstCounter < 1) {
        useLeftCannon = !useLeftCannon;
        cannonBurstCounter = cannonBurstCounterMax;
        cannonBurstTimer = gameMillisecs() + cannonBurstTimerDelay;
    }
}

void tSuperCopter::bodyTopLeft(float ax, float ay, float& left, float& top) const {
    const float handleX = defaultImg ? defaultImg->handle_x : static_cast<float>(kBodyWidth / 2);
    const float handleY = defaultImg ? defaultImg->handle_y : static_cast<float>(kBodyHeight - 4);
    left = ax - handleX * 2;
    top = ay - handleY * 2;
}

void tSuperCopter::fireFan(float muzzleX) {
    if (!battle::list(&tProgram::weaponList)) return;
    float left = 0;
    float top = 0;
    bodyTopLeft(x, y, left, top);
    // Down-left, straight down, down-right.
    for (const float angle : {135.0f, 90.0f, 45.0f})
        battle::addWeapon(tTankShot::Create(left + muzzleX, top + kCannonY, angle));
}

void tSuperCopter::fireTripleTankShotsLeft() {
    fireFan(kLeftCannonX);
}
void tSuperCopter::fireTripleTankShotsRight() {
    fireFan(kRightCannonX);
}

void tSuperCopter::damage(float amount) {
    if (state == states::DEAD || destroyed) return;
    // The boss shrugs hits off: no flash and no hit pause.
    hp = TruncInt(hp - static_cast<double>(amount));
    if (hp <= 0) {
        setStateDead();
        deadTimer = gameMillisecs() + 2000;
    }
}

void tSuperCopter::doStateDead() {
    if (timerReady(deadTimer, 0)) {
        destroy();
        return;
    }
    if (!timerReady(animTimer, 100)) return;
    const int halfWidth = TruncInt(width / 2);
    const int halfHeight = TruncInt(height / 2);
    const float ex = x - RandomInt(halfWidth, -halfWidth);
    const float ey = y - RandomInt(halfHeight, -halfHeight);
    battle::addFx(tBigExplosion::Create(ex, ey));
}

void tSuperCopter::checkPlayerCollision() {
    tActor* player = currentPlayerActor();
    if (!player || destroyed) return;
    if (!touchesPlayer(*player) || !player->isHitState()) return;
    // Only the creature is pushed away and hurt; the boss does not budge.
    std::shared_ptr<tOnscreenObject> holdPlayer = player->self();
    player->setStateKnockback(angleBetween(x, y, player->x, player->y), 200);
    player->damage(10);
}

void tSuperCopter::draw() {
    float left = 0;
    float top = 0;
    bodyTopLeft(getX(), getY(), left, top);
    top += 40;
    SetDrawScale(2, 2);
    const int bodyWidth = defaultImg ? defaultImg->width : kBodyWidth;
    DrawFrame(engineImg, left + 32, top, frame);
    DrawFrame(engineImg, left + 2.0f * bodyWidth - 32, top, frame);
    DrawFrame(defaultImg, getX(), getY(), 0);
    if (hp > 0 && hp < hpMax) tHealthBar::draw(getX() - width / 2, getY() + height, hp, hpMax, width);
}

void tSuperCopter::resetTimers() {
    tActor::resetTimers();
    shiftByPause(wingCannonTimer);
}
