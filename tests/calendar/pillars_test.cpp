#include "calendar/pillars.h"

#include <gtest/gtest.h>

#include "calendar/ganzhi.h"

namespace {

struct DateCase {
    int y, m, d;
    const char* expected;
};

std::string at(const DateCase& c) {
    return std::to_string(c.y) + "-" + std::to_string(c.m) + "-" + std::to_string(c.d);
}

TEST(Pillars, YearOfYear) {
    EXPECT_EQ(cal::ganzhiName(cal::yearGanzhiOfYear(1984)), "甲子");
    EXPECT_EQ(cal::ganzhiName(cal::yearGanzhiOfYear(4)), "甲子");
    EXPECT_EQ(cal::ganzhiName(cal::yearGanzhiOfYear(1)), "辛酉");
    EXPECT_EQ(cal::ganzhiName(cal::yearGanzhiOfYear(-1)), "庚申");
    EXPECT_EQ(cal::ganzhiName(cal::yearGanzhiOfYear(2024)), "甲辰");
}

TEST(Pillars, YearChangesOnTheDayOfLichun) {
    for (const DateCase& c :
         {DateCase{2024, 2, 3, "癸卯"}, DateCase{2024, 2, 4, "甲辰"}, DateCase{2024, 1, 1, "癸卯"},
          DateCase{1900, 1, 1, "己亥"}, DateCase{1984, 2, 3, "癸亥"}, DateCase{1984, 2, 5, "甲子"}}) {
        EXPECT_EQ(cal::ganzhiName(cal::yearGanzhi(c.y, c.m, c.d)), c.expected) << at(c);
    }
}

TEST(Pillars, MonthChangesOnTheDayOfItsTerm) {
    for (const DateCase& c : {DateCase{2024, 2, 3, "乙丑"}, DateCase{2024, 2, 4, "丙寅"}, DateCase{2024, 1, 5, "甲子"},
                              DateCase{2024, 1, 6, "乙丑"}, DateCase{2025, 1, 5, "丁丑"}, DateCase{2024, 12, 7, "丙子"},
                              DateCase{2024, 12, 5, "乙亥"}, DateCase{2000, 1, 1, "丙子"}, DateCase{1900, 1, 1, "丙子"},
                              DateCase{2024, 8, 7, "壬申"}, DateCase{2024, 8, 6, "辛未"}}) {
        EXPECT_EQ(cal::ganzhiName(cal::monthGanzhi(c.y, c.m, c.d)), c.expected) << at(c);
    }
    EXPECT_EQ(cal::solarMonth(2024, 1, 5), (cal::SolarMonth{2023, 11}));
    EXPECT_EQ(cal::solarMonth(2024, 12, 31), (cal::SolarMonth{2024, 11}));
    EXPECT_EQ(cal::solarMonth(2024, 2, 4), (cal::SolarMonth{2024, 1}));
}

TEST(Pillars, Days) {
    for (const DateCase& c : {DateCase{2000, 1, 1, "戊午"}, DateCase{2024, 2, 4, "戊戌"}, DateCase{1582, 10, 4, "癸酉"},
                              DateCase{1582, 10, 15, "甲戌"}, DateCase{1900, 1, 1, "甲戌"},
                              DateCase{1949, 10, 1, "甲子"}, DateCase{2024, 2, 10, "甲辰"}}) {
        EXPECT_EQ(cal::ganzhiName(cal::dayGanzhi(c.y, c.m, c.d)), c.expected) << at(c);
    }
}

TEST(Pillars, HoursOfADay) {
    struct Case {
        int hour;
        const char* expected;
    };
    // 2000-01-01 is a 戊 day: its 子 hour is 壬子.
    for (const Case& c : {Case{0, "壬子"}, Case{1, "癸丑"}, Case{2, "癸丑"}, Case{12, "戊午"}, Case{22, "癸亥"},
                          Case{23, "甲子"}, Case{-1, "甲子"}, Case{24, "壬子"}}) {
        EXPECT_EQ(cal::ganzhiName(cal::hourGanzhi(2000, 1, 1, c.hour)), c.expected) << c.hour;
    }
    // The day pillar itself does not move at 23:00.
    EXPECT_EQ(cal::ganzhiName(cal::dayGanzhi(2000, 1, 1)), "戊午");
}

}  // namespace
