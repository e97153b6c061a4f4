#pragma once
#include <memory>
#include <string>

#include "entities/actor.h"

class TImage;

// What the abduction beam can take: people, cows and matter balls. Adds a display name, the matter
// the creature gains for it, and radiation, which builds up only while the beam holds it. A fully
// irradiated abductable turns green, is called "Radioactive ...", gives nothing when abducted and
// bursts in a radiation blast however it is destroyed.
class tAbductable : public tKinded<tAbductable, tActor, Kind::Abductable> {
  public:
    std::string strName;
    std::shared_ptr<TImage> radImg; // the green look once irradiated
    int matterAward = 0;
    int radCurrent = 0;
    int radMax = 1000;
    int radDamage = 225;

    virtual void setMatterAward(int n) { matterAward = n; }
    virtual void resetVelocities();
    virtual void increaseRadiation(int n);
    virtual bool isRadiated() const { return radCurrent >= radMax; }
    // Damages every destructable actor and every building within reach and shakes the screen.
    virtual void radiationBlast();
    virtual std::string getName() const;
    virtual std::shared_ptr<TImage> getCurrentImg() const;

  protected:
    // The blast shared by people, balls and cows: actors within (actorReachX, actorReachY), buildings
    // within (buildingReachX, buildingReachY), both boxes strict.
    void blastAround(float actorReachX, float actorReachY, float buildingReachX, float buildingReachY);

  protected:
    // After the actor's end, the blast when irradiated (also for a catch swallowed by the beam).
    void onDestroy(bool withAnims) override;
};
