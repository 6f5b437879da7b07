#include "solar_terms.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "astronomical_calendar.h"
#include "civil_date.h"

namespace cal {
namespace {

constexpr std::array<std::string_view, 24> kTermNames = {
    "立春", "雨水", "惊蛰", "春分", "清明", "谷雨", "立夏", "小满", "芒种", "夏至", "小暑", "大暑",
    "立秋", "处暑", "白露", "秋分", "寒露", "霜降", "立冬", "小雪", "大雪", "冬至", "小寒", "大寒"};

}  // namespace

std::string_view termName(int name_index) {
    return name_index >= 0 && name_index < 24 ? kTermNames[name_index] : std::string_view{};
}

int termNameIndexOf(int in_year_index) {
    const int i = in_year_index - 2;
    return i < 0 ? i + 24 : i;
}

int termInYearIndexOf(int name_index) {
    if (name_index == 22) return 0;
    if (name_index == 23) return 1;
    return name_index + 2;
}

namespace {

long double computeTermDay(int y, int n) {
    const long double Y = y;
    const long double N = n;
    const long double c = Y - 100;
    const long double jud = Y * (365.2423112L - 6.4e-14L * c * c - 3.047e-8L * c) + 15.218427L * N + 1721050.71301L;
    const long double tht = 3e-4L * Y - 0.372781384L - 0.2617913325L * N;
    const long double yrd = (1.945L * std::sin(tht) - 0.01206L * std::sin(2 * tht)) * (1.048994L - 2.583e-5L * Y);
    const long double shuod = -0.0018L * std::sin(2.313908653L * Y - 0.439822951L - 3.0443L * N);
    return jud + yrd + shuod - equivalentDays(y, 1, 0) - 1721425;
}

// The pillars of one date ask for up to 13 terms of the same year, and callers walk dates in
// order, so the terms of the last year asked for are kept (per thread; the values are the same).
struct YearTerms {
    int year = 0;
    bool filled = false;
    std::array<long double, 26> days{};
    std::array<long, 26> whole_days{};
};

const YearTerms& yearTerms(int y) {
    thread_local YearTerms cache;
    if (!cache.filled || cache.year != y) {
        for (int i = 0; i < 26; ++i) {
            cache.days[i] = computeTermDay(y, i);
            cache.whole_days[i] = static_cast<long>(std::floor(cache.days[i]));
        }
        cache.year = y;
        cache.filled = true;
    }
    return cache;
}

bool astronomical(CalendarSource source, int y, int n) {
    return n >= 0 && n <= 25 && sourceForYear(source, y) == CalendarSource::Astronomical;
}

}  // namespace

long double termDay(int y, int n, CalendarSource source) {
    if (astronomical(source, y, n)) return astronomicalTermDay(y, n);
    if (y <= 0) ++y;
    if (n < 0 || n > 25) return computeTermDay(y, n);
    return yearTerms(y).days[n];
}

long termDayNumber(int y, int n, CalendarSource source) {
    if (astronomical(source, y, n)) return static_cast<long>(std::floor(astronomicalTermDay(y, n)));
    if (y <= 0) ++y;
    if (n < 0 || n > 25) return static_cast<long>(std::floor(computeTermDay(y, n)));
    return yearTerms(y).whole_days[n];
}

TermMoment termMoment(int y, int in_year_index, CalendarSource source) {
    if (in_year_index < 0 || in_year_index > 23) return {};
    const long double t = termDay(y, in_year_index + 1, source);
    const long double whole = std::floor(t);
    const CivilDate date = dateOfDayOfYear(y, static_cast<int>(whole));
    const long double hours = 24 * (t - whole);
    const long double hour = std::floor(hours);
    const long double minute = std::nearbyint((hours - hour) * 60);  // ties to even
    const long second = std::lround((t - whole) * 86400);
    return {true,
            date.month,
            date.day,
            static_cast<int>(hour),
            static_cast<int>(minute),
            static_cast<int>(std::min(second, 86399L))};
}

int termOnDate(int y, int m, int d, CalendarSource source) {
    const int j = 2 * (m - 1) + (d >= 15 ? 1 : 0);
    const TermMoment moment = termMoment(y, j, source);
    if (!moment.ok || moment.month != m || moment.day != d) return -1;
    return termNameIndexOf(j);
}

std::string termTextOfDate(int y, int m, int d, CalendarSource source) {
    const int i = termOnDate(y, m, d, source);
    if (i < 0) return {};
    const TermMoment moment = termMoment(y, termInYearIndexOf(i), source);
    std::string text(termName(i));
    text += std::to_string(moment.hour);
    text += ':';
    text += std::to_string(moment.minute);
    return text;
}

}  // namespace cal
