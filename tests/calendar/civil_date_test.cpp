#include "calendar/civil_date.h"

#include <gtest/gtest.h>

namespace {

TEST(CivilDate, CalendarKindAroundTheReform) {
    struct Case {
        int y, m, d, kind;
    };
    for (const Case& c : {Case{1581, 12, 31, 1}, Case{1582, 9, 30, 1}, Case{1582, 10, 4, 1}, Case{1582, 10, 5, 0},
                          Case{1582, 10, 14, 0}, Case{1582, 10, 15, 2}, Case{1582, 11, 1, 2}, Case{1583, 1, 1, 2},
                          Case{-500, 3, 1, 1}}) {
        EXPECT_EQ(cal::calendarKind(c.y, c.m, c.d), c.kind) << c.y << "-" << c.m << "-" << c.d;
    }
}

TEST(CivilDate, LeapYears) {
    struct Case {
        int y;
        bool leap;
    };
    for (const Case& c :
         {Case{2000, true}, Case{1900, false}, Case{2024, true}, Case{2023, false}, Case{1500, true} /* Julian */,
          Case{1700, false}, Case{1600, true}, Case{-1, true}, Case{-5, true}, Case{-2, false}, Case{4, true}}) {
        EXPECT_EQ(cal::isLeapYear(c.y), c.leap) << c.y;
    }
}

TEST(CivilDate, MonthLengthsAndDayOfYear) {
    EXPECT_EQ(cal::daysInMonth(2024, 2), 29);
    EXPECT_EQ(cal::daysInMonth(1900, 2), 28);
    EXPECT_EQ(cal::daysInMonth(2023, 4), 30);
    EXPECT_EQ(cal::daysInMonth(2023, 0), 0);
    EXPECT_EQ(cal::daysInMonth(2023, 13), 0);
    EXPECT_EQ(cal::dayOfYear(2023, 3, 1), 60);
    EXPECT_EQ(cal::dayOfYear(2024, 3, 1), 61);
    EXPECT_EQ(cal::dayOfYear(2024, 12, 31), 366);
    EXPECT_EQ(cal::dayOfYear(2024, 1, 0), 0);
}

TEST(CivilDate, DayCountHasNoYearZeroAndSkipsTheReformGap) {
    EXPECT_EQ(cal::dayCount(1, 1, 1), 1);
    EXPECT_EQ(cal::dayCount(-1, 12, 31), 0);   // the day before 0001-01-01
    EXPECT_EQ(cal::dayCount(-1, 1, 1), -365);  // year -1 is a leap year of 366 days
    EXPECT_EQ(cal::dayCount(1582, 10, 15) - cal::dayCount(1582, 10, 4), 1);
    // 1900-01-01 .. 2000-01-01: a hundred years with 24 leap days.
    EXPECT_EQ(cal::dayCount(2000, 1, 1) - cal::dayCount(1900, 1, 1), 36524);
}

TEST(CivilDate, EquivalentDays) {
    EXPECT_EQ(cal::equivalentDays(1582, 10, 10), 0);
    // The same instant under both forms lines up across the reform.
    EXPECT_EQ(cal::equivalentDays(1582, 10, 15) - cal::equivalentDays(1582, 10, 4), 1);
    EXPECT_EQ(cal::equivalentDays(2000, 1, 2) - cal::equivalentDays(2000, 1, 1), 1);
    EXPECT_EQ(cal::equivalentDays(2001, 1, 1) - cal::equivalentDays(2000, 1, 1), 366);
}

TEST(CivilDate, StepsAndWeekdays) {
    EXPECT_EQ(cal::nextDay({1582, 10, 4}), (cal::CivilDate{1582, 10, 15}));
    EXPECT_EQ(cal::previousDay({1582, 10, 15}), (cal::CivilDate{1582, 10, 4}));
    EXPECT_EQ(cal::nextDay({2024, 2, 28}), (cal::CivilDate{2024, 2, 29}));
    EXPECT_EQ(cal::nextDay({2023, 12, 31}), (cal::CivilDate{2024, 1, 1}));
    EXPECT_EQ(cal::nextDay({-1, 12, 31}), (cal::CivilDate{1, 1, 1}));
    EXPECT_EQ(cal::previousDay({2024, 3, 1}), (cal::CivilDate{2024, 2, 29}));
    EXPECT_EQ(cal::dateOfDayOfYear(2024, 60), (cal::CivilDate{2024, 2, 29}));
    EXPECT_EQ(cal::dateOfDayOfYear(2023, 31), (cal::CivilDate{2023, 1, 31}));
    struct Case {
        int y, m, d, weekday;
    };
    for (const Case& c :
         {Case{2000, 1, 1, 6}, Case{2024, 2, 4, 7}, Case{1949, 10, 1, 6}, Case{1900, 1, 1, 1}, Case{2026, 12, 8, 2}}) {
        EXPECT_EQ(cal::isoWeekday(c.y, c.m, c.d), c.weekday) << c.y << "-" << c.m << "-" << c.d;
    }
}

}  // namespace
