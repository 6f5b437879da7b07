// The whole-chart analysis report for every hexagram, once with every line static and once with
// every line moving, on each of the 365 days of 2025: 46,720 reports per sweep over the shipped
// rows in an in-memory database. Charts are built outside the timing; each report is timed on
// its own and the median, 90th percentile and maximum per report are given as counters.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <vector>

#include "analysis/analysis_report.h"
#include "chart/chart_build.h"
#include "store/database.h"
#include "store/sqlite_divination_data.h"

namespace {

constexpr int kDays = 365;
constexpr int kChartsPerDay = 64 * 2;

// The 128 charts of one day: hexagram h (bits top line first, 1 yang) static, then moving.
std::vector<chart::ChartState> chartsOfDay(const QDate& day, const chart::BuildContext& context) {
    std::vector<chart::ChartState> charts;
    charts.reserve(kChartsPerDay);
    for (int moving = 0; moving < 2; ++moving) {
        for (int h = 0; h < 64; ++h) {
            QString text = day.toString(QStringLiteral("yyyyMMdd"));
            for (int i = 0; i < 6; ++i) {
                const bool yang = (h >> (5 - i)) & 1;
                text += QString::number(yang ? (moving ? 3 : 1) : (moving ? 4 : 2));
            }
            chart::ChartState state;
            chart::enterCaseNumber(state, text + QStringLiteral("T:10:00:00"), context);
            charts.push_back(std::move(state));
        }
    }
    return charts;
}

void BM_WholeChartReport(benchmark::State& bench) {
    const auto db = store::Database::openInMemory();
    const store::SqliteDivinationData data(*db);
    const chart::ChartOptions options;
    const chart::BuildContext context{data, options, QDate(2026, 12, 8)};
    const analysis::ReportSettings settings;
    std::vector<double> micros;
    micros.reserve(std::size_t(kDays) * kChartsPerDay);
    std::vector<chart::ChartState> charts;
    long n = 0;
    for (auto _ : bench) {
        const long k = n++ % (long(kDays) * kChartsPerDay);
        if (k % kChartsPerDay == 0) {
            bench.PauseTiming();
            charts = chartsOfDay(QDate(2025, 1, 1).addDays(k / kChartsPerDay), context);
            bench.ResumeTiming();
        }
        const auto start = std::chrono::steady_clock::now();
        const analysis::AnalysisResult result =
            analysis::AnalysisReport(charts[std::size_t(k % kChartsPerDay)], data, settings, 0, 0);
        micros.push_back(std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count());
        benchmark::DoNotOptimize(result);
    }
    std::sort(micros.begin(), micros.end());
    auto at = [&](double q) { return micros.empty() ? 0.0 : micros[std::size_t(q * double(micros.size() - 1))]; };
    bench.counters["median_us"] = at(0.5);
    bench.counters["p90_us"] = at(0.9);
    bench.counters["max_us"] = at(1.0);
}
BENCHMARK(BM_WholeChartReport)->Iterations(long(kDays) * kChartsPerDay)->Unit(benchmark::kMicrosecond);

}  // namespace
