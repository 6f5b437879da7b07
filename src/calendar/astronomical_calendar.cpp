#include "calendar/astronomical_calendar.h"

#include <array>
#include <cmath>
#include <unordered_map>
#include <vector>

#include "calendar/calendar_source.h"
#include "calendar/civil_date.h"
#include "calendar/ephemeris.h"
#include "calendar/solar_terms.h"

namespace cal {
namespace {

// The term tables reach one year beyond the supported ones on either side: the lunar months
// of a year need the 冬至 before it and after the next one.
constexpr int kFirstTableYear = kAstronomicalFirstYear - 1;
constexpr int kLastTableYear = kAstronomicalLastYear + 1;
constexpr int kTableYears = kLastTableYear - kFirstTableYear + 1;

bool inTable(int y) { return y >= kFirstTableYear && y <= kLastTableYear; }

// The 26 term moments of a civil year as Beijing-time day numbers. Computed on first use
// and kept per thread (the values are the same everywhere).
struct YearTerms {
    bool filled = false;
    std::array<double, 26> moments{};
};

const YearTerms& yearTerms(int y) {
    thread_local std::array<YearTerms, kTableYears> tables;
    YearTerms& t = tables[std::size_t(y - kFirstTableYear)];
    if (!t.filled) {
        const double year_start = double(equivalentDays(y, 1, 0));
        for (int n = 0; n < 26; ++n) {
            // The formulas are within half an hour: the best first guess there is.
            const double guess = year_start + double(termDay(y, n, CalendarSource::Formula));
            t.moments[std::size_t(n)] = solarLongitudeMoment(std::fmod(270.0 + 15.0 * n, 360.0), guess);
        }
        t.filled = true;
    }
    return t;
}

long wholeDay(double moment) { return static_cast<long>(std::floor(moment)); }

// Civil day (equivalentDays count) of the new moon of each lunation, kept per thread.
long newMoonDay(int lunation) {
    thread_local std::unordered_map<int, long> days;
    const auto it = days.find(lunation);
    if (it != days.end()) return it->second;
    const long day = wholeDay(newMoonMoment(meanNewMoon(lunation)));
    days.emplace(lunation, day);
    return day;
}

// The lunation whose month holds civil day `day`: the last new moon on or before it.
int lunationHolding(long day) {
    int k = lunationNear(double(day));
    while (newMoonDay(k) > day) --k;
    while (newMoonDay(k + 1) <= day) ++k;
    return k;
}

struct LunarMonth {
    long first_day = 0;
    int number = 0;  // 1..12
    bool leap = false;
};

// The lunar months from the eleventh month of the lunar year before civil year y to the
// eleventh month after it, which covers every day of y.
struct LunarYear {
    bool filled = false;
    std::vector<LunarMonth> months;  // the last one only closes the one before it
};

// The 12 principal-term days from 冬至 of civil year y - 1 to the 小雪 before 冬至 of y.
void addPrincipalTermDays(int y, std::vector<long>& days) {
    const YearTerms& terms = yearTerms(y);
    for (int n = 0; n < 24; n += 2) days.push_back(wholeDay(terms.moments[std::size_t(n)]));
}

// Numbers the months of one span between two eleventh months: first..last (exclusive), the
// first being the eleventh.
void numberSpan(std::vector<LunarMonth>& months, std::size_t first, std::size_t last,
                const std::vector<long>& principal_days) {
    const bool has_leap = last - first == 13;
    bool leap_found = false;
    int number = 11;
    months[first].number = 11;
    for (std::size_t i = first + 1; i < last; ++i) {
        bool holds_principal = false;
        for (long day : principal_days)
            holds_principal = holds_principal || (day >= months[i].first_day && day < months[i + 1].first_day);
        if (has_leap && !leap_found && !holds_principal) {
            leap_found = true;
            months[i].number = number;
            months[i].leap = true;
            continue;
        }
        number = number % 12 + 1;
        months[i].number = number;
    }
}

LunarYear computeLunarYear(int y) {
    const long solstice_before = wholeDay(yearTerms(y).moments[0]);
    const long solstice = wholeDay(yearTerms(y).moments[24]);
    const long solstice_after = wholeDay(yearTerms(y + 1).moments[24]);
    const int k0 = lunationHolding(solstice_before);
    const int k1 = lunationHolding(solstice);
    const int k2 = lunationHolding(solstice_after);

    LunarYear year;
    for (int k = k0; k <= k2; ++k) year.months.push_back({newMoonDay(k), 0, false});
    std::vector<long> principal;
    addPrincipalTermDays(y, principal);
    addPrincipalTermDays(y + 1, principal);
    principal.push_back(solstice_after);

    numberSpan(year.months, 0, std::size_t(k1 - k0), principal);
    numberSpan(year.months, std::size_t(k1 - k0), std::size_t(k2 - k0), principal);
    year.filled = true;
    return year;
}

const LunarYear& lunarYear(int y) {
    thread_local std::array<LunarYear, kTableYears> years;
    LunarYear& year = years[std::size_t(y - kFirstTableYear)];
    if (!year.filled) year = computeLunarYear(y);
    return year;
}

}  // namespace

long double astronomicalTermDay(int y, int n) {
    if (!inTable(y) || n < 0 || n > 25) return 0;
    return yearTerms(y).moments[std::size_t(n)] - double(equivalentDays(y, 1, 0));
}

LunarDate astronomicalLunarDate(int y, int m, int d) {
    if (sourceForYear(CalendarSource::Astronomical, y) != CalendarSource::Astronomical) return {};
    const long day = equivalentDays(y, m, d);
    const LunarYear& year = lunarYear(y);
    for (std::size_t i = year.months.size() - 1; i-- > 0;) {
        const LunarMonth& month = year.months[i];
        if (month.first_day <= day) return {true, month.leap, month.number, int(day - month.first_day) + 1};
    }
    return {};
}

int astronomicalLeapMonth(int y) {
    if (sourceForYear(CalendarSource::Astronomical, y) != CalendarSource::Astronomical) return -1;
    // The lunar year beginning in y: from its 正月 to the next 正月.
    const LunarYear& year = lunarYear(y);
    bool started = false;
    for (const LunarMonth& month : year.months) {
        if (!month.leap && month.number == 1) {
            if (started) break;
            started = true;
        }
        if (started && month.leap) return month.number;
    }
    return 0;
}

}  // namespace cal
