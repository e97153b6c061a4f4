#pragma once
#include <memory>

#include "entities/actor.h"

class tBuilding;

// The opposition's tank: slow and tough. It patrols a beat around its factory (or the beat the AI
// director hands it) and lobs a heavy tank shot from its turret at the nearest enemy within range.
class tTank : public tKinded<tTank, tActor, Kind::Tank> {
  public:
    static std::shared_ptr<tTank> Create(float x, float y, std::shared_ptr<tBuilding> spawner);

    void draw() override;
    void damage(float amount) override;
    void fireAtTarget(const std::shared_ptr<tOnscreenObject>& target) override;

  protected:
    void onDestroy(bool withAnims) override;
};
