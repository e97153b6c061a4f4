// The crowded battlefield drawn in the page frame after frame, as the game draws it: the real start-up
// (canvas, WebGL), then update and draw passes for a while. The page reads the figures from
// Module.onBattlefieldFigures: frames drawn per second and the milliseconds of each frame the game
// itself took (the rest was left to the browser).
#include <emscripten.h>

#include <memory>

#include "crowded_battlefield.h"
#include "engine/browser.h"
#include "engine/engine.h"
#include "game/program.h"
#include "game/startup.h"

namespace {
constexpr double kWarmUpMillis = 2000;
constexpr double kMeasuredMillis = 10000;
constexpr int kPassesPerCrowd = 50; // the crowd thins as shots end and units die: rebuilt now and then

EM_JS(void, vevu_report_figures, (int frames, double seconds, double gameMillisPerFrame, int actors), {
    if (Module["onBattlefieldFigures"])
        Module["onBattlefieldFigures"]({
            frames : frames,
            framesPerSecond : frames / seconds,
            gameMillisPerFrame : gameMillisPerFrame,
            actors : actors
        });
});

EM_JS(void, vevu_report_measuring, (), {
    if (Module["onMeasuring"]) Module["onMeasuring"]();
});

// Every pass draws, so every pass is one frame.
void pass(int& passes) {
    if (++passes % kPassesPerCrowd == 0) populateCrowdedBattlefield();
    theProgram->updateMain();
    theProgram->drawTimer = 0;
    theProgram->drawAll();
}
} // namespace

int main() {
    startGame(false);
    SeedRandom(4242);
    theProgram = std::make_shared<tProgram>();
    theProgram->init();
    populateCrowdedBattlefield();
    int passes = 0;
    const double warmUpEnd = emscripten_get_now() + kWarmUpMillis;
    while (emscripten_get_now() < warmUpEnd)
        pass(passes);
    const int firstPass = passes;
    vevu_report_measuring();
    const double start = emscripten_get_now();
    const double waitedBefore = engine_detail::BrowserWaitMillis();
    while (emscripten_get_now() - start < kMeasuredMillis)
        pass(passes);
    const double elapsed = emscripten_get_now() - start;
    const int frames = passes - firstPass;
    const double gameMillis = elapsed - (engine_detail::BrowserWaitMillis() - waitedBefore);
    vevu_report_figures(frames, elapsed / 1000.0, gameMillis / frames, theProgram->actorList->Count());
    EndProgram();
}
