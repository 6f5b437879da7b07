// Case store speed over a database file holding 100,000 generated cases.
#include "seeded_cases.h"
#include "store/case_lists.h"
#include "store/case_store.h"
#include "store/database.h"

#include <benchmark/benchmark.h>
#include <QTemporaryDir>

namespace {

using bench::shared;

void BM_Recent50(benchmark::State& state) {
    store::CaseLists lists(*shared().db);
    for (auto _ : state) benchmark::DoNotOptimize(lists.recentCases(50));
}
BENCHMARK(BM_Recent50)->Unit(benchmark::kMillisecond);

// Keywords of three characters or more use the trigram index; shorter ones scan the table, which
// is quick when matches are frequent (the first 100 come early) and slowest when there are none.
void BM_Search(benchmark::State& state, const char* keyword) {
    store::CaseLists lists(*shared().db);
    const QString text = QString::fromUtf8(keyword);
    for (auto _ : state) benchmark::DoNotOptimize(lists.searchCases(text));
}
BENCHMARK_CAPTURE(BM_Search, long_frequent, "求职面试")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Search, long_absent, "无此关键字")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Search, short_frequent, "求职")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Search, short_absent, "无此")->Unit(benchmark::kMillisecond);

void BM_YearList(benchmark::State& state) {
    store::CaseLists lists(*shared().db);
    const qint64 category = state.range(0);
    for (auto _ : state) benchmark::DoNotOptimize(lists.yearList(category));
}
BENCHMARK(BM_YearList)->Arg(store::kAllCategories)->Arg(5)->Unit(benchmark::kMillisecond);

void BM_MonthList(benchmark::State& state) {
    store::CaseLists lists(*shared().db);
    const qint64 category = state.range(0);
    for (auto _ : state) benchmark::DoNotOptimize(lists.monthList(category, 2012));
}
BENCHMARK(BM_MonthList)->Arg(store::kAllCategories)->Arg(5)->Unit(benchmark::kMillisecond);

void BM_CasesOfMonth(benchmark::State& state) {
    store::CaseLists lists(*shared().db);
    for (auto _ : state) benchmark::DoNotOptimize(lists.casesOfMonth(store::kAllCategories, 2012, 6));
}
BENCHMARK(BM_CasesOfMonth)->Unit(benchmark::kMillisecond);

void BM_CreateCase(benchmark::State& state) {
    store::CaseHistory history;
    store::CaseStore cases(*shared().db, history);
    store::CastCase cast;
    cast.hexagramName = QStringLiteral("乾为天");
    cast.caseNumber = QStringLiteral("20240204111111京房式T:16:25:00");
    cast.category = QStringLiteral("杂类");
    cast.gender = QStringLiteral("男");
    cast.subject = QStringLiteral("测试");
    cast.castDate = QDate(2024, 2, 4);
    for (auto _ : state) benchmark::DoNotOptimize(cases.createCase(cast));
}
BENCHMARK(BM_CreateCase)->Unit(benchmark::kMillisecond);

}  // namespace
