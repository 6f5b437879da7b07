#pragma once
// The 24 solar terms: the term-day formula and the moments and names derived from it.
#include <string>
#include <string_view>

#include "calendar/calendar_source.h"

namespace cal {

// Name index 0..23 (0 立春 .. 23 大寒) to name; empty outside the range.
std::string_view termName(int name_index);
// In-year index j (0 小寒 .. 23 冬至) and name index, both ways.
int termNameIndexOf(int in_year_index);
int termInYearIndexOf(int name_index);

// Day of year (with the time of day as fraction) of term number n of civil year y,
// n = 0 being 冬至 of the year before and 25 小寒 of the year after. Every operation below takes
// the calendar source last; years the ephemeris does not serve use the formulas.
long double termDay(int y, int n, CalendarSource source = CalendarSource::Formula);
// The whole day of year of that term (floor of termDay): the day on which it falls.
long termDayNumber(int y, int n, CalendarSource source = CalendarSource::Formula);

struct TermMoment {
    bool ok = false;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;         // may be 60: the moment then belongs to the start of the next hour
    int secondOfDay = 0;    // the moment to the second, 0..86399
};
TermMoment termMoment(int y, int in_year_index, CalendarSource source = CalendarSource::Formula);

// Name index of the term falling on the date, or -1.
int termOnDate(int y, int m, int d, CalendarSource source = CalendarSource::Formula);
// "立春16:25" for a date carrying a term; empty otherwise.
std::string termTextOfDate(int y, int m, int d, CalendarSource source = CalendarSource::Formula);

}  // namespace cal
