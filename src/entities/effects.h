#pragma once
#include <memory>

#include "entities/onscreen_object.h"

// Short-lived animations dropped into the effects list: explosions, impact puffs, the egg the larva
// hatches from and the hearts that rise while the homebase heals it. Each plays on its own timer and
// leaves the effects list when it is over. None collides, is damaged, tests nearness or mirrors.

// A building, tank, aircraft or mine blowing up: 7 frames of 75 ms with a boom.
class tBigExplosion : public tKinded<tBigExplosion, tOnscreenObject, Kind::BigExplosion> {
  public:
    static std::shared_ptr<tBigExplosion> Create(float x, float y);
    void update() override;
    void draw() override;
};

// The egg the larva hatches from: 17 frames of 60 ms. From frame 9 the larva is held (stunned without
// end); after the last frame it is let go and the egg is gone.
class tEgg : public tKinded<tEgg, tOnscreenObject, Kind::Egg> {
  public:
    static constexpr int kStunFrame = 9;
    static std::shared_ptr<tEgg> Create(float x, float y);
    void update() override;
    void draw() override;
};

// Bile hitting something or the ground: 6 frames of 50 ms with a splat.
class tBileSplash : public tKinded<tBileSplash, tOnscreenObject, Kind::BileSplash> {
  public:
    static std::shared_ptr<tBileSplash> Create(float x, float y);
    void update() override;
    void draw() override;
};

// Where a bullet ended: 2 frames of 50 ms.
class tBulletHit : public tKinded<tBulletHit, tOnscreenObject, Kind::BulletHit> {
  public:
    static std::shared_ptr<tBulletHit> Create(float x, float y);
    void update() override;
    void draw() override;
};

// Invisible: releases maxHearts hearts from its owner's centre, one every 80 ms, then leaves.
class tHeartSpawner : public tKinded<tHeartSpawner, tOnscreenObject, Kind::HeartSpawner> {
  public:
    std::shared_ptr<tOnscreenObject> owner;
    int numHearts = 0;
    int maxHearts = 0;
    static std::shared_ptr<tHeartSpawner> Create(float x, float y, int maxHearts,
                                                 std::shared_ptr<tOnscreenObject> owner);
    void update() override;
};

// A heart rising and slowing down; gone after 1.5 s.
class tHeart : public tKinded<tHeart, tOnscreenObject, Kind::Heart> {
  public:
    int lifeTimer = 0;
    static std::shared_ptr<tHeart> Create(float x, float y);
    void update() override;
    void draw() override;
};
