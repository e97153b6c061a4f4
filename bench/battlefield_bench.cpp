// The update pass of a crowded battlefield (what one updateLists costs), and building the boss
// mission's battlefield from scratch.
#include <benchmark/benchmark.h>

#include <memory>

#include "crowded_battlefield.h"
#include "engine/engine.h"
#include "game/game_clock.h"
#include "game/program.h"
#include "game/startup.h"

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

// One pass is 4 ms of play. The battlefield is rebuilt every 50 passes (untimed), so shots and
// explosions that end and units that die do not thin the crowd much.
void BM_CrowdedBattlefieldUpdatePass(benchmark::State& state) {
    HeadlessProgram program;
    populateCrowdedBattlefield();
    int passes = 0;
    for (auto _ : state) {
        if (++passes % 50 == 0) {
            state.PauseTiming();
            populateCrowdedBattlefield();
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
    populateCrowdedBattlefield();
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
