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

bool in_table(int y) { return y >= kFirstTableYear && y <= kLastTableYear; }

// The 26 term moments of a civil year as Beijing-time day numbers. Computed on first use
// and kept per thread (the values are the same everywhere).
struct YearTerms {
    bool filled = false;
    std::array<double, 26> moments{};
};

const YearTerms& year_terms(int y) {
    thread_local std::array<YearTerms, kTableYears> tables;
    YearTerms& t = tables[std::size_t(y - kFirstTableYear)];
    if (!t.filled) {
        const double year_start = double(equivalent_days(y, 1, 0));
        for (int n = 0; n < 26; ++n) {
            // The formulas are within half an hour: the best first guess there is.
            const double guess = year_start + double(jieqi_day(y, n, CalendarSource::Formula));
            t.moments[std::size_t(n)] = solar_longitude_moment(std::fmod(270.0 + 15.0 * n, 360.0), guess);
        }
        t.filled = true;
    }
    return t;
}

long whole_day(double moment) { return static_cast<long>(std::floor(moment)); }

// Civil day (equivalent_days count) of the new moon of each lunation, kept per thread.
long new_moon_day(int lunation) {
    thread_local std::unordered_map<int, long> days;
    const auto it = days.find(lunation);
    if (it != days.end()) return it->second;
    const long day = whole_day(new_moon_moment(mean_new_moon(lunation)));
    days.emplace(lunation, day);
    return day;
}

// The lunation whose month holds civil day `day`: the last new moon on or before it.
int lunation_holding(long day) {
    int k = lunation_near(double(day));
    while (new_moon_day(k) > day) --k;
    while (new_moon_day(k + 1) <= day) ++k;
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
void add_principal_term_days(int y, std::vector<long>& days) {
    const YearTerms& terms = year_terms(y);
    for (int n = 0; n < 24; n += 2) days.push_back(whole_day(terms.moments[std::size_t(n)]));
}

// Numbers the months of one span between two eleventh months: first..last (exclusive), the
// first being the eleventh.
void number_span(std::vector<LunarMonth>& months, std::size_t first, std::size_t last,
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

LunarYear compute_lunar_year(int y) {
    const long solstice_before = whole_day(year_terms(y).moments[0]);
    const long solstice = whole_day(year_terms(y).moments[24]);
    const long solstice_after = whole_day(year_terms(y + 1).moments[24]);
    const int k0 = lunation_holding(solstice_before);
    const int k1 = lunation_holding(solstice);
    const int k2 = lunation_holding(solstice_after);

    LunarYear year;
    for (int k = k0; k <= k2; ++k) year.months.push_back({new_moon_day(k), 0, false});
    std::vector<long> principal;
    add_principal_term_days(y, principal);
    add_principal_term_days(y + 1, principal);
    principal.push_back(solstice_after);

    number_span(year.months, 0, std::size_t(k1 - k0), principal);
    number_span(year.months, std::size_t(k1 - k0), std::size_t(k2 - k0), principal);
    year.filled = true;
    return year;
}

const LunarYear& lunar_year(int y) {
    thread_local std::array<LunarYear, kTableYears> years;
    LunarYear& year = years[std::size_t(y - kFirstTableYear)];
    if (!year.filled) year = compute_lunar_year(y);
    return year;
}

}  // namespace

long double astronomical_term_day(int y, int n) {
    if (!in_table(y) || n < 0 || n > 25) return 0;
    return year_terms(y).moments[std::size_t(n)] - double(equivalent_days(y, 1, 0));
}

LunarDate astronomical_lunar_date(int y, int m, int d) {
    if (source_for_year(CalendarSource::Astronomical, y) != CalendarSource::Astronomical) return {};
    const long day = equivalent_days(y, m, d);
    const LunarYear& year = lunar_year(y);
    for (std::size_t i = year.months.size() - 1; i-- > 0;) {
        const LunarMonth& month = year.months[i];
        if (month.first_day <= day) return {true, month.leap, month.number, int(day - month.first_day) + 1};
    }
    return {};
}

int astronomical_leap_month(int y) {
    if (source_for_year(CalendarSource::Astronomical, y) != CalendarSource::Astronomical) return -1;
    // The lunar year beginning in y: from its 正月 to the next 正月.
    const LunarYear& year = lunar_year(y);
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
