#include "cli/calendar_command.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

struct CliResult {
    int status;
    std::string out;
    std::string err;
};

CliResult call(std::vector<std::string> args) {
    std::ostringstream out, err;
    const int status = cli::runCalendar(args, out, err);
    return {status, out.str(), err.str()};
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> result;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) result.push_back(line);
    return result;
}

TEST(CalendarCommand, DaysTableHasOneRowPerDay) {
    const CliResult r = call({"days", "2024", "2024"});
    ASSERT_EQ(r.status, 0) << r.err;
    const auto rows = lines(r.out);
    ASSERT_EQ(rows.size(), 1u + 366u);
    EXPECT_EQ(rows[0], "date\tyear_gz\tmonth_gz\tday_gz\tlunar_month\tlunar_day");
    EXPECT_EQ(rows[1], "2024-01-01\t癸卯\t甲子\t甲子\t11\t20");
    EXPECT_EQ(rows[35], "2024-02-04\t甲辰\t丙寅\t戊戌\t12\t25");
    EXPECT_EQ(rows[41], "2024-02-10\t甲辰\t丙寅\t甲辰\t1\t1");
}

TEST(CalendarCommand, LeapMonthIsNegative) {
    const CliResult r = call({"days", "2023", "2023"});
    ASSERT_EQ(r.status, 0);
    EXPECT_NE(r.out.find("2023-03-22\t癸卯\t乙卯\t"), std::string::npos);
    EXPECT_NE(r.out.find("\t-2\t1\n"), std::string::npos);
}

TEST(CalendarCommand, TermsTableStartsWithXiaohanAndKeepsMinuteSixty) {
    const CliResult r = call({"terms", "2024", "2024"});
    ASSERT_EQ(r.status, 0) << r.err;
    const auto rows = lines(r.out);
    ASSERT_EQ(rows.size(), 25u);
    EXPECT_EQ(rows[0], "year\tname\tmoment");
    EXPECT_EQ(rows[1].substr(0, 22), "2024\t小寒\t2024-01-06");
    EXPECT_EQ(rows[3], "2024\t立春\t2024-02-04 16:25");
    EXPECT_EQ(rows[15], "2024\t立秋\t2024-08-07 07:60");
    EXPECT_EQ(rows[24].substr(0, 22), "2024\t冬至\t2024-12-21");
}

TEST(CalendarCommand, BadArgumentsExitWithTwoAndOneLine) {
    const std::vector<std::vector<std::string>> bad = {{"days", "1800", "1900"},
                                                       {"days", "2000", "2101"},
                                                       {"days", "2010", "2000"},
                                                       {"days", "20x0", "2001"},
                                                       {"terms", "abc", "2000"},
                                                       {"days", "2000"},
                                                       {"weeks", "2000", "2001"},
                                                       {"terms", "", "2000"},
                                                       {"terms", "2000", "2000", "--calendar"},
                                                       {"terms", "2000", "2000", "--calendar", "ephemeris"},
                                                       {"days", "--calendar", "astronomical", "2000"}};
    for (const auto& args : bad) {
        const CliResult r = call(args);
        EXPECT_EQ(r.status, 2);
        EXPECT_TRUE(r.out.empty());
        ASSERT_FALSE(r.err.empty());
        EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << r.err;
    }
}

TEST(CalendarCommand, AstronomicalSourceGivesThePublishedMoments) {
    // Hong Kong Observatory: 立春 2024 on 4 February at 16:27, 冬至 2025 on 21 December at 23:03.
    CliResult r = call({"terms", "2024", "2025", "--calendar", "astronomical"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(r.err.empty());
    auto rows = lines(r.out);
    ASSERT_EQ(rows.size(), 1u + 48u);
    EXPECT_EQ(rows[3], "2024\t立春\t2024-02-04 16:27");
    EXPECT_EQ(rows[48], "2025\t冬至\t2025-12-21 23:03");
    r = call({"terms", "2024", "2024", "--calendar", "formula"});
    EXPECT_EQ(lines(r.out)[3], "2024\t立春\t2024-02-04 16:25");
}

TEST(CalendarCommand, AstronomicalLunarMonthsAndLeapMonths) {
    // Hong Kong Observatory: 闰六月 2025 from 25 July; 闰十一月 2033 from 22 December.
    CliResult r = call({"--calendar", "astronomical", "days", "2025", "2025"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("2025-07-25\t乙巳\t癸未\t"), std::string::npos);
    EXPECT_NE(r.out.find("\t-6\t1\n2025-07-26"), std::string::npos);
    r = call({"days", "2033", "2033", "--calendar", "astronomical"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("2033-12-22\t癸丑\t甲子\t"), std::string::npos);
    const auto rows = lines(r.out);
    EXPECT_EQ(rows.back().substr(rows.back().size() - 7), "\t-11\t10");  // 31 December: 闰十一月初十
}

TEST(CalendarCommand, YearsOutsideTheEphemerisFallBackWithAMessage) {
    const CliResult r = call({"days", "1899", "1899", "--calendar", "astronomical"});
    ASSERT_EQ(r.status, 0);
    EXPECT_EQ(r.out, call({"days", "1899", "1899"}).out);
    EXPECT_NE(r.err.find("1900..2100"), std::string::npos) << r.err;
    EXPECT_EQ(r.err.find('\n'), r.err.size() - 1);
}

}  // namespace
