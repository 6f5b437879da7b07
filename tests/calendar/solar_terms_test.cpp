#include "calendar/solar_terms.h"

#include <gtest/gtest.h>

namespace {

TEST(SolarTerms, NamesAndNumberings) {
    EXPECT_EQ(cal::termName(0), "立春");
    EXPECT_EQ(cal::termName(21), "冬至");
    EXPECT_EQ(cal::termName(23), "大寒");
    EXPECT_EQ(cal::termName(24), "");
    EXPECT_EQ(cal::termName(-1), "");
    struct Case {
        int in_year, name;
    };
    for (const Case& c : {Case{0, 22}, Case{1, 23}, Case{2, 0}, Case{23, 21}, Case{14, 12}}) {
        EXPECT_EQ(cal::termNameIndexOf(c.in_year), c.name);
        EXPECT_EQ(cal::termInYearIndexOf(c.name), c.in_year);
    }
}

TEST(SolarTerms, TermDayOf2024) {
    // 立春 2024: 4 February, 16:25.
    EXPECT_NEAR(static_cast<double>(cal::termDay(2024, 3)), 35.684, 0.001);
    // N = 0 is the previous December, N = 25 the next January.
    EXPECT_LT(cal::termDay(2024, 0), 0);
    EXPECT_GT(cal::termDay(2024, 25), 366);
}

TEST(SolarTerms, MomentsFallOnThePublishedDays) {
    struct Case {
        int y, j, month, day;
    };
    for (const Case& c :
         {Case{2024, 0, 1, 6}, Case{2025, 0, 1, 5}, Case{2024, 2, 2, 4}, Case{2024, 6, 4, 4}, Case{2024, 11, 6, 21},
          Case{2024, 22, 12, 6}, Case{2024, 23, 12, 21}, Case{2023, 23, 12, 22}, Case{1900, 2, 2, 4}}) {
        const cal::TermMoment t = cal::termMoment(c.y, c.j);
        ASSERT_TRUE(t.ok);
        EXPECT_EQ(t.month, c.month) << c.y << " term " << c.j;
        EXPECT_EQ(t.day, c.day) << c.y << " term " << c.j;
    }
}

TEST(SolarTerms, MinuteSixtyIsKept) {
    // 立秋 2024 comes out at 7 August, hour 7, minute 60.
    const cal::TermMoment t = cal::termMoment(2024, 14);
    EXPECT_TRUE(t.ok);
    EXPECT_EQ(t.month, 8);
    EXPECT_EQ(t.day, 7);
    EXPECT_EQ(t.hour, 7);
    EXPECT_EQ(t.minute, 60);
    EXPECT_EQ(cal::termTextOfDate(2024, 8, 7), "立秋7:60");
}

TEST(SolarTerms, OutOfRangeMomentIsZero) {
    for (int j : {-1, 24}) {
        const cal::TermMoment t = cal::termMoment(2024, j);
        EXPECT_FALSE(t.ok);
        EXPECT_EQ(t.month + t.day + t.hour + t.minute, 0);
    }
}

TEST(SolarTerms, TermOnDate) {
    EXPECT_EQ(cal::termTextOfDate(2024, 2, 4), "立春16:25");
    EXPECT_EQ(cal::termTextOfDate(2024, 2, 5), "");
    EXPECT_EQ(cal::termOnDate(2024, 2, 4), 0);
    EXPECT_EQ(cal::termOnDate(2024, 12, 21), 21);
    EXPECT_EQ(cal::termOnDate(2024, 1, 6), 22);
    EXPECT_EQ(cal::termOnDate(2024, 1, 7), -1);
    // Exactly one term day per half month, 24 in the year.
    int count = 0;
    for (int m = 1; m <= 12; ++m)
        for (int d = 1; d <= 31; ++d) count += cal::termOnDate(2024, m, d) >= 0;
    EXPECT_EQ(count, 24);
}

}  // namespace
