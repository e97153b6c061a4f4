#include "driver/random_keys.h"

#include "buildings/homebase.h"
#include "driver/keys.h"
#include "engine/engine.h"
#include "game/constants.h"
#include "game/game_clock.h"
#include "game/program.h"
#include "player/foo.h"

namespace {
constexpr int kHeld[] = {KEY_LEFT, KEY_RIGHT, KEY_UP, KEY_DOWN, KEY_Z, KEY_X};
}

void RandomKeys::step(tProgram& game) {
    std::uniform_real_distribution<double> chance(0, 1);
    if (game.state == gamestate::MENU) {
        static const int menuKeys[] = {KEY_LEFT, KEY_RIGHT, KEY_ENTER, KEY_Z, KEY_X, KEY_C, KEY_P};
        if (chance(rng) < 0.05) keyTap(menuKeys[rng() % 7]);
        if (chance(rng) < 0.01) keyTap(KEY_ESCAPE);
        return;
    }
    if (gameMillisecs() >= goalUntil) {
        goalUntil = gameMillisecs() + 4000 + static_cast<int>(rng() % 12000);
        const unsigned pick = rng() % 10;
        roaming = pick < 7;
        goalX = pick < 2 ? 0.0f : static_cast<float>(static_cast<int>(rng() % 6400) - 3200);
        if (pick < 2 && game.playerBase) goalX = game.playerBase->x;
    }
    const float larvaX = game.player ? game.player->x : 0.0f;
    for (int key : kHeld) {
        const bool horizontal = key == KEY_LEFT || key == KEY_RIGHT;
        if (roaming && horizontal) {
            const bool want = key == KEY_RIGHT ? goalX > larvaX + 30 : goalX < larvaX - 30;
            if (want && !KeyHeld(key)) keyDown(key);
            if (!want && KeyHeld(key)) keyUp(key);
            continue;
        }
        // Toggled now and then: holds of about a third of a second on average, often several at once.
        if (chance(rng) < 0.03) {
            if (KeyHeld(key))
                keyUp(key);
            else
                keyDown(key);
        }
    }
    if (chance(rng) < 0.002) keyTap(KEY_P); // pause, and the next P resumes
    if (chance(rng) < 0.002) keyTap(KEY_C);
    if (chance(rng) < 0.001) keyTap(KEY_ENTER);
}

void RandomKeys::releaseAll() {
    for (int key : kHeld)
        if (KeyHeld(key)) keyUp(key);
}
