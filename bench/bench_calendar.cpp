// All four pillars and the lunar date of every civil day, under both calendar sources, and the
// cost of one term moment and one new moon from the ephemeris.
#include <benchmark/benchmark.h>

#include <cmath>

#include "calendar/calendar_source.h"
#include "calendar/civil_date.h"
#include "calendar/ephemeris.h"
#include "calendar/lunar.h"
#include "calendar/pillars.h"
#include "calendar/solar_terms.h"

namespace {

long pillarsAndLunarDates(int first, int last, cal::CalendarSource source) {
    long sum = 0;
    for (cal::CivilDate d{first, 1, 1}; d.year <= last; d = cal::nextDay(d)) {
        sum += cal::yearGanzhi(d.year, d.month, d.day, source) + cal::monthGanzhi(d.year, d.month, d.day, source) +
               cal::dayGanzhi(d.year, d.month, d.day) + cal::hourGanzhi(d.year, d.month, d.day, 12);
        const cal::LunarDate l = cal::lunarDate(d.year, d.month, d.day, source);
        sum += l.month + l.day;
    }
    return sum;
}

void BM_PillarsAndLunarDate1900To2049(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(pillarsAndLunarDates(1900, 2049, cal::CalendarSource::Formula));
}
BENCHMARK(BM_PillarsAndLunarDate1900To2049)->Unit(benchmark::kMillisecond);

void BM_PillarsAndLunarDate1900To2100Formula(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(pillarsAndLunarDates(1900, 2100, cal::CalendarSource::Formula));
}
BENCHMARK(BM_PillarsAndLunarDate1900To2100Formula)->Unit(benchmark::kMillisecond);

// Once per process: the first pass computes every term and new moon, which are then kept.
void BM_PillarsAndLunarDate1900To2100AstronomicalCold(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(pillarsAndLunarDates(1900, 2100, cal::CalendarSource::Astronomical));
}
BENCHMARK(BM_PillarsAndLunarDate1900To2100AstronomicalCold)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_PillarsAndLunarDate1900To2100AstronomicalKept(benchmark::State& state) {
    pillarsAndLunarDates(1900, 2100, cal::CalendarSource::Astronomical);
    for (auto _ : state) benchmark::DoNotOptimize(pillarsAndLunarDates(1900, 2100, cal::CalendarSource::Astronomical));
}
BENCHMARK(BM_PillarsAndLunarDate1900To2100AstronomicalKept)->Unit(benchmark::kMillisecond);

// One term moment each: a different year every time, so nothing kept is reused.
void BM_OneTermMomentFormula(benchmark::State& state) {
    int i = 0;
    for (auto _ : state) {
        const int y = 1900 + i % 201;
        benchmark::DoNotOptimize(cal::termDay(y, 3 + 26));  // outside the kept range: computed each time
        ++i;
    }
}
BENCHMARK(BM_OneTermMomentFormula)->Unit(benchmark::kMicrosecond);

void BM_OneTermMomentAstronomical(benchmark::State& state) {
    int i = 0;
    for (auto _ : state) {
        const int y = 1900 + i % 201;
        const double guess = double(cal::equivalentDays(y, 1, 0)) + double(cal::termDay(y, 3 + 26));
        benchmark::DoNotOptimize(cal::solarLongitudeMoment(std::fmod(270.0 + 15.0 * 29, 360.0), guess));
        ++i;
    }
}
BENCHMARK(BM_OneTermMomentAstronomical)->Unit(benchmark::kMicrosecond);

// A term moment once its year's table is kept: what a chart cast asks for.
void BM_TermMomentKeptAstronomical(benchmark::State& state) {
    for (int y = 1900; y <= 2100; ++y) cal::termMoment(y, 2, cal::CalendarSource::Astronomical);
    int i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(cal::termMoment(1900 + i % 201, i % 24, cal::CalendarSource::Astronomical));
        ++i;
    }
}
BENCHMARK(BM_TermMomentKeptAstronomical)->Unit(benchmark::kMicrosecond);

void BM_OneNewMoonAstronomical(benchmark::State& state) {
    int k = -1200;
    for (auto _ : state) {
        benchmark::DoNotOptimize(cal::newMoonMoment(cal::meanNewMoon(k)));
        k = k < 1250 ? k + 1 : -1200;
    }
}
BENCHMARK(BM_OneNewMoonAstronomical)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
