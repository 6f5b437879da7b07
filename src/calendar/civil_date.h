#pragma once
// Civil-calendar day arithmetic: Julian up to 1582-10-04, Gregorian from 1582-10-15,
// years counted without a year 0. Integer division truncates toward zero throughout.

namespace cal {

// 1 Julian, 2 Gregorian, 0 for the ten days 1582-10-05..14 that do not exist.
int calendarKind(int y, int m, int d);
bool isLeapYear(int y);
// 28..31 for months 1..12; 0 for any other month.
int daysInMonth(int y, int m);
// Days of the months before m plus d (day 0 is the last day of the month before).
int dayOfYear(int y, int m, int d);
// Running day number with 0001-01-01 (Julian) as day 1; the base of the day pillar.
long dayCount(int y, int m, int d);
// Day number used by the term and moon formulas; 0 for the missing days of 1582.
long equivalentDays(int y, int m, int d);

struct CivilDate {
    int year = 0;
    int month = 0;
    int day = 0;
    friend bool operator==(const CivilDate&, const CivilDate&) = default;
};

// Month and day of month of day-of-year n in year y (n = 1 is 1 January).
CivilDate dateOfDayOfYear(int y, int n);
// The civil date after / before the given one, skipping the missing days of 1582 and year 0.
CivilDate nextDay(CivilDate date);
CivilDate previousDay(CivilDate date);
// Monday 1 .. Sunday 7.
int isoWeekday(int y, int m, int d);

}  // namespace cal
