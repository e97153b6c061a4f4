// The player's files: how long a save holds the main thread (it only hands the bytes to the writing
// thread), what the same save costs written on the spot (the temporary file flushed, the backup linked,
// the rename and the folder flushed), the files' sizes, and start-up to the first intro frame with a
// campaign and settings saved.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>

#include "campaign/campaign_file.h"
#include "campaign/persistence.h"
#include "engine/engine.h"
#include "engine/file_store.h"
#include "engine/key_value_file.h"
#include "game/assets.h"
#include "game/game_clock.h"
#include "game/program.h"
#include "game/startup.h"
#include "intro/intro.h"

namespace fs = std::filesystem;

namespace {

fs::path freshFolder() {
    std::random_device entropy;
    const fs::path folder = fs::temp_directory_path() / ("vevu-bench-" + std::to_string(entropy()));
    fs::create_directories(folder);
    return folder;
}

using Clock = std::chrono::steady_clock;

void BM_SaveHoldsTheMainThread(benchmark::State& state) {
    const fs::path folder = freshFolder();
    double longest = 0, total = 0;
    int saves = 0;
    for (auto _ : state) {
        TFileStore store(folder);
        store.load(tCampaignFile::kFile); // as the game reads the saved campaign at start
        tPersistence record;
        for (int i = 0; i < 1000; ++i) {
            record.nodeLock[i % 3] ^= 1; // a different record every time: nothing is skipped as unchanged
            const auto start = Clock::now();
            store.save(tCampaignFile::kFile, record.encode());
            const double held = std::chrono::duration<double, std::micro>(Clock::now() - start).count();
            longest = std::max(longest, held);
            total += held;
            ++saves;
        }
        state.PauseTiming();
        store.flush();
        state.ResumeTiming();
    }
    state.counters["longest_hold_us"] = longest;
    state.counters["mean_hold_us"] = total / saves;
    state.counters["campaign_sav_bytes"] = static_cast<double>(fs::file_size(folder / "campaign.sav"));
    fs::remove_all(folder);
}
BENCHMARK(BM_SaveHoldsTheMainThread)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_SaveWrittenOnTheSpot(benchmark::State& state) {
    const fs::path folder = freshFolder();
    const std::string bytes = FrameFile(tPersistence().encode(), tPersistence::kRecordVersion);
    for (auto _ : state)
        benchmark::DoNotOptimize(ReplaceFileAtomically(folder, "campaign.sav", bytes, true));
    fs::remove_all(folder);
}
BENCHMARK(BM_SaveWrittenOnTheSpot)->Unit(benchmark::kMicrosecond)->Iterations(200);

// As BM_StartUpToTheFirstIntroFrame (first_frame_bench.cpp), with the program made and initialised first,
// which reads the saved campaign (and a settings file is read beside it).
void BM_StartUpToTheFirstIntroFrameWithFilesSaved(benchmark::State& state) {
    const fs::path folder = freshFolder();
    tPersistence won;
    won.lockNode(0);
    std::ofstream(folder / "campaign.sav", std::ios::binary) << FrameFile(won.encode(), tPersistence::kRecordVersion);
    TKeyValueFile settings;
    settings.setInt("music_volume", 80, "music volume, 0 to 100");
    settings.setBool("fullscreen", true, "fullscreen at start");
    std::ofstream(folder / "settings.txt", std::ios::binary) << settings.text();
    const PlayerFile settingsFile{PlayerFileKind::Settings, "settings.txt", "The settings", "default settings", 1, false};
    for (auto _ : state) {
        UsePlayerFolder(folder);
        startGame(true);
        theProgram = std::make_shared<tProgram>();
        theProgram->init();
        const LoadedFile read = PlayerFiles().load(settingsFile, [&](std::string_view text, std::uint32_t) {
            return settings.read(text, 1);
        });
        auto intro = std::make_shared<tIntro>();
        Delta::Start();
        Delta::Update();
        intro->update();
        Cls();
        intro->draw();
        Flip(0);
        benchmark::DoNotOptimize(read.from);
        if (!theProgram->campaignFile->hasSaved()) state.SkipWithError("the saved campaign was not read");
        state.PauseTiming();
        intro.reset();
        theProgram.reset();
        StopAllChannels();
        releaseAssets();
        ShutdownEngine();
        UsePlayerFolder({});
        state.ResumeTiming();
    }
    state.counters["settings_txt_bytes"] = static_cast<double>(fs::file_size(folder / "settings.txt"));
    fs::remove_all(folder);
}
BENCHMARK(BM_StartUpToTheFirstIntroFrameWithFilesSaved)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace
