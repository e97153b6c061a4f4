#pragma once
// A player made of code: it plays the whole game through the keyboard only. Every pass it reads the
// game (where the larva, the homebase, the buildings, the shots are) and decides which keys to hold
// and which to tap; it never writes a field of the game. It types a key to skip the intro, steers the
// map mothership onto the next node of its plan and presses Z, waits for the larva to hatch, abducts
// people and cows until the first trait is affordable, lands beside the homebase, opens the upgrade
// menu with X, buys with Enter (moving the cursor when the trait it wants is elsewhere) and leaves with
// Esc, then burns every military building with the laser from above, dodging heavy shots, going home
// to heal, and clearing the squads the director sends at the homebase. Against the boss it also buys
// the space warp, keeps out of the boss's firing range whenever the boss's fans could fall on the
// homebase, burns the tank factory and the barracks first (their squads come while the larva must
// stay away), and burns the boss from above when it can. After the boss mission it watches the
// outro and types a key.
//
// Use it from tProgram::passHook: advance the clock, then bot.step().
#include <memory>
#include <string>
#include <vector>

class tProgram;
class tBuilding;
class tOnscreenObject;
class tSuperCopter;
class tActor;

class BotPlayer {
  public:
    explicit BotPlayer(tProgram& program, std::vector<int> plan);

    // One decision: reads the game and injects this pass's key changes.
    void step();
    // For studying one mission: the battlefield was built by the caller, the bot plays it from here.
    void beginMission(int missionId);

    enum class Phase { Intro, Map, Mission, Outro, Done };
    Phase phase = Phase::Intro;

    // What happened in one mission, for the test's checks and the closing figures.
    struct MissionLog {
        int missionId = -1;
        int startMs = 0;         // game clock when the mission was chosen
        int endMs = 0;           // game clock when the map screen came back
        bool won = false;        // the homebase left in victory
        bool nodeClosed = false; // the node was closed when the map returned
        int deaths = 0;          // larva deaths (each loses the traits)
        int abductions = 0;      // victims reeled in
        int menuOpenings = 0;    // times the upgrade menu was opened
        int traitsBought = 0;    // purchases made in the menu
        int militaryAtStart = 0; // military buildings standing when the homebase landed
        int homebaseHpMin = 140; // lowest homebase hit points seen
        int larvaHpMin = 40;     // lowest larva hit points seen while alive
        // Hit points the larva lost, by what the size of the loss says hit it: a bullet (3), a
        // collision with an aircraft (10), a shell (15), a mine (25), anything else.
        int lostToBullets = 0, lostToRams = 0, lostToShells = 0, lostToMines = 0, lostToOther = 0;
    };
    std::vector<MissionLog> missions;
    int introPasses = 0;
    int outroPasses = 0;
    int outroKeyTyped = 0;
    bool gaveUp = false;  // a mission ran over its time limit: the bot pressed Esc
    std::string lastNote; // the last decision, for failure messages

    // Simulated milliseconds after which the bot gives a mission up (Esc) so a broken game cannot
    // hang the test.
    int missionLimitMs = 20 * 60 * 1000;
    // Times a mission is tried before the bot moves on to the next one of its plan.
    int maxAttempts = 2;
    // The trait bought first (button index; the laser, 0, by default).
    int firstTrait = 0;
    bool hasTrait(int index) const;
    // Lets go of every key it holds.
    void releaseAll();

  private:
    tProgram& game;
    std::vector<int> plan;
    size_t next = 0;
    int introTypedAt = -1;
    int outroKeyAt = 0;
    int lastLarvaState = -1;
    int lastMatter = 0;
    int lastHp = 0;
    bool wantMenu = false;   // heading home to buy
    bool recharging = false; // letting the battery fill before burning again
    bool healing = false;    // heading home to heal
    // While the boss lives, the stretch the larva keeps out of: its body (without the space warp), or,
    // while it threatens the homebase, its firing range along its way over the homebase (empty when
    // lo > hi).
    float noGoLo = 1, noGoHi = 0;
    bool bossThreat = false;
    int menuStep = 0; // progress through the menu's keys while it is open
    int menuOpenedAt = 0;
    int tapCooldown = 0;                // passes before the next menu key
    int wantedTrait = 0;                // button index of the trait to buy next
    const void* chasedRaider = nullptr; // the raider near the homebase being chased, and since when
    int chaseStartedAt = 0;
    int lastChaseAt = 0;
    const void* ignoredRaider = nullptr; // one that got away, left alone until ignoreRaiderUntil
    int ignoreRaiderUntil = 0;
    int lastHomebaseHp = 140;
    int lastHomebaseHitAt = 0;

    // Held keys wanted this pass (arrows, Z, X).
    bool left = false, right = false, up = false, down = false, fire = false, use = false;

    void stepIntro();
    void stepMap();
    void stepMission();
    void stepOutro();
    void stepMenu();
    void stepBattle();

    MissionLog& current() { return missions.back(); }
    void applyHeld();
    // Horizontal steering that brakes in time: holds Left/Right so the larva stops near x.
    bool steerX(float x, float tolerance);
    // Follows a moving target: holds Left/Right so the larva's speed matches it and closes in.
    void trackX(float x, float speed);
    void climbTo(float y);
    float travelAltitude() const;
    bool dodge();
    std::shared_ptr<tSuperCopter> aliveBoss() const;
    void updateBossNoGo();
    bool inNoGo(float x, float margin) const;
    // In that stretch, or on its far side from the larva.
    bool outOfReach(float x, float margin) const;
    void leaveNoGo();
    void waitOutsideNoGo();
    // The place outside that stretch (one side, or both: side 0) where the fewest guns reach, the
    // nearer the better: candidates from firstOut to lastOut beyond its edges.
    float quietestOutside(int side, float firstOut, float step, float lastOut) const;
    // Airpads, tank factories or barracks still standing: every squad is made of their units.
    bool squadSourcesStanding() const;
    bool underHeavyGun(float x) const;
    bool besideFactory(float x) const;
    bool underOpenSky(const tActor& actor) const;
    bool fightBossFromAbove(tSuperCopter& boss);
    bool avoidMines();
    // Burns the nearest tank, soldier or low-flying duster (only tanks: tanksOnly) within reach of the
    // homebase, where the laser can reach it and no heavy gun covers it.
    bool defendHomebase(float reach, bool tanksOnly = false);
    // Follows a unit from above and burns it.
    void burnUnit(const tActor& unit);
    // True for 4 s after the homebase lost hit points.
    bool homebaseUnderFire();
    bool abductSomething();
    bool attackBuildings();
    bool goHome(bool toBuy);
    tBuilding* pickMilitaryTarget();
    int nextTraitCost() const;
    bool anyTrait() const;
};
