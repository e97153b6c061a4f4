#pragma once
#include <memory>

#include "entities/abductable.h"

class tBuilding;

// A person on the battlefield: falls when the beam drops it (a landing faster than 150 px/s kills),
// leaves a short death animation unless it was radioactive, and no matter balls.
class tPerson : public tKinded<tPerson, tAbductable, Kind::Person> {
  public:
    tPerson();

    float gravity = 200;
    float ySpeed = 0; // signed fall speed along dir (270: falling means ySpeed grows negative)

    void draw() override;
    void resetVelocities() override;
    void setStateFalling() override;
    void doStateFalling() override;

  protected:
    // Position, spawner, picture pair and box (twice the frame) shared by every person's Create.
    void place(float x, float y, std::shared_ptr<tBuilding> spawner, const std::shared_ptr<TImage>& image,
               const std::shared_ptr<TImage>& greenImage);

  protected:
    void onDestroy(bool withAnims) override; // the death picture when not irradiated
};

// A civilian: wanders a long beat and never shoots.
class tCivilian : public tKinded<tCivilian, tPerson, Kind::Civilian> {
  public:
    static std::shared_ptr<tCivilian> Create(float x, float y, std::shared_ptr<tBuilding> spawner);
    void executePatrol() override;
};

// A soldier: patrols a short beat and shoots at enemies in range every 2 to 5 s.
class tSoldier : public tKinded<tSoldier, tPerson, Kind::Soldier> {
  public:
    static std::shared_ptr<tSoldier> Create(float x, float y, std::shared_ptr<tBuilding> spawner);
    int getFireDelay() override;
};

// What a person leaves behind: 6 frames of 80 ms held on the last, gone after 1.5 s.
class tPersonDeath : public tKinded<tPersonDeath, tOnscreenObject, Kind::PersonDeath> {
  public:
    int lifeTimer = 0;

    static std::shared_ptr<tPersonDeath> Create(float x, float y);
    void update() override;
    void draw() override;
    void resetTimers() override;
};
