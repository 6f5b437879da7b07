#include "civil_date.h"

namespace cal {

int calendarKind(int y, int m, int d) {
    if (y > 1582) return 2;
    if (y < 1582) return 1;
    if (m < 10) return 1;
    if (m == 10) {
        if (d <= 4) return 1;
        if (d <= 14) return 0;
    }
    return 2;
}

bool isLeapYear(int y) {
    if (calendarKind(y, 1, 1) == 2) return y % 4 == 0 && (y % 100 != 0 || y % 400 == 0);
    if (y >= 0) return y % 4 == 0;
    return (y - 3) % 4 == 0;
}

int daysInMonth(int y, int m) {
    switch (m) {
    case 2: return isLeapYear(y) ? 29 : 28;
    case 4:
    case 6:
    case 9:
    case 11: return 30;
    case 1:
    case 3:
    case 5:
    case 7:
    case 8:
    case 10:
    case 12: return 31;
    default: return 0;
    }
}

int dayOfYear(int y, int m, int d) {
    int days = d;
    for (int i = 1; i < m && i <= 12; ++i) days += daysInMonth(y, i);
    return days;
}

long dayCount(int y, int m, int d) {
    long count = y > 0 ? (y - 1) * 365L : y * 365L;
    count += dayOfYear(y, m, d);
    if (y < 0) return count - (3L - y) / 4;
    long correction = 0;
    if (calendarKind(y, m, d) == 2) {
        correction = 10;
        if (y > 1700) correction += (y - 1701) / 100 + 1 - (y - 1601) / 400;
    }
    return count + (y - 1L) / 4 - correction;
}

long equivalentDays(int y, int m, int d) {
    const int kind = calendarKind(y, m, d);
    if (kind == 0) return 0;
    const long e = y - 1L;
    const long f = e * 365 + e / 4;
    if (kind == 2) return dayOfYear(y, m, d) + f + e / 400 - e / 100;
    return dayOfYear(y, m, d) + f - 2;
}

CivilDate dateOfDayOfYear(int y, int n) {
    int m = 1;
    while (m < 12 && n > daysInMonth(y, m)) {
        n -= daysInMonth(y, m);
        ++m;
    }
    return {y, m, n};
}

CivilDate nextDay(CivilDate date) {
    if (date.year == 1582 && date.month == 10 && date.day == 4) return {1582, 10, 15};
    if (date.day < daysInMonth(date.year, date.month)) return {date.year, date.month, date.day + 1};
    if (date.month < 12) return {date.year, date.month + 1, 1};
    return {date.year == -1 ? 1 : date.year + 1, 1, 1};
}

CivilDate previousDay(CivilDate date) {
    if (date.year == 1582 && date.month == 10 && date.day == 15) return {1582, 10, 4};
    if (date.day > 1) return {date.year, date.month, date.day - 1};
    if (date.month > 1) return {date.year, date.month - 1, daysInMonth(date.year, date.month - 1)};
    const int y = date.year == 1 ? -1 : date.year - 1;
    return {y, 12, 31};
}

int isoWeekday(int y, int m, int d) {
    // Day 1 (0001-01-01, Julian) was a Saturday.
    long r = (dayCount(y, m, d) + 4) % 7;
    if (r < 0) r += 7;
    return static_cast<int>(r) + 1;
}

}  // namespace cal
