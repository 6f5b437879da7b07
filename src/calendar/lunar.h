#pragma once
// The Chinese lunar date of a civil day and the names of lunar months and days.
// Supported civil years: 1899..2100 (the span of the leap-month table kept here) for the
// formulas; the astronomical source serves its own years and falls back to the formulas outside.
#include <string>

#include "calendar/calendar_source.h"

namespace cal {

inline constexpr int kLunarFirstYear = 1899;
inline constexpr int kLunarLastYear = 2100;

struct LunarDay {
    int day = -1;                 // 1..30, counted from the latest new moon on or before the date
    int phase = 0;                // 1 new moon, 2 full moon on that date, else 0
    long double phase_time = -1;  // time of day of that phase (UTC+8), else -1
};
LunarDay lunarDay(int y, int m, int d);

// Lunar month number, negative for a leap month; 0 outside the supported years.
int lunarMonth(int y, int m, int d);

struct LunarDate {
    bool ok = false;
    bool leap = false;
    int month = 0;  // 1..12
    int day = 0;    // 1..30
};
LunarDate lunarDate(int y, int m, int d, CalendarSource source = CalendarSource::Formula);

// Leap month of the lunar year begun in civil year y (0 none), -1 outside the table.
int leapMonthOfYear(int y);
// Count of leap years up to and including y, as the month count needs it; -1 outside the table.
int leapCountOfYear(int y);

// "一月" .. "十二月", with "闰" in front for a leap month; empty outside 1..12.
std::string lunarMonthName(int month, bool leap);
// "初一" .. "三十"; empty outside 1..30.
std::string lunarDayName(int day);

}  // namespace cal
