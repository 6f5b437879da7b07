#include "pillars.h"

#include "civil_date.h"
#include "ganzhi.h"
#include "solar_terms.h"

namespace cal {
namespace {

int non_negative_mod(long value, int modulus) {
    long r = value % modulus;
    if (r < 0) r += modulus;
    return static_cast<int>(r);
}

}  // namespace

int year_ganzhi_of_year(int y) { return non_negative_mod(y > 0 ? y - 4L : y - 3L, kCycleLength); }

int year_ganzhi(int y, int m, int d, CalendarSource source) {
    const int year = day_of_year(y, m, d) < jieqi_day_number(y, 3, source) ? y - 1 : y;
    return year_ganzhi_of_year(year);
}

SolarMonth solar_month(int y, int m, int d, CalendarSource source) {
    const long doy = day_of_year(y, m, d);
    if (doy < jieqi_day_number(y, 3, source)) return {y - 1, doy < jieqi_day_number(y, 1, source) ? 11 : 12};
    int month = 1;
    for (int i = 2; i <= 12 && doy >= jieqi_day_number(y, 2 * i + 1, source); ++i) month = i;
    return {y, month};
}

int month_ganzhi(int y, int m, int d, CalendarSource source) {
    const SolarMonth sm = solar_month(y, m, d, source);
    const int year_stem = year_ganzhi_of_year(sm.year) % kStemCount;
    // Stem of the first month: 丙 for 甲/己 years, 戊 for 乙/庚, 庚 for 丙/辛, 壬 for 丁/壬, 甲 for 戊/癸.
    const int first_stem = (2 * (year_stem % 5) + 2) % kStemCount;
    const int stem = (first_stem + (sm.month - 1) % kStemCount) % kStemCount;
    const int branch = (sm.month + 1) % kBranchCount;
    return ganzhi_compose(stem, branch);
}

int day_ganzhi(int y, int m, int d) { return non_negative_mod(day_count(y, m, d) + 12, kCycleLength); }

int hour_ganzhi(int y, int m, int d, int hour) {
    int stem = day_ganzhi(y, m, d) % kStemCount;
    const int h = non_negative_mod(hour, 24);
    int branch;
    if (h == 23) {
        branch = 0;
        stem = (stem + 1) % kStemCount;
    } else {
        branch = (h + 1) / 2;
    }
    if (stem >= 5) stem -= 5;
    return ganzhi_compose((2 * stem + branch) % kStemCount, branch);
}

}  // namespace cal
