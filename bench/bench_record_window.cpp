// 验证统计 over 100,000 cases with outcomes (goal: opens in under 500 ms): the window made,
// its record computed, its tables and charts laid out and painted once. Runs offscreen.
#include <benchmark/benchmark.h>

#include <QApplication>

#include "outcome_cases.h"
#include "ui/record/record_window.h"
#include "workbench/clock.h"
#include "workbench/prompter.h"
#include "workbench/workbench.h"

namespace {

void BM_RecordWindowOpens(benchmark::State& state) {
    store::Database& db = bench::casesWithOutcomes();  // filled here, outside the timing
    workbench::FixedClock clock(QDateTime(QDate(2026, 1, 1), QTime(12, 0)));
    workbench::UnattendedPrompter prompter;
    workbench::Workbench current(db, clock, prompter, bench::shared().dir.path());
    for (auto _ : state) {
        ui::RecordWindow window(db, current);
        window.show();
        benchmark::DoNotOptimize(window.grab().width());  // laid out and painted
    }
}
BENCHMARK(BM_RecordWindowOpens)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
