#pragma once
#include <memory>

#include "entities/actor.h"

class TChannel;
class tWeapon;
class tButtonFlasher;

// The siege larva the player steers: hatches from the homebase's egg, walks or flies, spits bile or
// fires the weapons of its evolved traits, abducts with its beam, shields itself, and is rebuilt at
// the homebase when it dies. Everything it fires draws on one battery.
class tFoo : public tKinded<tFoo, tActor, Kind::Foo> {
  public:
    tFoo();

    // The player's comfort setting: a short rumble of the pads when the larva takes a hit.
    static inline bool rumbleWhenHurt = true;

    int weaponActive = 0;            // 1 while the laser or the beam is out
    std::shared_ptr<tWeapon> weapon; // that continuous weapon
    float groundSpeed = 140;
    int weaponROF = 0;      // next shot of a rate-limited weapon
    int weaponROFDelay = 0; // written by each fire operation before it tests weaponROF
    float battery = 1000;
    float batteryMax = 1000;
    int frameShield = 3;
    int frameShieldTimer = 0;
    int frameshieldDelay = 100;
    int menuClosedTime = 0; // the upgrade menu cannot open before this
    bool recentlyHatched = false;
    std::shared_ptr<tButtonFlasher> flashButton; // the X hint at the homebase
    bool unlockLaser = false;
    bool unlockPhotons = false;
    bool unlockFlak = false;
    bool unlockShield = false;
    bool unlockSpaceWarp = false;
    std::shared_ptr<TChannel> loopChannel; // laser, beam or shield loop

    void update() override;
    void draw() override;
    void resetTimers() override;
    void damage(float amount) override;
    void destroy() override {} // the creature is never removed by damage
    void applyMotion() override;
    void goRight() override;
    void goLeft() override;
    bool heal(int amount) override;
    void setStateAbducting() override;
    void setStateDead() override;
    void setStateIdle(int delay) override;
    void setStateRegenerating() override;
    void setStateShielding() override;
    void setStateKnockback(float knockDir, float knockSpeed) override;
    void doStateAbducting() override;
    void doStateDead() override;
    void doStateIdle() override;
    void doStateRegenerating() override;
    void doStateShielding() override;
    void doStateKnockback() override;
    void matterIncrease(int amount) override;

    static std::shared_ptr<tFoo> Create(float x, float y);
    virtual void resetUpgrades();
    virtual void menuUpgradeShow();
    virtual void menuClose();
    virtual bool isMenuOpen();
    virtual void hatch(float x, float y);
    virtual bool checkBuildingInteractions();
    virtual void fireLaser();
    virtual void fireAbductionBeam();
    virtual void stopLoopingSound();
    virtual void stopLaser();
    virtual void firePhoton();
    virtual void fireBileSpitDown();
    virtual void fireBileSpit();
    virtual void fireFlak();
    virtual float getCurrentTopSpeed();
    virtual bool batteryDischarge(float amount);
    virtual void batteryRecharge();
    virtual void animate();
    virtual void nextWalkingFrame();
    virtual void nextFlyingFrame();

  private:
    // Starts a looping sound on loopChannel unless one is playing there already.
    void startLoop(const std::shared_ptr<class TSound>& sound);
    // The shared rate timer of the rate-limited weapons: writes the delay, then asks the timer.
    bool rateAllows(int delay);
};
