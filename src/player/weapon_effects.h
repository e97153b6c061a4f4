#pragma once
#include <memory>

#include "entities/onscreen_object.h"

// The bursts the creature's shots leave: the photon pop, the flak burst (which deals the flak's
// damage once, when it appears) and the two radiation bursts of radioactive blasts.

class tPhotonExplosion : public tKinded<tPhotonExplosion, tOnscreenObject, Kind::PhotonExplosion> {
  public:
    void update() override;
    void draw() override;
    static std::shared_ptr<tPhotonExplosion> Create(float x, float y);
};

class tFlakExplosion : public tKinded<tFlakExplosion, tOnscreenObject, Kind::FlakExplosion> {
  public:
    int baseDamage = 50;

    void update() override;
    void draw() override;
    // Places the burst and at once hurts every destructable actor it overlaps but the creature,
    // whatever its side.
    static std::shared_ptr<tFlakExplosion> Create(float x, float y);

  protected:
    void setUp(float x, float y, const std::shared_ptr<TImage>& image);
};

// The look of a radioactive person's or ball's blast; the blast deals its own damage.
class tFlakExplosionRad : public tKinded<tFlakExplosionRad, tFlakExplosion, Kind::FlakExplosionRad> {
  public:
    static std::shared_ptr<tFlakExplosionRad> Create(float x, float y);
};

// The radioactive cow's blast: the same picture at twice the size.
class tSuperFlakExplosionRad
    : public tKinded<tSuperFlakExplosionRad, tFlakExplosion, Kind::SuperFlakExplosionRad> {
  public:
    void draw() override;
    static std::shared_ptr<tSuperFlakExplosionRad> Create(float x, float y);
};
