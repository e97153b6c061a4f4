#include "settings/menu_keys.h"

#include <algorithm>

#include "engine/engine.h"

namespace {

// Presses of either key this pass, each read so that none waits to act once the menu has closed. A key
// holding both (the arrow Up bound to Up) counts once.
int pressesOf(int gameKey, int menuKey) {
    const int bound = KeyPressCount(gameKey);
    return std::max(bound, KeyPressCount(menuKey));
}

} // namespace

tMenuKeys::Pass tMenuKeys::read() {
    static constexpr Action moves[4] = {Action::Up, Action::Down, Action::Left, Action::Right};
    static constexpr int menuKeys[4] = {KEY_MENU_UP, KEY_MENU_DOWN, KEY_MENU_LEFT, KEY_MENU_RIGHT};
    const int now = Millis();
    int steps[4] = {};
    for (std::size_t i = 0; i < 4; ++i) {
        const int gameKey = ActionGameKey(moves[i]);
        const int presses = pressesOf(gameKey, menuKeys[i]);
        const bool down = KeyHeld(gameKey) || KeyHeld(menuKeys[i]);
        Held& h = held[i];
        if (presses > 0) {
            steps[i] = presses;
            h.nextStep = MillisAfter(now, kRepeatDelayMs);
        } else if (down && h.down && MillisBetween(h.nextStep, now) >= 0) {
            steps[i] = 1; // one step a pass at most: a slow pass never jumps several lines
            h.nextStep = MillisAfter(now, kRepeatEveryMs);
        }
        h.down = down && (h.down || presses > 0);
    }
    Pass pass;
    pass.up = steps[0];
    pass.down = steps[1];
    pass.left = steps[2];
    pass.right = steps[3];
    pass.take = pressesOf(ActionGameKey(Action::Fire), KEY_MENU_CONFIRM) > 0;
    pass.back = pressesOf(ActionGameKey(Action::Back), KEY_MENU_BACK) > 0;
    return pass;
}

void tMenuKeys::reset() {
    held = {};
}
