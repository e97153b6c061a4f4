#include "crowded_battlefield.h"

#include <memory>

#include "buildings/air_mine_launcher.h"
#include "buildings/homebase.h"
#include "buildings/turret.h"
#include "engine/engine.h"
#include "entities/air_mine.h"
#include "entities/cow.h"
#include "entities/duster.h"
#include "entities/effects.h"
#include "entities/matter_ball.h"
#include "entities/person.h"
#include "entities/tank.h"
#include "game/constants.h"
#include "game/program.h"
#include "player/enemy_projectiles.h"
#include "player/foo.h"
#include "world/level_builder.h"
#include "world/map.h"

namespace {
float anywhere() {
    return static_cast<float>(RandomInt(-2400, 2400));
}
float inTheSky() {
    return static_cast<float>(RandomInt(100, 250));
}

} // namespace

void populateCrowdedBattlefield() {
    tProgram& p = *theProgram;
    p.initBattleField(3);
    p.state = gamestate::RUNNING;
    // Only the opposition's own mix: the boss and the default people and cows go.
    p.actorList = std::make_shared<TList>();
    p.actorList->AddLast(p.player);
    p.player->state = states::IDLE;
    p.player->y = static_cast<float>(p.map->groundLevel);
    levelBuilder::makeFactory();
    p.buildingList->AddLast(tLightTurret::Create(3200, 350));
    p.playerBase->y = static_cast<float>(p.map->groundLevel);
    p.playerBase->setBaseState(cBaseStates::IDLE);

    const float ground = static_cast<float>(p.map->groundLevel);
    for (int i = 0; i < 40; ++i)
        p.actorList->AddLast(tSoldier::Create(anywhere(), ground, nullptr));
    for (int i = 0; i < 10; ++i)
        p.actorList->AddLast(tTank::Create(anywhere(), ground, nullptr));
    for (int i = 0; i < 10; ++i) {
        auto duster = tDuster::Create(anywhere(), inTheSky(), nullptr);
        duster->wantedAltitude = duster->y;
        p.actorList->AddLast(duster);
    }
    for (const auto& launcher : p.buildingList->typed<tAirMineLauncher>()) {
        for (int i = 0; i < 12; ++i) {
            auto mine = tAirMine::Create(launcher->x + RandomInt(-140, 140), inTheSky(), -1, -1, launcher);
            p.actorList->AddLast(mine);
        }
        launcher->unitCounter = 12;
    }
    for (int i = 0; i < 30; ++i)
        p.actorList->AddLast(tCivilian::Create(anywhere(), ground, nullptr));
    for (int i = 0; i < 30; ++i)
        p.actorList->AddLast(tCow::Create(anywhere(), ground, nullptr));
    for (int i = 0; i < 130; ++i)
        p.actorList->AddLast(tMatterBall::Create(anywhere(), ground));
    for (int i = 0; i < 100; ++i)
        p.weaponList->AddLast(
            tTankShot::Create(anywhere(), inTheSky(), static_cast<float>(RandomInt(0, 359))));
    for (int i = 0; i < 100; ++i)
        p.weaponList->AddLast(tBullet::Create(anywhere(), inTheSky(), static_cast<float>(RandomInt(0, 359))));
    for (int i = 0; i < 100; ++i)
        p.fxList->AddLast(tBigExplosion::Create(anywhere(), inTheSky()));
    StopAllChannels();
}
