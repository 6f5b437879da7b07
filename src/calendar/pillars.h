#pragma once
// The stems-branches (干支) of a year, month, day and two-hour period, as cycle indices.
// The year and month pillars follow the solar terms of the calendar source given.
#include "calendar/calendar_source.h"

namespace cal {

// Year counted from 1 January; 1984 and 4 are 甲子.
int yearGanzhiOfYear(int y);
// Year pillar of a date; the whole day of 立春 already belongs to the new year.
int yearGanzhi(int y, int m, int d, CalendarSource source = CalendarSource::Formula);

struct SolarMonth {
    int year = 0;   // the solar year the month belongs to
    int month = 0;  // 1 (寅, from 立春) .. 12 (丑, from 小寒)
    friend bool operator==(const SolarMonth&, const SolarMonth&) = default;
};
// Solar month of a date; the month changes on the day of its term, at 00:00.
SolarMonth solarMonth(int y, int m, int d, CalendarSource source = CalendarSource::Formula);
int monthGanzhi(int y, int m, int d, CalendarSource source = CalendarSource::Formula);
int dayGanzhi(int y, int m, int d);
// Hour pillar; the 子 period from 23:00 takes the next day's stem.
int hourGanzhi(int y, int m, int d, int hour);

}  // namespace cal
