// The update pass of a crowded battlefield (what one updateLists costs), and building the boss
// mission's battlefield from scratch.
#include <benchmark/benchmark.h>

#include <memory>

#include "ai/ai.h"
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
#include "game/game_clock.h"
#include "game/program.h"
#include "game/startup.h"
#include "player/enemy_projectiles.h"
#include "player/foo.h"
#include "world/level_builder.h"
#include "world/map.h"

namespace {

constexpr int kFrameMs = 4;

// A running program on the headless platform, on the map screen.
struct HeadlessProgram {
    HeadlessProgram() {
        startGame(true);
        SeedRandom(4242);
        theProgram = std::make_shared<tProgram>();
        theProgram->init();
    }
    ~HeadlessProgram() {
        theProgram.reset();
        StopAllChannels();
        ClearKeys();
        ShutdownEngine();
    }
};

float anywhere() {
    return static_cast<float>(RandomInt(-2400, 2400));
}
float inTheSky() {
    return static_cast<float>(RandomInt(100, 250));
}

// The boss mission's 40 buildings (its layout, the homebase and one more factory group) with 300
// actors: the larva, 40 soldiers, 10 tanks, 10 dusters, 48 air mines (twelve over each launcher), 60
// civilians and cows, 130 matter balls; 200 shots in flight and 100 explosions.
void populate() {
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

// One pass is 4 ms of play. The battlefield is rebuilt every 50 passes (untimed), so shots and
// explosions that end and units that die do not thin the crowd much.
void BM_CrowdedBattlefieldUpdatePass(benchmark::State& state) {
    HeadlessProgram program;
    populate();
    int passes = 0;
    for (auto _ : state) {
        if (++passes % 50 == 0) {
            state.PauseTiming();
            populate();
            state.ResumeTiming();
        }
        AdvanceMillis(kFrameMs);
        Delta::Update();
        theProgram->updateLists();
    }
    state.counters["actors"] = theProgram->actorList->Count();
    state.counters["buildings"] = theProgram->buildingList->Count();
    state.counters["shots"] = theProgram->weaponList->Count();
    state.counters["effects"] = theProgram->fxList->Count();
}
BENCHMARK(BM_CrowdedBattlefieldUpdatePass)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// One full draw pass of the same crowd on the headless (software) renderer: scenery, buildings,
// actors, shots, effects, HUD, radar, numbers, and Flip's copy of the back buffer to a screen of the
// given size (as large as the back buffer: today's 640x480 window).
void drawPasses(benchmark::State& state, int screenWidth, int screenHeight) {
    HeadlessProgram program;
    if (!SetHeadlessScreenSize(screenWidth, screenHeight)) state.SkipWithError("no headless screen");
    populate();
    for (int pass = 0; pass < 25; ++pass) { // the camera settles on the larva
        AdvanceMillis(kFrameMs);
        theProgram->updateMain();
    }
    for (auto _ : state) {
        theProgram->drawTimer = 0; // due now
        theProgram->drawAll();
    }
    state.counters["actors"] = theProgram->actorList->Count();
    state.counters["buildings"] = theProgram->buildingList->Count();
}

void BM_CrowdedBattlefieldDrawPass(benchmark::State& state) {
    drawPasses(state, 640, 480);
}
BENCHMARK(BM_CrowdedBattlefieldDrawPass)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// The same frame shown doubled and centred on a 1920x1080 screen, black bars around it.
void BM_CrowdedBattlefieldDrawPassOn1920x1080(benchmark::State& state) {
    drawPasses(state, 1920, 1080);
}
BENCHMARK(BM_CrowdedBattlefieldDrawPassOn1920x1080)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

void BM_BuildBossMissionBattlefield(benchmark::State& state) {
    HeadlessProgram program;
    for (auto _ : state) {
        theProgram->initBattleField(3);
        benchmark::DoNotOptimize(theProgram->buildingList.get());
        state.PauseTiming();
        StopAllChannels();
        state.ResumeTiming();
    }
    state.counters["buildings"] = theProgram->buildingList->Count();
}
BENCHMARK(BM_BuildBossMissionBattlefield)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

} // namespace
