#pragma once
#include "engine/object.h"

// One bit per class that list walks test for (see engine/object.h). A class with a bit derives from
// tKinded below, which gives every object the bits of its class and of all its bases.
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

// `class tTank : public tKinded<tTank, tActor, Kind::Tank>` is a tActor whose objects carry the Tank
// bit and every bit of tActor's line. The mask is worked out at compile time from the bases, and a
// class that walks are run over without a bit of its own does not compile (objectAs checks
// KindOwner), so no class can be skipped by a walk over its own type.
template <class Self, class Base, Kind kind> class tKinded : public Base {
  public:
    using KindOwner = Self;
    static constexpr KindMask kKind = kindBit(kind);
    static constexpr KindMask kKinds = [] {
        if constexpr (requires { Base::kKinds; })
            return kKind | Base::kKinds;
        else
            return kKind;
    }();

    tKinded() { this->kinds |= kKinds; }
};
