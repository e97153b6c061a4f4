#include "entities/air_mine.h"

#include <cmath>

#include "engine/engine.h"
#include "entities/effects.h"
#include "entities/faction_roster.h"
#include "game/assets.h"
#include "game/battle.h"
#include "game/game_clock.h"
#include "game/program.h"

namespace {
constexpr int kMineFrames = 5;
constexpr float kTriggerMargin = 10; // the trigger box reaches this far beyond the mine's size
constexpr float kBlastKnockback = 300;
} // namespace

std::shared_ptr<tAirMine> tAirMine::Create(float x, float y, float dir, float speed,
                                           std::shared_ptr<tBuilding> spawner) {
    auto mine = std::make_shared<tAirMine>();
    mine->x = x;
    mine->y = y;
    mine->spawner = std::move(spawner);
    mine->hpMax = 0; // one hit destroys it
    mine->hp = 0;
    mine->defaultImg = gfx::airMine;
    if (mine->defaultImg) {
        mine->width = 2.0f * mine->defaultImg->width;
        mine->height = 2.0f * mine->defaultImg->height;
    }
    mine->frame = RandomInt(0, kMineFrames - 1);
    mine->animDelay = 120;
    mine->topSpeed = 20;
    mine->maxAccel = 20;
    mine->decelSpeed = 60;
    mine->matterballs = 0;
    mine->onRadar = false;
    mine->destructable = true;
    if (dir > -1) mine->dir = dir;
    if (speed > -1) mine->speed = speed;
    mine->targetX = static_cast<float>(RandomInt(TruncInt(x - 140), TruncInt(x + 140)));
    mine->targetY = static_cast<float>(RandomInt(TruncInt(2 * mine->height), 250));
    mine->scanTimer = gameMillisecs() + mine->scanDelay;
    return mine;
}

void tAirMine::update() {
    // No state engine, no startUpdate and no flash: the motion flags, once set, stay set.
    if (timerReady(animTimer, animDelay)) {
        frame += 1;
        if (frame >= kMineFrames) frame = 0;
    }
    if (timerReady(scanTimer, scanDelay)) {
        proximityScan();
        // A detonated mine is gone; its drift must not ram the creature afterwards.
        if (destroyed) return;
    }
    const double dt = Delta::Time();
    if (isLaunching()) {
        x = static_cast<float>(x + dt * CosDeg(dir) * speed);
        y = static_cast<float>(y + dt * SinDeg(dir) * speed);
        speed = static_cast<float>(speed - 100.0 * dt);
        if (speed < 0) {
            dir = -1;
            speed = 0;
        }
        return;
    }
    if (!inRange(x, targetX, 4)) {
        if (x < targetX)
            goRight();
        else if (x > targetX)
            goLeft();
    }
    if (!inRange(y, targetY, 4)) {
        if (y < targetY)
            goDown();
        else if (y > targetY)
            goUp();
    }
    applyMotion();
}

bool tAirMine::withinBlast(tActor& other) {
    return std::fabs(x - other.getXCenter()) < width + kTriggerMargin &&
           std::fabs(y - other.getYCenter()) < height + kTriggerMargin;
}

void tAirMine::proximityScan() {
    if (!theProgram || !theProgram->actorList) return;
    // Every mine scans every few milliseconds: only the other sides' actors are looked at, and the
    // detonation (which changes the list) comes after the search.
    bool enemyClose = false;
    for (tActor* other : tFactionRoster<tActor>::opponentsOf(*theProgram->actorList, faction)) {
        if (withinBlast(*other)) {
            enemyClose = true;
            break;
        }
    }
    if (enemyClose) detonate();
}

void tAirMine::detonate() {
    std::shared_ptr<tOnscreenObject> holdSelf = self();
    destroy();
    if (!theProgram || !theProgram->actorList) return;
    for (const std::shared_ptr<tActor>& other : theProgram->actorList->typed<tActor>()) {
        if (other.get() == this || other->faction == faction) continue;
        if (!other->destructable || other->state == states::DEAD || !withinBlast(*other)) continue;
        other->damage(static_cast<float>(blastDamage));
        other->setStateKnockback(angleBetween(x, y, other->getXCenter(), other->getYCenter()),
                                 kBlastKnockback);
    }
}

void tAirMine::onDestroy(bool withAnims) {
    tActor::onDestroy(withAnims);
    if (withAnims) battle::addFx(tBigExplosion::Create(x, y - 12));
}

void tAirMine::draw() {
    if (!isOnscreen()) return;
    SetDrawScale(2, 2);
    DrawFrame(defaultImg, getX(), getY(), frame);
}

void tAirMine::resetTimers() {
    tActor::resetTimers();
    shiftByPause(scanTimer);
}
