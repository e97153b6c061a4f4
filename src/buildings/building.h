#pragma once
#include <memory>

#include "entities/onscreen_object.h"

class tActor;

// Base of every structure: stands still, shows a health bar once damaged, bursts into a big explosion
// and matter balls when destroyed, and may produce units on a timer. Military buildings count
// towards the opposition's military strength, whose loss wins the mission.
class tBuilding : public tKinded<tBuilding, tOnscreenObject, Kind::Building> {
  public:
    tBuilding();

    int factoryDelay = 0;
    int factoryTimer = 0;
    std::shared_ptr<tActor> interactor; // declared for interaction; nothing reads it
    int interactTimer = 0;
    int interactDelay = 0;
    int unitCounter = 0; // units of this building now alive
    int unitMax = 0;
    bool isMilitary = false;
    // Set by the hit that destroys it: later hits change nothing (no second explosion, no second
    // loss of military strength, no second set of fleeing civilians).
    bool destroyed = false;

    void update() override;
    void draw() override;
    void resetTimers() override;
    void damage(float amount) override;

    // The damage with its result: 1 when this hit destroyed the building, else 0.
    virtual int takeDamage(float amount);
    virtual void addMilitaryStrength();
    virtual void reduceMilitaryStrength();
    virtual void spawnUnit();
    virtual void interact(tActor* actor) {}

  protected:
    // Position, picture, box (twice the picture), hit points and the first production attempt.
    void setUp(float x, float y, const std::shared_ptr<TImage>& image, int hitPoints, int delay,
               int maxUnits);
};

// Builds a tank every 12 s, at most 2 alive.
class tTankFactory : public tKinded<tTankFactory, tBuilding, Kind::TankFactory> {
  public:
    void spawnUnit() override;
    static std::shared_ptr<tTankFactory> Create(float x, float y);
};

// Trains a soldier every 6 s, at most 5 alive.
class tBarracks : public tKinded<tBarracks, tBuilding, Kind::Barracks> {
  public:
    void spawnUnit() override;
    static std::shared_ptr<tBarracks> Create(float x, float y);
};

// Launches a duster every 12 s, at most 2 alive.
class tAirpad : public tKinded<tAirpad, tBuilding, Kind::Airpad> {
  public:
    void spawnUnit() override;
    static std::shared_ptr<tAirpad> Create(float x, float y);
};

// A house: no production, not military; destroyed, it releases three fleeing civilians.
class tHouse : public tKinded<tHouse, tBuilding, Kind::House> {
  public:
    int imgIndex = 1; // which of the four house pictures

    int takeDamage(float amount) override;
    static std::shared_ptr<tHouse> Create(float x, float y, int imgIndex, bool pickRandom);
    void setImgIndex(int index);
    // 1..4 give the four pictures; any other index the first.
    static std::shared_ptr<TImage> getImageIndex(int index);
};
