#include "buildings/air_mine_launcher.h"

#include "engine/engine.h"
#include "entities/air_mine.h"
#include "game/assets.h"
#include "game/battle.h"

std::shared_ptr<tAirMineLauncher> tAirMineLauncher::Create(float x, float y) {
    auto launcher = std::make_shared<tAirMineLauncher>();
    launcher->setUp(x, y, gfx::airMineLauncher, 1200, mineDelay, minesMax);
    launcher->factoryTimer = 0; // the first mine goes up on the first update
    launcher->addMilitaryStrength();
    return launcher;
}

void tAirMineLauncher::spawnUnit() {
    tBuilding::spawnUnit();
    // Out of the top, upward within 10 degrees of straight up, at 120 to 180 units per second.
    const float launchDir = static_cast<float>(RandomInt(260, 280));
    const float launchSpeed = static_cast<float>(RandomInt(120, 180));
    auto mine = tAirMine::Create(getXCenter(), y - height - 10, launchDir, launchSpeed, self<tBuilding>());
    battle::addActor(mine);
}
