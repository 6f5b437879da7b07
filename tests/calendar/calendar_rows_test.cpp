#include "calendar/calendar_rows.h"

#include <gtest/gtest.h>

namespace {

TEST(CalendarRows, YearsOfTheList) {
    EXPECT_EQ(cal::yearRowText(1900), "1900年 庚子");
    EXPECT_EQ(cal::yearRowText(1984), "1984年 甲子");
    EXPECT_EQ(cal::yearRowText(2049), "2049年 己巳");
}

TEST(CalendarRows, MonthRowChangesAtLichun) {
    EXPECT_EQ(cal::monthRowText(2024, 2), "2月 乙丑月-丙寅月");
    EXPECT_EQ(cal::monthRowText(2024, 1), "1月 甲子月-乙丑月");  // 小寒 on the 6th
}

TEST(CalendarRows, DayRows) {
    EXPECT_EQ(cal::dayRowText(2024, 2, 4), "4号 丙寅月 戊戌日 星期日 十二月廿五 立春16:25");
    EXPECT_EQ(cal::dayRowText(2024, 2, 10), "10号 丙寅月 甲辰日 星期六 一月初一 ");
    EXPECT_EQ(cal::dayRowText(2023, 3, 22), "22号 乙卯月 己卯日 星期三 (闰)二月初一 ");
    EXPECT_EQ(cal::lunarDateText(2020, 5, 23), "(闰)四月初一");
    EXPECT_EQ(cal::lunarDateText(2101, 1, 1), "");
}

TEST(CalendarRows, AstronomicalSource) {
    // Hong Kong Observatory: 小暑 2016 at 00:03 on 7 July; 六月初一 on 4 July.
    const cal::CalendarSource astro = cal::CalendarSource::Astronomical;
    const std::string before = cal::dayRowText(2016, 7, 6, astro);
    EXPECT_EQ(before.substr(0, 15), "6号 甲午月 ");
    EXPECT_NE(before.find(" 星期三 六月初三 "), std::string::npos) << before;
    EXPECT_EQ(before.back(), ' ');  // no term that day
    const std::string day = cal::dayRowText(2016, 7, 7, astro);
    EXPECT_EQ(day.substr(day.size() - 10), " 小暑0:3");
    EXPECT_EQ(cal::lunarDateText(2025, 7, 25, astro), "(闰)六月初一");
}

TEST(CalendarRows, Weekdays) {
    struct Case {
        int y, m, d;
        const char* name;
    };
    for (const Case& c : {Case{2024, 2, 4, "星期日"}, Case{2024, 2, 5, "星期一"}, Case{2000, 1, 1, "星期六"},
                          Case{1900, 1, 1, "星期一"}, Case{2026, 12, 8, "星期二"}}) {
        EXPECT_EQ(cal::weekdayName(c.y, c.m, c.d), c.name);
    }
}

}  // namespace
