#pragma once
#include "engine/object.h"

// One bit per class that list walks test for (see engine/object.h). A class ORs its own bit into
// `kinds` in its constructor, so an object carries the bits of its class and of all its bases.
enum class Kind : int {
    OnscreenObject, Actor, Building, Weapon, Abductable,
    Person, Civilian, Soldier, Cow, MatterBall, PersonDeath,
    Tank, Aircraft, Duster, SuperCopter, AirMine,
    Foo, MapDazozuzo,
    TankFactory, Barracks, Airpad, House, Turret, HeavyTurret, LightTurret, AirMineLauncher, Homebase,
    PhotonBolt, BileSpitGround, BileSpitAir, FlakShot, Laser, LaserSpinner, LaserHit, AbductionBeam,
    TankShot, Bullet,
    PhotonExplosion, FlakExplosion, FlakExplosionRad, SuperFlakExplosionRad, TankShotHit, BulletHit,
    BigExplosion, Egg, BileSplash, HeartSpawner, Heart,
    NumberIndicator, RadiationIndicator, ButtonFlasher,
    IntroUnit, IntroStar, IntroTitle, IntroMissile, IntroFlash, IntroSurvivor,
    Count
};
static_assert(static_cast<int>(Kind::Count) <= 64, "a KindMask holds 64 kinds");

constexpr KindMask kindBit(Kind kind) { return KindMask{1} << static_cast<int>(kind); }
