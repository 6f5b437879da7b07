// The chart build for every one of the 4,096 code combinations under both methods, with its
// database reads, over the shipped rows in an in-memory database.
#include <benchmark/benchmark.h>

#include "chart/cast_pillars.h"
#include "chart/chart_build.h"
#include "store/database.h"
#include "store/sqlite_divination_data.h"

namespace {

void BM_Zhuanggua(benchmark::State& bench, chart::ArrangementMethod method) {
    const auto db = store::Database::openInMemory();
    const store::SqliteDivinationData data(*db);
    const chart::ChartOptions options;
    const chart::BuildContext context{data, options, QDate(2026, 12, 8)};
    chart::ChartState state;
    state.castDate = QDate(2024, 2, 4);
    state.castTime = QTime(16, 24);
    state.method = method;
    chart::fillPillars(state);
    int combination = 0;
    for (auto _ : bench) {
        int c = combination++ % 4096;
        for (int i = 5; i >= 0; --i, c /= 4) {
            state.main[std::size_t(i)].code = c % 4 + 1;
            state.main[std::size_t(i)].changedLine.clear();
            state.main[std::size_t(i)].mark = u' ';
        }
        benchmark::DoNotOptimize(chart::zhuanggua(state, context));
    }
}
BENCHMARK_CAPTURE(BM_Zhuanggua, jingfang, chart::ArrangementMethod::Jingfang)
    ->Iterations(4096 * 3)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Zhuanggua, zangshan, chart::ArrangementMethod::Zangshan)
    ->Iterations(4096 * 3)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMicrosecond);

}  // namespace
