#include "calendar/lunar.h"

#include <gtest/gtest.h>

#include "calendar/civil_date.h"

namespace {

struct LunarCase {
    int y, m, d;
    bool leap;
    int month, day;
};

void expectLunar(const LunarCase& c) {
    const cal::LunarDate got = cal::lunarDate(c.y, c.m, c.d);
    const std::string at = std::to_string(c.y) + "-" + std::to_string(c.m) + "-" + std::to_string(c.d);
    ASSERT_TRUE(got.ok) << at;
    EXPECT_EQ(got.leap, c.leap) << at;
    EXPECT_EQ(got.month, c.month) << at;
    EXPECT_EQ(got.day, c.day) << at;
}

TEST(Lunar, NewYearsAndYearEnds) {
    for (const LunarCase& c : {LunarCase{2024, 2, 10, false, 1, 1}, LunarCase{2024, 2, 9, false, 12, 30},
                               LunarCase{2024, 12, 31, false, 12, 1}, LunarCase{1900, 1, 31, false, 1, 1},
                               LunarCase{2000, 2, 5, false, 1, 1}, LunarCase{2023, 1, 22, false, 1, 1},
                               LunarCase{2049, 2, 2, false, 1, 1}, LunarCase{2024, 9, 17, false, 8, 15}}) {
        expectLunar(c);
    }
}

TEST(Lunar, LeapMonths) {
    for (const LunarCase& c :
         {LunarCase{2023, 3, 22, true, 2, 1}, LunarCase{2023, 3, 21, false, 2, 30}, LunarCase{2025, 7, 25, true, 6, 1},
          LunarCase{2020, 5, 23, true, 4, 1}, LunarCase{2017, 7, 23, true, 6, 1}, LunarCase{2012, 5, 21, true, 4, 1},
          LunarCase{2006, 8, 24, true, 7, 1}, LunarCase{2004, 3, 21, true, 2, 1}, LunarCase{2033, 12, 22, true, 11, 1},
          LunarCase{2034, 1, 20, false, 12, 1}}) {
        expectLunar(c);
    }
}

TEST(Lunar, FixedCorrectionsOf1924And2018) {
    for (const LunarCase& c : {LunarCase{1924, 3, 5, false, 2, 1}, LunarCase{1924, 4, 4, false, 3, 1},
                               LunarCase{2018, 11, 7, false, 9, 30}, LunarCase{2018, 12, 7, false, 11, 1}}) {
        expectLunar(c);
    }
}

TEST(Lunar, ThirdMonthOf2025RunsWithoutAGap) {
    // The published calendar: 三月初一 on 29 March, 三月三十 on 27 April, 四月初一 on 28 April.
    for (int d = 29; d <= 31; ++d) expectLunar({2025, 3, d, false, 3, d - 28});
    for (int d = 1; d <= 27; ++d) expectLunar({2025, 4, d, false, 3, d + 3});
    expectLunar({2025, 4, 28, false, 4, 1});
    expectLunar({2025, 5, 27, false, 5, 1});
}

TEST(Lunar, SupportedYears) {
    EXPECT_FALSE(cal::lunarDate(2101, 1, 1).ok);
    EXPECT_FALSE(cal::lunarDate(1898, 12, 31).ok);
    EXPECT_TRUE(cal::lunarDate(2100, 12, 31).ok);
    EXPECT_TRUE(cal::lunarDate(1899, 1, 1).ok);
    EXPECT_EQ(cal::leapMonthOfYear(1900), 8);
    EXPECT_EQ(cal::leapMonthOfYear(2020), 4);
    EXPECT_EQ(cal::leapMonthOfYear(2023), 2);
    EXPECT_EQ(cal::leapMonthOfYear(2025), 6);
    EXPECT_EQ(cal::leapMonthOfYear(2033), 11);
    EXPECT_EQ(cal::leapCountOfYear(1899), 1010);
    EXPECT_EQ(cal::leapCountOfYear(1900), 1011);
    EXPECT_EQ(cal::leapCountOfYear(2100), 1084);
}

TEST(Lunar, EveryDayIsOneAfterTheDayBeforeOrANewMonth) {
    // Across 1900..2049 a lunar day either follows the day before or starts a month that
    // follows the month before (a leap month repeats its number), after a 29- or 30-day month.
    cal::LunarDate prev = cal::lunarDate(1899, 12, 31);
    for (cal::CivilDate date{1900, 1, 1}; date.year < 2050; date = cal::nextDay(date)) {
        const cal::LunarDate cur = cal::lunarDate(date.year, date.month, date.day);
        const std::string at =
            std::to_string(date.year) + "-" + std::to_string(date.month) + "-" + std::to_string(date.day);
        if (cur.day == prev.day + 1) {
            ASSERT_EQ(cur.month, prev.month) << at;
            ASSERT_EQ(cur.leap, prev.leap) << at;
        } else {
            ASSERT_EQ(cur.day, 1) << at;
            ASSERT_GE(prev.day, 29) << at;
            ASSERT_EQ(cur.month, cur.leap ? prev.month : prev.month % 12 + 1) << at;
        }
        prev = cur;
    }
}

TEST(Lunar, Names) {
    struct DayCase {
        int day;
        const char* name;
    };
    for (const DayCase& c : {DayCase{1, "初一"}, DayCase{9, "初九"}, DayCase{10, "初十"}, DayCase{11, "十一"},
                             DayCase{19, "十九"}, DayCase{20, "二十"}, DayCase{21, "廿一"}, DayCase{29, "廿九"},
                             DayCase{30, "三十"}, DayCase{0, ""}, DayCase{31, ""}}) {
        EXPECT_EQ(cal::lunarDayName(c.day), c.name) << c.day;
    }
    EXPECT_EQ(cal::lunarMonthName(1, false), "一月");
    EXPECT_EQ(cal::lunarMonthName(4, true), "闰四月");
    EXPECT_EQ(cal::lunarMonthName(11, false), "十一月");
    EXPECT_EQ(cal::lunarMonthName(12, false), "十二月");
    EXPECT_EQ(cal::lunarMonthName(13, false), "");
    EXPECT_EQ(cal::lunarMonthName(0, true), "");
}

}  // namespace
