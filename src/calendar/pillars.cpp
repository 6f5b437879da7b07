#include "pillars.h"

#include "civil_date.h"
#include "ganzhi.h"
#include "solar_terms.h"

namespace cal {
namespace {

int nonNegativeMod(long value, int modulus) {
    long r = value % modulus;
    if (r < 0) r += modulus;
    return static_cast<int>(r);
}

}  // namespace

int yearGanzhiOfYear(int y) { return nonNegativeMod(y > 0 ? y - 4L : y - 3L, kCycleLength); }

int yearGanzhi(int y, int m, int d, CalendarSource source) {
    const int year = dayOfYear(y, m, d) < termDayNumber(y, 3, source) ? y - 1 : y;
    return yearGanzhiOfYear(year);
}

SolarMonth solarMonth(int y, int m, int d, CalendarSource source) {
    const long doy = dayOfYear(y, m, d);
    if (doy < termDayNumber(y, 3, source)) return {y - 1, doy < termDayNumber(y, 1, source) ? 11 : 12};
    int month = 1;
    for (int i = 2; i <= 12 && doy >= termDayNumber(y, 2 * i + 1, source); ++i) month = i;
    return {y, month};
}

int monthGanzhi(int y, int m, int d, CalendarSource source) {
    const SolarMonth sm = solarMonth(y, m, d, source);
    const int year_stem = yearGanzhiOfYear(sm.year) % kStemCount;
    // Stem of the first month: 丙 for 甲/己 years, 戊 for 乙/庚, 庚 for 丙/辛, 壬 for 丁/壬, 甲 for 戊/癸.
    const int first_stem = (2 * (year_stem % 5) + 2) % kStemCount;
    const int stem = (first_stem + (sm.month - 1) % kStemCount) % kStemCount;
    const int branch = (sm.month + 1) % kBranchCount;
    return ganzhiCompose(stem, branch);
}

int dayGanzhi(int y, int m, int d) { return nonNegativeMod(dayCount(y, m, d) + 12, kCycleLength); }

int hourGanzhi(int y, int m, int d, int hour) {
    int stem = dayGanzhi(y, m, d) % kStemCount;
    const int h = nonNegativeMod(hour, 24);
    int branch;
    if (h == 23) {
        branch = 0;
        stem = (stem + 1) % kStemCount;
    } else {
        branch = (h + 1) / 2;
    }
    if (stem >= 5) stem -= 5;
    return ganzhiCompose((2 * stem + branch) % kStemCount, branch);
}

}  // namespace cal
