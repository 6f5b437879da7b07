// Searches of the casting dialog: a date from month and day pillars, and the stem completion of
// a bare-branch month (up to ten searches). Goals: one search under 30 ms, a completion under
// 300 ms.
#include <benchmark/benchmark.h>

#include "calendar/ganzhi.h"
#include "casting/cast_text.h"
#include "chart/cast_pillars.h"

namespace {

const QDate kToday(2026, 12, 8);

void BM_PillarDate(benchmark::State& bench, const char16_t* month, const char16_t* day) {
    const QString m = QString::fromUtf16(month), d = QString::fromUtf16(day);
    for (auto _ : bench) benchmark::DoNotOptimize(chart::dateOfPillars(m, d, kToday));
}
// Found about three years back.
BENCHMARK_CAPTURE(BM_PillarDate, recent, u"丙寅", u"戊戌")->Unit(benchmark::kMillisecond);

// All sixty days under one month, the longest scans included; reports how many found none.
void BM_PillarDateEveryDay(benchmark::State& bench) {
    int unmatched = 0;
    for (auto _ : bench) {
        unmatched = 0;
        for (int day = 0; day < 60; ++day)
            if (!chart::dateOfPillars(QStringLiteral("丙寅"), QString::fromStdString(cal::ganzhiName(day)), kToday)
                     .matched)
                ++unmatched;
    }
    bench.counters["unmatched"] = unmatched;
}
BENCHMARK(BM_PillarDateEveryDay)->Unit(benchmark::kMillisecond);

void BM_StemCompletion(benchmark::State& bench, const char16_t* day) {
    const QString d = QString::fromUtf16(day);
    for (auto _ : bench) benchmark::DoNotOptimize(casting::completeMonthStem(QStringLiteral(" 丑"), d, kToday));
}
BENCHMARK_CAPTURE(BM_StemCompletion, first_stem, u"丙申")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_StemCompletion, other_day, u"丁亥")->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
