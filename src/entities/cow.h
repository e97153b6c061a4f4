#pragma once
#include <memory>

#include "entities/person.h"

class tBuilding;

// A cow: a slow civilian worth 80 matter whose radiation blast is twice as wide and deals 500.
class tCow : public tKinded<tCow, tCivilian, Kind::Cow> {
  public:
    tCow();

    static std::shared_ptr<tCow> Create(float x, float y, std::shared_ptr<tBuilding> spawner);
    void radiationBlast() override;
};
