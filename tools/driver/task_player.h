#pragma once
// A player made of code for one battlefield that works through tasks the campaign's bot and the random
// keys rarely or never do: it buys the shield (the campaign's bot does the buying), takes a shot on the
// shield, irradiates a cow in the beam and drops it onto a house (the cow's great radiation blast
// brings the house down and scatters its matter balls), irradiates one of those matter balls and drops
// it, irradiates a soldier (carried away from the guns) and drops it, then leaves the battlefield with Esc.
// Like the bot it reads the game and only gives keys, so a session it plays is recorded as keys and frame
// times.
//
// Use it from tProgram::passHook: advance the clock, then step().
#include <memory>
#include <string>

#include "driver/bot_player.h"

class tProgram;
class tAbductable;

class TaskPlayer {
  public:
    TaskPlayer(tProgram& program, int missionId);

    // One decision: reads the game and injects this pass's key changes.
    void step();

    enum class Task { BuyShield, ShieldHit, IrradiateCow, IrradiateBall, IrradiateSoldier, Leave };
    Task task = Task::BuyShield;
    std::string lastNote; // the last decision, for the recorder's messages
    int taskStartedAt = 0;

    // Game time a task may take before it is given up (the next one begins).
    int taskLimitMs = 90 * 1000;

  private:
    tProgram& game;
    BotPlayer bot;
    bool left = false, right = false, up = false, down = false, use = false;
    bool dropped = false; // the irradiated catch was let go
    std::weak_ptr<tAbductable> catchDropped;

    void nextTask();
    void shieldHit();
    // Catches an abductable of the kind, carries it where it is to be dropped while the beam
    // irradiates it, reels it up and lets it fall.
    enum class DropAt { Here, House, BesideHomebase };
    template <class Kind> void irradiate(DropAt where);
    bool steerX(float x, float tolerance);
    void climbTo(float y);
    void applyHeld();
};
