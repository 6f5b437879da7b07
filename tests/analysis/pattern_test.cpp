// Combination patterns and the dates that break or complete them, over charts built from case
// numbers and over hand-laid lines. Dates and pillars are worked out from 2024-01-01 = 甲子 and
// the term days of 2024 and 2025.
#include "analysis/combination_patterns.h"

#include <gtest/gtest.h>

#include "analysis/pattern_dates.h"
#include "chart_fixture.h"
#include "test_support/qt_printers.h"

namespace {

using analysis::CombinationPatterns;
using analysis::FindClashDates;
using analysis::FindCompletionDates;
using analysis::MatchCombinationPattern;

const QString kWater = QStringLiteral("申子辰合水局");
const QString kWood = QStringLiteral("亥卯未合木局");

TEST(PatternDates, DayAndMonthSearchesRunAcrossTheYearEnd) {
    struct Case {
        QDate chartDate;
        bool clash;
        char16_t branch;
        const char16_t* text;
    };
    const Case cases[] = {
        // 2024-12-20 is 戊午; the chart month (丙子) is never a candidate, so the 子 month is a
        // year later, the twelfth step.
        {QDate(2024, 12, 20), true, u'午', u"子冲午2024-12-26甲子 子冲午2025年12月戊子"},
        // 2024-12-30 is 戊辰: the 丑 day is 2025-01-08; 2025-01-30 lies before 立春, still 丁丑.
        {QDate(2024, 12, 30), false, u'丑', u"2025-01-08丁丑成局 2025年1月丁丑成局"},
        // 2024-08-20 (丙辰): the 申 month comes back only at the twelfth step.
        {QDate(2024, 8, 20), false, u'申', u"2024-08-24庚申成局 2025年8月甲申成局"},
        {QDate(2024, 8, 20), true, u'子', u"午冲子2024-08-22戊午 午冲子2025年6月壬午"},
        // The chart day itself counts (k = 0): 2024-02-04 is 戊戌.
        {QDate(2024, 2, 4), false, u'戌', u"2024-02-04戊戌成局 2024年11月甲戌成局"},
        {QDate(2024, 2, 4), true, u'卯', u"酉冲卯2024-02-15己酉 酉冲卯2024年10月癸酉"},
        // Day 31 kept in shorter months: "February 31" still lies before 惊蛰.
        {QDate(2025, 1, 31), false, u'卯', u"2025-02-03癸卯成局 2025年3月己卯成局"},
        {QDate(2024, 2, 4), true, u'木', u""},
        {QDate(2024, 2, 4), false, u' ', u""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.chartDate.toString(Qt::ISODate).toStdString() + QString(QChar(c.branch)).toStdString());
        const QString text =
            c.clash ? FindClashDates(c.chartDate, c.branch) : FindCompletionDates(c.chartDate, c.branch);
        EXPECT_EQ(text, QString::fromUtf16(c.text));
    }
}

// Month searches under the ephemeris: 小暑 2016 is at 2016-07-07 00:03 and 立秋 2016 at
// 2016-08-07 09:53 Beijing time (Hong Kong Observatory), so 6 July is still in the 午 month and
// 6 August still in the 未 month; the closed formulas put 小暑 on 6 July. 2016-06-06 is 己未.
TEST(PatternDates, MonthSearchesFollowTheCalendarSource) {
    struct Case {
        cal::CalendarSource source;
        bool clash;
        char16_t branch;
        const char16_t* text;
    };
    const Case cases[] = {
        {cal::CalendarSource::Formula, false, u'未', u"2016-06-06己未成局 2016年7月乙未成局"},
        {cal::CalendarSource::Astronomical, false, u'未', u"2016-06-06己未成局 2016年8月乙未成局"},
        {cal::CalendarSource::Formula, true, u'丑', u"未冲丑2016-06-06己未 未冲丑2016年7月乙未"},
        {cal::CalendarSource::Astronomical, true, u'丑', u"未冲丑2016-06-06己未 未冲丑2016年8月乙未"},
    };
    const QDate chartDate(2016, 6, 6);
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(cal::calendarSourceName(c.source)) + (c.clash ? " clash" : " completion"));
        const QString text = c.clash ? FindClashDates(chartDate, c.branch, c.source)
                                     : FindCompletionDates(chartDate, c.branch, c.source);
        EXPECT_EQ(text, QString::fromUtf16(c.text));
    }
}

// Six static lines of 乾为天's branches, slots on a 戊戌 day of a 丙寅 month (the day clashes
// only 辰, which none of these laid lines is unless a case puts it there).
chart::ChartState laidLines(std::initializer_list<std::pair<int, const char16_t*>> moving) {
    chart::ChartState s;
    const char16_t* branches[] = {u"戌土", u"申金", u"午火", u"寅木", u"寅木", u"子水"};
    for (std::size_t i = 0; i < 6; ++i) {
        s.main[i].branchElement = QString::fromUtf16(branches[i]);
        s.main[i].code = 1;
    }
    for (const auto& [index, text] : moving) {
        const QString t = QString::fromUtf16(text);
        s.main[std::size_t(index)].branchElement = t.left(2);
        s.main[std::size_t(index)].changedLine = t.mid(2);
        s.main[std::size_t(index)].code = 3;
    }
    s.castDate = QDate(2024, 2, 4);
    s.firstSlot = QStringLiteral("丙寅月");
    s.monthBranchText = QStringLiteral("阳木");
    s.secondSlot = QStringLiteral("戊戌日");
    s.dayBranchText = QStringLiteral("阳土");
    return s;
}

