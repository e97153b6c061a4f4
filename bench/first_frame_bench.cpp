// Start-up to the first intro frame on the headless platform: the resource table, every catalogue
// picture and sound decoded, the back buffer, the font, the anchors, then the intro built (its
// formation, starfield and song), one update and its first frame drawn and flipped. The window of
// the real executable adds its creation on top (the smoke test prints the time to the window).
#include <benchmark/benchmark.h>

#include <memory>

#include "engine/engine.h"
#include "game/assets.h"
#include "game/game_clock.h"
#include "game/startup.h"
#include "intro/intro.h"

namespace {

void BM_StartUpToTheFirstIntroFrame(benchmark::State& state) {
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
        releaseAssets();
        ShutdownEngine();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StartUpToTheFirstIntroFrame)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace
