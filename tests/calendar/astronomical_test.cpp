// The astronomical calendar source against published almanac values. Term moments are the
// Hong Kong Observatory's tables of the 24 solar terms (Beijing time, to the minute); equinoxes
// and solstices agree with the U.S. Naval Observatory's "Earth's Seasons" (UTC, plus 8 hours).
// New moons are the U.S. Naval Observatory's "Phases of the Moon" (UTC, plus 8 hours). Lunar
// dates and leap months are the Hong Kong Observatory's Gregorian-lunar conversion tables.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>

#include "calendar/astronomical_calendar.h"
#include "calendar/calendar_source.h"
#include "calendar/civil_date.h"
#include "calendar/delta_t.h"
#include "calendar/ephemeris.h"
#include "calendar/ganzhi.h"
#include "calendar/lunar.h"
#include "calendar/pillars.h"
#include "calendar/solar_terms.h"

namespace {

constexpr auto kAstro = cal::CalendarSource::Astronomical;
constexpr auto kFormula = cal::CalendarSource::Formula;

struct Moment {
    int y, m, d, hour, minute;
    std::string text() const {
        char buf[32];
        std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d", y, m, d, hour, minute);
        return buf;
    }
};

TEST(AstronomicalTerms, MomentsAreThePublishedOnesToTheMinute) {
    struct Case {
        int in_year_index;
        Moment published;
    };
    const Case cases[] = {
        {2, {2024, 2, 4, 16, 27}},     // 立春 2024
        {23, {2025, 12, 21, 23, 3}},   // 冬至 2025
        {5, {2024, 3, 20, 11, 6}},     // 春分 2024 (03:06 UTC)
        {11, {2024, 6, 21, 4, 51}},    // 夏至 2024 (20 June 20:51 UTC)
        {17, {2024, 9, 22, 20, 44}},   // 秋分 2024 (12:44 UTC)
        {23, {2024, 12, 21, 17, 21}},  // 冬至 2024 (09:21 UTC)
        {23, {2023, 12, 22, 11, 27}},  // 冬至 2023 (03:27 UTC)
        {2, {2025, 2, 3, 22, 10}},     // 立春 2025
        {11, {2025, 6, 21, 10, 42}},   // 夏至 2025 (02:42 UTC)
        {17, {2025, 9, 23, 2, 19}},    // 秋分 2025 (22 September 18:19 UTC)
        {5, {2000, 3, 20, 15, 35}},    // 春分 2000 (07:35 UTC)
        {12, {2016, 7, 7, 0, 3}},      // 小暑 2016, which the formulas put on 6 July
    };
    for (const Case& c : cases) {
        const Moment& p = c.published;
        const cal::TermMoment got = cal::termMoment(p.y, c.in_year_index, kAstro);
        ASSERT_TRUE(got.ok);
        const Moment moment{p.y, got.month, got.day, got.hour, got.minute};
        EXPECT_EQ(moment.text(), p.text()) << cal::termName(cal::termNameIndexOf(c.in_year_index));
        // The second-exact moment lies within the published minute's rounding.
        const int published_second = (p.hour * 60 + p.minute) * 60;
        EXPECT_LE(std::abs(got.secondOfDay - published_second), 31) << p.text();
    }
}

TEST(AstronomicalTerms, TermDaysTheFormulasMisplace) {
    struct Case {
        int y, m, d;
        int name_index;  // of the term on that day, -1 none
    };
    // 小暑 2016 at 00:03 on 7 July; 大雪 2020 at 00:10 on 7 December (the formulas: the evening before).
    for (const Case& c : {Case{2016, 7, 7, 10}, Case{2016, 7, 6, -1}, Case{2020, 12, 7, 20}, Case{2020, 12, 6, -1}}) {
        EXPECT_EQ(cal::termOnDate(c.y, c.m, c.d, kAstro), c.name_index) << c.y << "-" << c.m << "-" << c.d;
    }
    EXPECT_EQ(cal::termOnDate(2016, 7, 6, kFormula), 10);
    // So the month pillar of 6 July 2016 is still 甲午 (the 午 month), not 乙未.
    EXPECT_EQ(cal::monthGanzhi(2016, 7, 6, kAstro), cal::ganzhiIndex("甲午"));
    EXPECT_EQ(cal::monthGanzhi(2016, 7, 7, kAstro), cal::ganzhiIndex("乙未"));
    EXPECT_EQ(cal::termTextOfDate(2024, 2, 4, kAstro), "立春16:27");
}

TEST(AstronomicalTerms, EveryYearHasItsTwentyFourTermsInOrder) {
    for (int y = cal::kAstronomicalFirstYear; y <= cal::kAstronomicalLastYear; ++y) {
        long double previous = cal::termDay(y, 0, kAstro);
        for (int n = 1; n <= 25; ++n) {
            const long double t = cal::termDay(y, n, kAstro);
            // 14.7..15.8 days apart, and within an hour of the formulas.
            ASSERT_GT(t - previous, 14.6L) << y << " term " << n;
            ASSERT_LT(t - previous, 15.8L) << y << " term " << n;
            ASSERT_LT(std::fabs(double(t - cal::termDay(y, n, kFormula))), 1.0 / 24) << y << " term " << n;
            previous = t;
        }
    }
}

TEST(AstronomicalMoon, NewMoonsAreThePublishedOnesWithinAMinute) {
    const Moment published[] = {
        {2024, 4, 9, 2, 21},    // 8 April 18:21 UTC, the total eclipse
        {2017, 8, 22, 2, 30},   // 21 August 18:30 UTC, the total eclipse
        {2024, 1, 11, 19, 57},  // 11:57 UTC
        {2024, 2, 10, 6, 59},   // 9 February 22:59 UTC: 春节 2024
        {2023, 1, 22, 4, 53},   // 21 January 20:53 UTC: 春节 2023
        {2025, 1, 29, 20, 36},  // 12:36 UTC: 春节 2025
    };
    for (const Moment& p : published) {
        const double expected = cal::localDayNumber(p.y, p.m, p.d, p.hour, p.minute);
        const double got = cal::newMoonMoment(expected + 0.3);
        EXPECT_LE(std::fabs(got - expected) * 1440, 1.0) << p.text();
    }
}

TEST(AstronomicalLunar, LeapMonthsOf1900To2100AreThePublishedOnes) {
    // One hexadecimal digit a year from 1900: the month the leap month follows, 0 none.
    const std::string published =
        "800500400206005002070050040020600500307006004002070050030800600400307005004080060040a006005003080050"
        "040020700500409006004002060050030b0060050020700500308006004003070050040800600400307005004080060040020";
    for (int y = 1900; y <= 2100; ++y) {
        const int expected = std::stoi(published.substr(std::size_t(y - 1900), 1), nullptr, 16);
        EXPECT_EQ(cal::astronomicalLeapMonth(y), expected) << y;
    }
}

struct LunarCase {
    int y, m, d;
    bool leap;
    int month, day;
};

void expectLunar(const LunarCase& c) {
    const cal::LunarDate got = cal::lunarDate(c.y, c.m, c.d, kAstro);
    const std::string at = std::to_string(c.y) + "-" + std::to_string(c.m) + "-" + std::to_string(c.d);
    ASSERT_TRUE(got.ok) << at;
    EXPECT_EQ(got.leap, c.leap) << at;
    EXPECT_EQ(got.month, c.month) << at;
    EXPECT_EQ(got.day, c.day) << at;
}

TEST(AstronomicalLunar, NewYearsAndTheDaysBefore) {
    struct NewYear {
        int y, m, d;
        int last_day_before;  // 29 or 30: the length of the twelfth month (0: before the tables)
    };
    for (const NewYear& n :
         {NewYear{1900, 1, 31, 0}, NewYear{1912, 2, 18, 30}, NewYear{1929, 2, 10, 30}, NewYear{1950, 2, 17, 30},
          NewYear{1978, 2, 7, 29}, NewYear{1985, 2, 20, 30}, NewYear{2000, 2, 5, 29}, NewYear{2020, 1, 25, 30},
          NewYear{2021, 2, 12, 30}, NewYear{2023, 1, 22, 30}, NewYear{2024, 2, 10, 30}, NewYear{2025, 1, 29, 29},
          NewYear{2026, 2, 17, 29}, NewYear{2028, 1, 26, 29}, NewYear{2033, 1, 31, 30}, NewYear{2050, 1, 23, 29},
          NewYear{2061, 1, 21, 29}, NewYear{2099, 1, 21, 30}}) {
        expectLunar({n.y, n.m, n.d, false, 1, 1});
        if (n.last_day_before == 0) continue;
        const cal::CivilDate before = cal::previousDay({n.y, n.m, n.d});
        expectLunar({before.year, before.month, before.day, false, 12, n.last_day_before});
    }
}

TEST(AstronomicalLunar, LeapMonthsStartOnTheirNewMoons) {
    for (const LunarCase& c :
         {LunarCase{2025, 7, 25, true, 6, 1}, LunarCase{2025, 7, 24, false, 6, 30}, LunarCase{2025, 8, 23, false, 7, 1},
          LunarCase{2033, 12, 22, true, 11, 1}, LunarCase{2033, 12, 21, false, 11, 30},
          LunarCase{2034, 1, 20, false, 12, 1}, LunarCase{2023, 3, 22, true, 2, 1}, LunarCase{2020, 5, 23, true, 4, 1},
          LunarCase{2017, 7, 23, true, 6, 1}, LunarCase{1984, 11, 23, true, 10, 1}, LunarCase{1900, 9, 24, true, 8, 1},
          LunarCase{2052, 9, 23, true, 8, 1}}) {
        expectLunar(c);
    }
}

TEST(AstronomicalLunar, RepublicanYearsCountDaysByBeijingMeanTime) {
    // New moons a few minutes after midnight UTC+8 fell before midnight at Beijing's meridian.
    for (const LunarCase& c : {LunarCase{1914, 11, 17, false, 10, 1}, LunarCase{1916, 2, 3, false, 1, 1},
                               LunarCase{1920, 11, 10, false, 10, 1}}) {
        expectLunar(c);
    }
}

TEST(AstronomicalLunar, MonthsHaveTwentyNineOrThirtyDays) {
    int day = 0;
    int run = 0;
    for (cal::CivilDate d{1900, 1, 1}; d.year <= 2100; d = cal::nextDay(d)) {
        const cal::LunarDate l = cal::lunarDate(d.year, d.month, d.day, kAstro);
        ASSERT_TRUE(l.ok);
        if (l.day == 1) {
            if (day != 0) {
                ASSERT_TRUE(run == 29 || run == 30) << d.year << "-" << d.month << "-" << d.day;
            }
            run = 0;
        } else if (day != 0) {
            ASSERT_EQ(l.day, day + 1) << d.year << "-" << d.month << "-" << d.day;
        }
        day = l.day;
        ++run;
    }
}

TEST(CalendarSource, YearsOutsideTheEphemerisFallBackToTheFormulas) {
    EXPECT_EQ(cal::sourceForYear(kAstro, 1899), kFormula);
    EXPECT_EQ(cal::sourceForYear(kAstro, 2101), kFormula);
    EXPECT_EQ(cal::sourceForYear(kAstro, 1900), kAstro);
    EXPECT_EQ(cal::sourceForYear(kFormula, 2000), kFormula);
    EXPECT_EQ(cal::fallbackMessage(kAstro, 2000), "");
    EXPECT_EQ(cal::fallbackMessage(kFormula, 1850), "");
    EXPECT_EQ(cal::fallbackMessage(kAstro, 1850), "天文节气只算1900至2100年，1850年按公式计算。");
    EXPECT_EQ(cal::termDay(1850, 3, kAstro), cal::termDay(1850, 3, kFormula));
    const cal::LunarDate formula = cal::lunarDate(1899, 6, 1, kFormula);
    const cal::LunarDate astro = cal::lunarDate(1899, 6, 1, kAstro);
    EXPECT_TRUE(astro.ok);
    EXPECT_EQ(astro.month, formula.month);
    EXPECT_EQ(astro.day, formula.day);
    EXPECT_EQ(cal::astronomicalLeapMonth(2101), -1);
}

TEST(CalendarSource, NamesBothWays) {
    EXPECT_EQ(cal::parseCalendarSource("formula"), kFormula);
    EXPECT_EQ(cal::parseCalendarSource("astronomical"), kAstro);
    EXPECT_EQ(cal::parseCalendarSource("Astronomical"), std::nullopt);
    EXPECT_EQ(cal::parseCalendarSource(""), std::nullopt);
    EXPECT_EQ(cal::calendarSourceName(kAstro), "astronomical");
}

TEST(DeltaT, FollowsTheObservedValues) {
    // ΔT on 1 January, from the IERS and the Astronomical Almanac's historical table.
    struct Case {
        double year, seconds;
    };
    for (const Case& c : {Case{1900, -2.72}, Case{1920, 21.16}, Case{1950, 29.15}, Case{1975, 45.48}, Case{2000, 63.83},
                          Case{2010, 66.07}, Case{2020, 69.36}}) {
        EXPECT_NEAR(cal::deltaTSeconds(c.year), c.seconds, 1.0) << c.year;
    }
    // After the observations it grows, slowly at first.
    EXPECT_GT(cal::deltaTSeconds(2100), cal::deltaTSeconds(2050));
    EXPECT_LT(cal::deltaTSeconds(2030) - cal::deltaTSeconds(2025), 2.0);
}

}  // namespace
