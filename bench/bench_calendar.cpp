// All four pillars and the lunar date of every civil day 1900..2049.
#include <benchmark/benchmark.h>

#include "calendar/civil_date.h"
#include "calendar/lunar.h"
#include "calendar/pillars.h"

namespace {

void BM_PillarsAndLunarDate1900To2049(benchmark::State& state) {
    for (auto _ : state) {
        long sum = 0;
        for (cal::CivilDate d{1900, 1, 1}; d.year < 2050; d = cal::next_day(d)) {
            sum += cal::year_ganzhi(d.year, d.month, d.day) + cal::month_ganzhi(d.year, d.month, d.day) +
                   cal::day_ganzhi(d.year, d.month, d.day) + cal::hour_ganzhi(d.year, d.month, d.day, 12);
            const cal::LunarDate l = cal::lunar_date(d.year, d.month, d.day);
            sum += l.month + l.day;
        }
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(BM_PillarsAndLunarDate1900To2049)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
