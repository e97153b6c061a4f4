// What opening the replays list costs with a full folder: the last 20 sessions and 50 kept ones, each ten
// minutes of play at 60 passes a second with a key pressed or let go every tenth pass and a mission played.
// The list reads the rows it shows; the others wait until they are scrolled to.
#include <benchmark/benchmark.h>

#include <SDL.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "engine/engine.h"
#include "engine/utf8_paths.h"
#include "sessions/replays_screen.h"
#include "sessions/session.h"
#include "sessions/session_file.h"

namespace {

namespace fs = std::filesystem;

constexpr int kPasses = 10 * 60 * 60;

bool writeSession(const fs::path& path, const SessionStart& start) {
    SessionWriter writer;
    std::string error;
    if (!writer.open(Utf8FromPath(path), start, error)) return false;
    for (int pass = 0; pass < kPasses; ++pass) {
        PassRecord record{16, {}};
        if (pass % 10 == 0)
            record.events.push_back({pass % 20 == 0 ? InputEvent::Down : InputEvent::Up, 0x25});
        writer.addPass(record);
        if (pass == 600) writer.addMark(SessionMark::MissionStarted, 1);
        if (pass == kPasses - 600) writer.addMark(SessionMark::MissionWon, 1);
        if (pass % 60 == 59) writer.flush();
    }
    writer.finish();
    return writer.failure().empty();
}

void BM_ReplaysListOpens(benchmark::State& state) {
    InitHeadless(640, 480);
    const fs::path folder =
        fs::temp_directory_path() / ("vevu-replays-list-bench-" + std::to_string(SDL_GetTicks64()));
    fs::create_directories(folder / "kept");
    SessionStart start = NewSessionStart(CampaignRecord{});
    for (int i = 0; i < 70; ++i) {
        char name[64];
        std::snprintf(name, sizeof name, "2026-12-%02d_10-00-00.vrp", i % 28 + 1);
        const fs::path where = i < 20 ? folder : folder / "kept";
        start.date = std::string(name).substr(0, 10) + " 10:00:00";
        if (!writeSession(where / (std::to_string(i) + "_" + name), start)) {
            state.SkipWithError("the sessions cannot be written");
            return;
        }
    }
    std::size_t rows = 0;
    for (auto _ : state) {
        tReplaysScreen list(Utf8FromPath(folder), nullptr, true);
        rows = list.entries().size();
        benchmark::DoNotOptimize(rows);
    }
    state.counters["sessions"] = static_cast<double>(rows);
    state.counters["file_KB"] =
        static_cast<double>(fs::file_size(folder / ("0_2026-12-01_10-00-00.vrp"))) / 1024;
    fs::remove_all(folder);
    ShutdownEngine();
}
BENCHMARK(BM_ReplaysListOpens)->Unit(benchmark::kMillisecond);

} // namespace
