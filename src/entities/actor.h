#pragma once
#include <memory>

#include "entities/onscreen_object.h"
#include "game/constants.h"

class tBuilding;

// Base of every moving unit: the creature, people, cows, matter balls, tanks, aircraft, air mines and
// the map screen's mothership. A state engine over `states`, accelerated motion with the ground as
// floor and the top of the world as ceiling, standing orders (wait, patrol, attack), shooting at the
// nearest enemy in range, knockback, stun, falling, healing and a matter bank.
class tActor : public tKinded<tActor, tOnscreenObject, Kind::Actor> {
  public:
    static constexpr float kFireRange = 320; // how far a unit looks for something to shoot

    tActor();

    int isInXMotion = 0; // set by goLeft/goRight during this update
    int isInYMotion = 0; // set by goUp/goDown during this update
    int state = states::IDLE;
    int stateTimer = 0; // ends the current timed state; not shifted by pauses
    int fireDelay = 0;
    int fireTimer = 0;
    std::shared_ptr<tBuilding> spawner; // the building that produced this unit, or null
    int anchorX = 0;                    // centre of the patrol beat
    int anchorY = 0;
    float targetX = 0; // current patrol turning point
    float targetY = 0;
    int matterBank = 0;
    int matterBankMax = 0;
    std::shared_ptr<tOnscreenObject> targetEntity;
    int currentOrder = 0; // 0 (none) or a cOrders value
    float patrolDistance = 160;
    bool destructable = true;
    bool onRadar = true;
    // Set by the first destroy: later hits and a second destroy change nothing (no second matter
    // ball, no second free place at the factory).
    bool destroyed = false;

    void update() override;
    void draw() override {}
    void resetTimers() override;
    void damage(float amount) override;
    // Both run onDestroy on the first call only: a unit is never counted out twice.
    void destroy() override;
    void destroyNoAnims(); // without an explosion or death picture (a catch arriving in the beam)

    virtual void startUpdate();
    virtual void applyMotion();
    virtual void runStateEngine();
    virtual void getOrders();
    virtual void assignAttack();
    virtual void assignPatrol(float px, float py);
    virtual void assignWait();
    virtual void followOrders();
    virtual void executeAttack() {}
    virtual void executePatrol();
    virtual void executeWait() {}
    virtual void checkFire();
    virtual std::shared_ptr<tActor> getNearestEnemyUnit();
    virtual std::shared_ptr<tBuilding> getNearestEnemyBuilding();
    virtual int getFrame();
    virtual int getDistanceToHomebase();
    virtual int getFireDelay() { return fireDelay; }
    virtual void fireAtTarget(const std::shared_ptr<tOnscreenObject>& target);
    virtual void goRight();
    virtual void goLeft();
    virtual void xDecelerate();
    virtual void goUp();
    virtual void goDown();
    virtual void yDecelerate();
    virtual bool isGrounded();
    virtual bool isDestructable() { return destructable; }
    virtual bool isVulnerableState();
    virtual bool isHitState();
    virtual void resetAI();
    virtual bool heal(int amount);

    virtual void setStateAbducting();
    virtual void setStateDead();
    virtual void setStateIdle(int delay);
    virtual void setStateMoving();
    virtual void setStateRegenerating();
    virtual void setStateRespawn();
    virtual void setStateFalling();
    virtual void setStateFiring();
    virtual void setStateHolding();
    virtual void setStateShielding();
    virtual void setStateStrafing();
    virtual void setStateStunned(int duration);
    virtual void setStateWait();
    virtual void setStateKnockback(float knockDir, float knockSpeed);

    virtual void doStateAbducting() {}
    virtual void doStateDead() {}
    virtual void doStateIdle();
    virtual void doStateMoving() {}
    virtual void doStateRegenerating() {}
    virtual void doStateRespawn() {}
    virtual void doStateFalling();
    virtual void doStateFiring() {}
    virtual void doStateHolding();
    virtual void doStateShielding();
    virtual void doStateStrafing() {}
    virtual void doStateStunned();
    virtual void doStateKnockback();

    virtual void matterIncrease(int n);
    virtual void matterDecrease(int n);

  protected:
    // What destruction does, at most once per actor: the matter balls, the factory's free place,
    // leaving the actor list. Subclasses add their own end (an explosion only withAnims).
    virtual void onDestroy(bool withAnims);

  private:
    void destroyOnce(bool withAnims);
};

// The nearest living unit (building) of another side than `faction` less than `range` from x; ties
// go to the earlier in its list. Units and turrets pick their targets with it.
std::shared_ptr<tActor> nearestEnemyUnit(float x, int faction, float range);
std::shared_ptr<tBuilding> nearestEnemyBuilding(float x, int faction, float range);
