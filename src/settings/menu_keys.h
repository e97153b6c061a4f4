#pragma once
#include <array>

#include "settings/settings.h"

// What a menu reads in one pass. It answers the player's bindings (the actions' keys) and the menu keys
// alike, so the arrows, Enter and Esc, and a pad's d-pad, A and B, work in every menu whatever is bound.
// A direction held repeats after a short delay, on the engine's clock (which a recorded session keeps, so
// a menu in a replay moves as it did).
class tMenuKeys {
  public:
    static constexpr int kRepeatDelayMs = 400;
    static constexpr int kRepeatEveryMs = 100;

    struct Pass {
        int up = 0, down = 0, left = 0, right = 0; // steps this pass, the repeats included
        bool take = false;                         // Fire, or Enter, or a pad's south button
        bool back = false;                         // Back, or Esc, or a pad's east button
    };

    // Reads (and so takes) this pass's presses of the moves, Fire and Back.
    Pass read();
    // Forgets what is held: a direction held when a screen opens repeats in it only once pressed again.
    void reset();

  private:
    struct Held {
        bool down = false;
        int nextStep = 0; // when the held direction steps again
    };
    std::array<Held, 4> held{};
};
