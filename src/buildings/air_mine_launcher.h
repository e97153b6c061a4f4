#pragma once
#include <memory>

#include "buildings/building.h"

// Keeps up to twelve air mines in the sky above it: one every 500 ms, the first on its first update.
class tAirMineLauncher : public tKinded<tAirMineLauncher, tBuilding, Kind::AirMineLauncher> {
  public:
    static constexpr int mineDelay = 500;
    static constexpr int minesMax = 12;

    static std::shared_ptr<tAirMineLauncher> Create(float x, float y);
    void spawnUnit() override;
};
