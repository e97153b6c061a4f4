// Whole-game costs: the draw pass of a crowded battlefield on the headless renderer, and the
// start-up from an empty process state to the first intro frame (every asset decoded, the back
// buffer made, the font loaded, the intro built, updated and drawn once).
#include <benchmark/benchmark.h>

#include <memory>

#include "engine/engine.h"
#include "game/assets.h"
#include "game/constants.h"
#include "game/game_clock.h"
#include "game/program.h"
#include "game/startup.h"
#include "hud/shake.h"
#include "intro/intro.h"

namespace {

// The boss mission after 20 s of play with nobody at the keys: 42 buildings, the boss, the people
// and cows, the first units of every producer, the air mines and their shots.
struct CrowdedBattlefield {
    CrowdedBattlefield() {
        startGame(true);
        SeedRandom(4242);
        theProgram = std::make_shared<tProgram>();
        theProgram->init();
        theProgram->setGameState(gamestate::RUNNING, 3);
        for (int pass = 0; pass < 2000; ++pass) { // 20 s at 10 ms a pass
            AdvanceMillis(10);
            theProgram->updateMain();
        }
    }
    ~CrowdedBattlefield() {
        theProgram.reset();
        StopAllChannels();
        ClearKeys();
        ShutdownEngine();
    }
};

void BM_BattlefieldDrawPass(benchmark::State& state) {
    CrowdedBattlefield field;
    int objects = 0;
    for (const auto* list : {&theProgram->buildingList, &theProgram->actorList, &theProgram->weaponList,
                             &theProgram->fxList})
        for (const auto& object : **list)
            (void)object, ++objects;
    for (auto _ : state) {
        theProgram->drawTimer = 0; // due now
        theProgram->drawAll();
    }
    state.counters["objects"] = objects;
}
BENCHMARK(BM_BattlefieldDrawPass)->Unit(benchmark::kMicrosecond);

void BM_StartupToFirstIntroFrame(benchmark::State& state) {
    for (auto _ : state) {
        startGame(true);
        auto intro = std::make_shared<tIntro>();
        Delta::Start();
        Delta::Update();
        intro->update();
        Cls();
        intro->draw();
        Flip(0);
        benchmark::DoNotOptimize(intro.get());
        state.PauseTiming();
        intro.reset();
        StopAllChannels();
        ShutdownEngine();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StartupToFirstIntroFrame)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace
