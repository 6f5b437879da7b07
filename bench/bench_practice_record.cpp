// The record of 100,000 cases with outcomes (goal: under 200 ms), over the whole library and
// over one category.
#include "outcome_cases.h"
#include "record/practice_record.h"

#include <benchmark/benchmark.h>

namespace {

void BM_RecordOfTheLibrary(benchmark::State& state) {
    store::Database& db = bench::casesWithOutcomes();  // filled here, outside the timing
    qint64 total = 0;
    for (auto _ : state) total = record::computeRecord(db, {}, QDate(2026, 1, 1)).overall.total;
    state.counters["cases"] = double(total);
}
BENCHMARK(BM_RecordOfTheLibrary)->Unit(benchmark::kMillisecond)->Iterations(5);

// The same as of 2000-01-01, when no case is long pending: the pass alone, without the list of
// 40,000 old pending cases.
void BM_RecordWithoutOldPending(benchmark::State& state) {
    store::Database& db = bench::casesWithOutcomes();
    qint64 total = 0;
    for (auto _ : state) total = record::computeRecord(db, {}, QDate(2000, 1, 1)).overall.total;
    state.counters["cases"] = double(total);
}
BENCHMARK(BM_RecordWithoutOldPending)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_RecordOfOneCategory(benchmark::State& state) {
    store::Database& db = bench::casesWithOutcomes();
    qint64 total = 0;
    for (auto _ : state) total = record::computeRecord(db, {QStringLiteral("求财"), {}, {}}, QDate(2026, 1, 1)).overall.total;
    state.counters["cases"] = double(total);
}
BENCHMARK(BM_RecordOfOneCategory)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
