#include "player/player_shots.h"

#include "buildings/building.h"
#include "engine/engine.h"
#include "entities/actor.h"
#include "entities/effects.h"
#include "game/assets.h"
#include "game/battle.h"
#include "game/constants.h"
#include "game/game_clock.h"
#include "player/weapon_effects.h"

namespace {

// How a shot finds what it hits: the actor window is the target's x +- reachX (a factor of its
// width) and its full height above its feet; the building window is x +- half the width and
// height / buildingHeightDivisor above its feet.
struct HitWindow {
    float actorWidthFactor;
    float buildingHeightDivisor;
};

// Damages every enemy inside the window; true when anything was hit.
bool hitEverything(tWeapon& shot, const tActor* owner, HitWindow window) {
    if (!theProgram) return false;
    const float damage = static_cast<float>(shot.baseDamage);
    bool hit = false;
    if (theProgram->actorList) {
        for (const std::shared_ptr<tActor>& a : theProgram->actorList->typed<tActor>()) {
            if (a.get() == owner) continue;
            const float reach = a->width * window.actorWidthFactor;
            if (a->x - reach < shot.x && shot.x < a->x + reach && a->y - a->height < shot.y &&
                shot.y < a->y && a->destructable && a->faction != shot.faction) {
                a->damage(damage);
                hit = true;
            }
        }
    }
    if (theProgram->buildingList) {
        for (const std::shared_ptr<tBuilding>& b : theProgram->buildingList->typed<tBuilding>()) {
            if (b->x - b->width / 2 < shot.x && shot.x < b->x + b->width / 2 &&
                b->y - b->height / window.buildingHeightDivisor < shot.y && shot.y < b->y &&
                b->faction != shot.faction) {
                b->damage(damage);
                hit = true;
            }
        }
    }
    return hit;
}

bool outOfPlay(float y, int& lifeTime) {
    return y < 0 || y > groundLevel() || timerReady(lifeTime, 0);
}

// The shared start of the three spits and the bolt.
template <class Shot>
std::shared_ptr<Shot> makeShot(float x, float y, float facing, std::shared_ptr<tActor> owner, int damage,
                               float speed, const std::shared_ptr<TImage>& image) {
    auto shot = std::make_shared<Shot>();
    shot->x = x;
    shot->y = y;
    shot->facing = static_cast<int>(facing) < 0 ? direction::FACE_LEFT : direction::FACE_RIGHT;
    shot->owner = std::move(owner);
    shot->baseDamage = damage;
    shot->topSpeed = speed;
    shot->lifeTime = gameMillisecs() + 3000;
    shot->faction = factions::ALLY;
    shot->setPicture(image);
    return shot;
}

// A falling arc: forward at topSpeed, down at a speed that grows by dropSpeedInc per second.
template <class Shot> void flyArc(Shot& shot) {
    const double dt = Delta::Time();
    shot.x = static_cast<float>(shot.x + shot.topSpeed * shot.facing * dt);
    shot.y = static_cast<float>(shot.y + shot.dropSpeed * dt);
    shot.dropSpeed = static_cast<float>(shot.dropSpeed + shot.dropSpeedInc * dt);
}

} // namespace

// --- tPhotonBolt ---------------------------------------------------------------------------------------

std::shared_ptr<tPhotonBolt> tPhotonBolt::Create(float x, float y, float facing,
                                                 std::shared_ptr<tActor> owner) {
    auto bolt = makeShot<tPhotonBolt>(x, y, facing, std::move(owner), 75, 300, gfx::photon);
    bolt->dropSpeed = 0;
    bolt->dropSpeedInc = 70;
    return bolt; // the creature plays the photon sound
}

void tPhotonBolt::update() {
    if (outOfPlay(y, lifeTime) || hitEverything(*this, owner.get(), {1.0f, 2.0f})) {
        selfDestruct();
        return;
    }
    flyArc(*this);
}

void tPhotonBolt::resetTimers() {
    tWeapon::resetTimers();
    shiftByPause(lifeTime);
}

void tPhotonBolt::selfDestruct() {
    battle::removeFrom(&tProgram::weaponList, this);
    battle::addFx(tPhotonExplosion::Create(x, y));
}

