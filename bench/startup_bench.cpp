// Start-up: the work up to the creation of tProgram (resource table, decoding every catalogue picture
// and sound, headless graphics, font, anchors), and the size of everything embedded.
#include <benchmark/benchmark.h>

#include "engine/embedded_table.h"
#include "engine/engine.h"
#include "game/assets.h"
#include "game/startup.h"

namespace {

void BM_StartUpUpToTheProgram(benchmark::State& state) {
    for (auto _ : state) {
        startGame(true);
        benchmark::DoNotOptimize(gfx::hud.get());
        state.PauseTiming();
        releaseAssets();
        ShutdownEngine();
        state.ResumeTiming();
    }
    std::size_t bytes = 0;
    for (std::size_t i = 0; i < EmbeddedAssetCount(); ++i)
        bytes += static_cast<std::size_t>(EmbeddedAssets()[i].end - EmbeddedAssets()[i].begin);
    state.counters["embedded_MB"] = static_cast<double>(bytes) / (1024.0 * 1024.0);
    state.counters["embedded_files"] = static_cast<double>(EmbeddedAssetCount());
}
BENCHMARK(BM_StartUpUpToTheProgram)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace
