#pragma once
// Random keys for a battlefield, as the soak plays: holds of the arrows, Z and X (several at once), P
// now and then, C and Enter; half the time the larva roams towards a goal (a random place or the
// homebase, where X opens the upgrade menu), so the play meets every part of the battlefield. In the
// menu: the cursor and buy keys, and Esc now and then to leave it. Never Esc outside the menu.
#include <random>

class tProgram;

class RandomKeys {
  public:
    explicit RandomKeys(unsigned seed) : rng(seed) {}
    // This pass's keys.
    void step(tProgram& game);
    // Lets go of every held key (before leaving a battlefield).
    void releaseAll();

    std::mt19937 rng;

  private:
    bool roaming = false;
    float goalX = 0;
    int goalUntil = 0;
};