TEST(CombinationPattern, LinesFourAndSixWithTheChangedBranch) {
    // Line 6 亥 changing to 未, line 4 卯: the full wood pattern by check 1; the two active lines
    // alone give the half pattern twice (checks 3 and 4), completed by a 未 day and month.
    const auto s = laidLines({{0, u"亥水父母未土"}, {2, u"卯木官鬼巳火"}});
    EXPECT_EQ(MatchCombinationPattern(s, kWood),
              u"亥卯未合木局(4,6爻)酉冲卯2024-02-15己酉 酉冲卯2024年10月癸酉\r\n"
              u"亥卯未合木局(3个动或暗动爻半合)2024-02-13丁未成局 2024年8月辛未成局\r\n"
              u"亥卯未合木局(2个动或暗动爻半合)2024-02-13丁未成局 2024年8月辛未成局\r\n");
}

TEST(CombinationPattern, HalfPatternNeedsItsMiddleBranch) {
    const auto s = laidLines({{0, u"亥水兄弟子水"}, {2, u"未土父母戌土"}});
    EXPECT_EQ(MatchCombinationPattern(s, kWood), QString());
}

TEST(CombinationPattern, NoActiveLineLeavesSixBlanks) {
    EXPECT_EQ(CombinationPatterns(laidLines({})), QStringLiteral("      "));
}

TEST(CombinationPattern, TakenBranchesAreUsedOnce) {
    // Lines 3 and 1 both 子, line 1 changing to 申: the second 子 finds nothing left to take, so
    // check 2 has one branch only; the active lines hold one 子, which is no half pattern.
    auto s = laidLines({{3, u"子水子孙申金"}, {5, u"子水子孙申金"}});
    EXPECT_EQ(MatchCombinationPattern(s, kWater), QString());
}

using BuiltPatterns = AnalysedChart;

TEST_F(BuiltPatterns, ThreeMovingLinesFormTheWaterPattern) {
    // 乾为天, lines 5 申, 3 辰 and 1 子 moving (2024-02-04 17:00, 丙寅月 戊戌日). Lines 3 and 1
    // change to 午 and 寅: check 2 finds the half pattern 子辰; the three active lines the full
    // one, broken on a 午 day and month.
    build(u"20240204131313T:17:00:00");
    EXPECT_EQ(CombinationPatterns(state),
              u"   申子辰合水局(1,3半合)2024-02-14戊申成局 2024年9月壬申成局\r\n"
              u"申子辰合水局(3个动或暗动爻合局)午冲子2024-02-12丙午 午冲子2024年7月庚午\r\n   ");
}

TEST_F(BuiltPatterns, HalfPatternCompletedByTheMonth) {
    // 乾为天, lines 3 辰 and 1 子 moving on 2024-08-20 (壬申月 丙辰日): the 申 month completes
    // the water pattern (check 4), and so does the static fifth line 申金 (check 5).
    build(u"20240820111313T:10:00:00");
    EXPECT_EQ(MatchCombinationPattern(state, kWater),
              u"申子辰合水局(1,3半合)2024-08-24庚申成局 2025年8月甲申成局\r\n"
              u"申子辰合水局(3个动或暗动爻半合)2024-08-24庚申成局 2025年8月甲申成局\r\n"
              u"申子辰合水局(2个动或暗动爻+日或月合局)午冲子2024-08-22戊午 午冲子2025年6月壬午\r\n"
              u"申子辰合水局(2个动或暗动爻+一个静爻合局)午冲子2024-08-22戊午 午冲子2025年6月壬午\r\n");
}

TEST_F(BuiltPatterns, HiddenMovingLinesAreActiveWhetherOrNotTheirChangesAreShown) {
    // 2024-02-04 17:00 (丙寅月 戊戌日, void 辰巳): line 3 辰土 is void and clashed by the day, so
    // it moves in hiding; with the moving line 1 子 it pairs in check 2 without a changed branch
    // of its own, and the static fifth line 申 completes the pattern in check 5.
    const QString expected = QStringLiteral(
        "申子辰合水局(1,3半合)2024-02-14戊申成局 2024年9月壬申成局\r\n"
        "申子辰合水局(3个动或暗动爻半合)2024-02-14戊申成局 2024年9月壬申成局\r\n"
        "申子辰合水局(2个动或暗动爻半合)2024-02-14戊申成局 2024年9月壬申成局\r\n"
        "申子辰合水局(2个动或暗动爻+一个静爻合局)午冲子2024-02-12丙午 午冲子2024年7月庚午\r\n");
    for (bool shown : {false, true}) {
        options.showHiddenChanges = shown;
        build(u"20240204111113T:17:00:00");
        EXPECT_EQ(MatchCombinationPattern(state, kWater), expected) << shown;
    }
}

}  // namespace
