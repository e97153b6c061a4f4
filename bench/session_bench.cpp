// What recording a session costs: the engine's work at the top of each pass while a session is recorded
// (the clock latched, the window's events read into the pass, the pass written, every second compressed
// and handed to the system), and the bytes an hour of play takes. The passes are 16 ms (a 60 Hz
// display) with a key pressed or let go every tenth pass, more than a player's hands give.
#include <benchmark/benchmark.h>

#include <SDL.h>

#include <filesystem>
#include <random>

#include "engine/engine.h"
#include "sessions/session_recorder.h"

namespace {

void pushKey(SDL_Keycode key, bool down) {
    SDL_Event event{};
    event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    event.key.keysym.sym = key;
    event.key.keysym.scancode = SDL_GetScancodeFromKey(key);
    SDL_PushEvent(&event);
}

void BM_RecordedPass(benchmark::State& state) {
    InitHeadless(640, 480);
    SDL_InitSubSystem(SDL_INIT_EVENTS);
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("vevu-session-bench-" + std::to_string(SDL_GetTicks64()));
    tSessionRecorder recorder;
    SessionStart start;
    start.version = "bench";
    start.date = "2026-01-01 00:00:00";
    std::string error;
    if (!recorder.start(folder.string(), start, error)) {
        state.SkipWithError(error.c_str());
        return;
    }
    static const SDL_Keycode keys[] = {SDLK_LEFT, SDLK_RIGHT, SDLK_UP, SDLK_DOWN, SDLK_z, SDLK_x, SDLK_c};
    bool held[7] = {};
    std::mt19937 random(7);
    long long passes = 0;
    for (auto _ : state) {
        state.PauseTiming();
        AdvanceMillis(16);
        if (++passes % 10 == 0) {
            const std::size_t k = random() % 7;
            held[k] = !held[k];
            pushKey(keys[k], held[k]);
        }
        state.ResumeTiming();
        BeginPass();
    }
    const std::string path = recorder.filePath();
    recorder.stop();
    const double hours = static_cast<double>(passes) * 16 / 3600000.0;
    state.counters["KB_per_hour"] = static_cast<double>(std::filesystem::file_size(path)) / 1024 / hours;
    std::filesystem::remove_all(folder);
    SDL_QuitSubSystem(SDL_INIT_EVENTS);
    ShutdownEngine();
}
BENCHMARK(BM_RecordedPass)->Unit(benchmark::kMicrosecond)->Iterations(225000); // an hour at 16 ms

} // namespace
