// The time to switch the game's language: the first switch to a language reads its embedded catalogue
// (checked whole, its texts indexed), a switch back to one read before takes the kept catalogue; the
// page's lines are made again at every switch (settings/page_lines.h).
#include <benchmark/benchmark.h>

#include "engine/resources.h"
#include "engine/words.h"
#include "settings/page_lines.h"

namespace {

void BM_SwitchLanguageFirstTime(benchmark::State& state) {
    FillResourceTable();
    for (auto _ : state) {
        ForgetCatalogues();
        benchmark::DoNotOptimize(SetLanguage("ja"));
    }
    ForgetCatalogues();
}
BENCHMARK(BM_SwitchLanguageFirstTime);

void BM_SwitchLanguageAgain(benchmark::State& state) {
    FillResourceTable();
    SetLanguage("de");
    SetLanguage("ru");
    bool german = true;
    for (auto _ : state) {
        benchmark::DoNotOptimize(SetLanguage(german ? "de" : "ru"));
        german = !german;
    }
    ForgetCatalogues();
}
BENCHMARK(BM_SwitchLanguageAgain);

void BM_PageLinesAfterSwitch(benchmark::State& state) {
    FillResourceTable();
    SetLanguage("de");
    const tSettings settings;
    for (auto _ : state)
        benchmark::DoNotOptimize(PageLines(settings));
    ForgetCatalogues();
}
BENCHMARK(BM_PageLinesAfterSwitch);

} // namespace