// --- tBileSpitGround -----------------------------------------------------------------------------------

std::shared_ptr<tBileSpitGround> tBileSpitGround::Create(float x, float y, float facing,
                                                         std::shared_ptr<tActor> owner) {
    auto spit = makeShot<tBileSpitGround>(x, y, facing, std::move(owner), 20, 250, gfx::bileSpit);
    spit->dropSpeed = 0;
    spit->dropSpeedInc = 200;
    battle::play(tSfx::lowPew);
    return spit;
}

void tBileSpitGround::update() {
    if (outOfPlay(y, lifeTime) || hitEverything(*this, owner.get(), {1.0f, 2.0f})) {
        selfDestruct();
        return;
    }
    flyArc(*this);
}

void tBileSpitGround::resetTimers() {
    tWeapon::resetTimers();
    shiftByPause(lifeTime);
}

void tBileSpitGround::selfDestruct() {
    battle::removeFrom(&tProgram::weaponList, this);
    battle::addFx(tBileSplash::Create(x, y));
}

// --- tBileSpitAir ----------------------------------------------------------------------------------------

std::shared_ptr<tBileSpitAir> tBileSpitAir::Create(float x, float y, float facing,
                                                   std::shared_ptr<tActor> owner) {
    auto spit = makeShot<tBileSpitAir>(x, y, facing, std::move(owner), 10, 250, gfx::bileSpit);
    battle::play(tSfx::lowPew);
    return spit;
}

void tBileSpitAir::update() {
    // Half the target's width on each side; most (5/6) of a building's height.
    if (outOfPlay(y, lifeTime) || hitEverything(*this, owner.get(), {0.5f, 1.2f})) {
        selfDestruct();
        return;
    }
    y = static_cast<float>(y + topSpeed * Delta::Time());
}

void tBileSpitAir::resetTimers() {
    tWeapon::resetTimers();
    shiftByPause(lifeTime);
}

void tBileSpitAir::selfDestruct() {
    battle::removeFrom(&tProgram::weaponList, this);
    battle::addFx(tBileSplash::Create(x, y));
}

// --- tFlakShot ---------------------------------------------------------------------------------------------

std::shared_ptr<tFlakShot> tFlakShot::Create(float x, float y) {
    auto shot = std::make_shared<tFlakShot>();
    shot->x = x;
    shot->y = y;
    shot->setPicture(gfx::flakShot);
    shot->dir = static_cast<float>(RandomInt(260, 280));
    shot->speed = static_cast<float>(RandomInt(400, 450));
    shot->decelSpeed = shot->speed * 0.75f;
    shot->lifeTime = gameMillisecs() + 2000;
    return shot; // the creature plays the flak sound
}

void tFlakShot::update() {
    if (y < 0 || timerReady(lifeTime, 0) || speed < 2) {
        selfDestruct();
        return;
    }
    // Only aircraft stop a flak shot; ground units and buildings are passed by.
    if (theProgram && theProgram->actorList) {
        for (const std::shared_ptr<tActor>& actor : theProgram->actorList->typed<tActor>()) {
            if ((actor->kinds & kindBit(Kind::Aircraft)) && checkRegionCollision(actor)) {
                collideWithTarget(actor.get());
                return;
            }
        }
    }
    const double dt = Delta::Time();
    x = static_cast<float>(x + CosDeg(dir) * speed * dt);
    y = static_cast<float>(y + SinDeg(dir) * speed * dt);
    speed = static_cast<float>(speed - decelSpeed * dt);
}

void tFlakShot::draw() {
    SetDrawScale(2, 2);
    SetDrawRotation(dir);
    DrawFrame(defaultImg, getX(), getY(), 0);
    SetDrawRotation(0);
}

void tFlakShot::resetTimers() {
    tWeapon::resetTimers();
    shiftByPause(lifeTime);
}

void tFlakShot::collideWithTarget(tActor* /*target*/) {
    selfDestruct();
}

void tFlakShot::selfDestruct() {
    xVel = 0;
    yVel = 0;
    battle::removeFrom(&tProgram::weaponList, this);
    battle::addFx(tFlakExplosion::Create(x, y));
}
