#include "lunar.h"

#include <array>
#include <cmath>
#include <string_view>

#include "astronomical_calendar.h"
#include "civil_date.h"

namespace cal {
namespace {

// One hexadecimal digit per civil year from 1898 to 2100: the month after which the lunar
// year begun in that civil year has its leap month. The digit of 1898 (闰三月) is only read
// for January 1899.
constexpr std::string_view kLeapDigits =
    "3"
    "0"
    "800500400206005002070050040020600500307006004002070050030800600400307005004080060040a006005003080050"
    "040020700500409006004002060050030b0060050020700500308006004003070050040800600400307005004080060040020";
constexpr int kLeapDigitsFirstYear = kLunarFirstYear - 1;
// Leap count of 1899 as carried over from the years before it.
constexpr int kLeapCount1899 = 1010;

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

struct LeapTables {
    std::array<int, kLunarLastYear - kLeapDigitsFirstYear + 1> month{};
    std::array<int, kLunarLastYear - kLeapDigitsFirstYear + 1> count{};
};

const LeapTables& leapTables() {
    static const LeapTables tables = [] {
        static_assert(kLeapDigits.size() == kLunarLastYear - kLeapDigitsFirstYear + 1);
        LeapTables t;
        int count = kLeapCount1899;
        for (std::size_t i = 0; i < kLeapDigits.size(); ++i) {
            t.month[i] = hexValue(kLeapDigits[i]);
            const int year = kLeapDigitsFirstYear + static_cast<int>(i);
            if (year > kLunarFirstYear && t.month[i] != 0) ++count;
            t.count[i] = year < kLunarFirstYear ? -1 : count;
        }
        return t;
    }();
    return tables;
}

// Fractional part as the moon formulas take it: x - trunc(x) above zero, x + trunc(x) otherwise.
long double frac(long double x) { return x > 0 ? x - std::trunc(x) : x + std::trunc(x); }

constexpr long double kPi = 3.141592653589793238462643383279502884L;
constexpr long double kDegreesPerRadian = 57.29577951308232L;

long double angle(long double a, long double b, long double c, long double d, long double t, long double k) {
    return 2 * kPi * frac(d * k) + c - b * t * t - a * t * t * t;
}

long double degreesAngle(long double a, long double b, long double c, long double d, long double t, long double k) {
    return 2 * kPi * frac(d * k) + (c - b * t * t - a * t * t * t) / kDegreesPerRadian;
}

bool inRange(int m, int d, int m1, int d1, int m2, int d2) {
    const int v = m * 100 + d;
    return v >= m1 * 100 + d1 && v <= m2 * 100 + d2;
}

}  // namespace

int leapMonthOfYear(int y) {
    if (y < kLeapDigitsFirstYear || y > kLunarLastYear) return -1;
    return leapTables().month[y - kLeapDigitsFirstYear];
}

int leapCountOfYear(int y) {
    if (y < kLunarFirstYear || y > kLunarLastYear) return -1;
    return leapTables().count[y - kLeapDigitsFirstYear];
}

namespace {

constexpr int kMoonSteps = 29;  // w = -1, -0.5, 0, ..., 13: new and full moons alternately

// Day numbers (with the time of day, UTC+8, as fraction) of the moon phases searched for the
// dates of civil year y; they depend on the year alone.
std::array<long double, kMoonSteps> computeMoonPhases(int y) {
    const long double k = std::floor((y - 1900) * 12.3685L);
    const long double t = (y - 1899.5L) / 100;
    const long double f = angle(1.55e-7L, 0.0002172L, 0.75933L, 0, t, k);
    const long double sun = degreesAngle(0.00000347L, 0.0000333L, 359.2242L, 0.08084821133L, t, k);
    const long double moon = degreesAngle(-0.00001236L, -0.0107306L, 306.0253L, 0.07171366128L, t, k);
    const long double lat = degreesAngle(0.00000239L, 0.0016528L, 21.2964L, 0.08519585128L, t, k);
    const long double base = f + 0.53058868L * k - 0.000837L * t + 8.0L / 24 + 0.5L;
    std::array<long double, kMoonSteps> phases{};
    for (int step = 0; step < kMoonSteps; ++step) {
        const long double w = -1 + step * 0.5L;
        const long double mw = sun + 0.507984293L * w;
        const long double mpw = moon + 6.73377553L * w;
        const long double fw = lat + 6.818486628L * w;
        phases[step] = (29 * k + 693595) + 28 * w + (0.1734L - 0.000393L * t) * std::sin(mw) + base + 1.53058868L * w -
                       0.4068L * std::sin(mpw) + 0.0021L * std::sin(2 * mw) + 0.0161L * std::sin(2 * mpw) +
                       0.0104L * std::sin(2 * fw) - 0.0074L * std::sin(mw - mpw) - 0.0051L * std::sin(mw + mpw);
    }
    return phases;
}

struct MoonPhases {
    std::array<long, kMoonSteps> day{};          // floor of the moment
    std::array<long double, kMoonSteps> time{};  // frac of the moment
};

// Callers walk dates in order, so the phases of the last year asked for are kept (per thread).
const MoonPhases& moonPhases(int y) {
    thread_local int cached_year = 0;
    thread_local bool filled = false;
    thread_local MoonPhases phases;
    if (!filled || cached_year != y) {
        const auto moments = computeMoonPhases(y);
        for (int i = 0; i < kMoonSteps; ++i) {
            phases.day[i] = static_cast<long>(std::floor(moments[i]));
            phases.time[i] = frac(moments[i]);
        }
        cached_year = y;
        filled = true;
    }
    return phases;
}

}  // namespace

LunarDay lunarDay(int y, int m, int d) {
    const MoonPhases& phases = moonPhases(y);
    const long D = equivalentDays(y, m, d);

    LunarDay out;
    int result = -1;
    int new_moon_step = 0;  // step of the latest new moon; starts at w = -1
    long double new_moon_time = -1;
    long full_moon_day = -1;
    long double full_moon_time = -1;
    for (int step = 0; step < kMoonSteps; ++step) {
        const long day = phases.day[step];
        if (step % 2 == 0 && D - day >= 0 && D - day <= 29) {
            result = static_cast<int>(D - day + 1);
            new_moon_step = step;
            new_moon_time = phases.time[step];
        }
        if (step == new_moon_step + 1) {
            full_moon_day = day + result - D;
            full_moon_time = phases.time[step];
        }
    }

    if (y == 1924 && inRange(m, d, 3, 5, 4, 3)) {
        result += 1;
        if (result == 31) result = 1;
    } else if (y == 2018 && inRange(m, d, 11, 7, 12, 6)) {
        result -= 1;
        if (result == 0) result = 30;
    }

    out.day = result;
    if (result == 1) {
        out.phase = 1;
        out.phase_time = new_moon_time;
    } else if (result == full_moon_day) {
        out.phase = 2;
        out.phase_time = full_moon_time;
    }
    return out;
}

int lunarMonth(int y, int m, int d) {
    if (y < kLunarFirstYear || y > kLunarLastYear) return 0;
    const int day = lunarDay(y, m, d).day;
    const long double months = (equivalentDays(y, m, d) - equivalentDays(-849, 1, 21) - day) / 29.530588L;
    // Year adjustments of the month count: only the constant one applies to supported years.
    const long double n = std::nearbyint(months) - leapCountOfYear(y) - 3;
    int v = static_cast<int>(std::nearbyint(12 * frac(n / 12) + 1));
    const int leap_before = leapMonthOfYear(y - 1);
    const int leap = leapMonthOfYear(y);
    if (leap_before == v && m == 1 && d < day) return -v;
    if (leap == v) return (m >= 3 || leap == 12) ? -v : v + 1;
    if (leap > v || (m < v && leap > 0)) ++v;
    return static_cast<int>(std::nearbyint(12 * frac((v - 1) / 12.0L) + 1));
}

LunarDate lunarDate(int y, int m, int d, CalendarSource source) {
    if (sourceForYear(source, y) == CalendarSource::Astronomical) return astronomicalLunarDate(y, m, d);
    if (y < kLunarFirstYear || y > kLunarLastYear) return {};
    LunarDate date;
    date.ok = true;
    date.day = lunarDay(y, m, d).day;
    int month = lunarMonth(y, m, d);
    if (month < 0) {
        date.leap = true;
        month = -month;
    }
    date.month = month;
    return date;
}

std::string lunarMonthName(int month, bool leap) {
    static constexpr std::array<std::string_view, 12> kNames = {"一", "二", "三", "四", "五",   "六",
                                                                "七", "八", "九", "十", "十一", "十二"};
    if (month < 1 || month > 12) return {};
    std::string name = leap ? "闰" : "";
    name += kNames[month - 1];
    name += "月";
    return name;
}

std::string lunarDayName(int day) {
    static constexpr std::array<std::string_view, 6> kTens = {"初", "十", "廿", "卅", "二", "三"};
    static constexpr std::array<std::string_view, 10> kUnits = {"",   "一", "二", "三", "四",
                                                                "五", "六", "七", "八", "九"};
    if (day < 1 || day > 30) return {};
    const int tens = day / 10;
    const int units = day % 10;
    if (units == 0) {
        if (tens == 1) return "初十";
        return std::string(kTens[tens + 2]) + "十";
    }
    return std::string(kTens[tens]) + std::string(kUnits[units]);
}

}  // namespace cal
