// The fixed tables and the strength words of a line item against the two pillar slots.
#include "analysis/line_strength.h"

#include <gtest/gtest.h>

#include "analysis/branch_tables.h"
#include "chart_fixture.h"
#include "test_support/qt_printers.h"

namespace {

using analysis::DescribeLineStrength;

TEST(BranchTables, CombinationsArePairedBothWays) {
    const QString pairs = QStringLiteral("子丑寅亥卯戌辰酉巳申午未");
    for (qsizetype i = 0; i < pairs.size(); i += 2) {
        EXPECT_EQ(analysis::combinePartner(pairs.at(i)), pairs.at(i + 1)) << i;
        EXPECT_EQ(analysis::combinePartner(pairs.at(i + 1)), pairs.at(i)) << i;
    }
    EXPECT_TRUE(analysis::combinePartner(u'木').isNull());
}

TEST(BranchTables, LifeStagesOfEachElementEarthSharingWater) {
    struct Row {
        char16_t element, birth, death, tomb, extinction;
    };
    const Row rows[] = {{u'木', u'亥', u'午', u'未', u'申'}, {u'火', u'寅', u'酉', u'戌', u'亥'},
                        {u'土', u'申', u'卯', u'辰', u'巳'}, {u'金', u'巳', u'子', u'丑', u'寅'},
                        {u'水', u'申', u'卯', u'辰', u'巳'}, {u'子', u' ', u' ', u' ', u' '}};
    for (const Row& r : rows) {
        SCOPED_TRACE(QString(QChar(r.element)).toStdString());
        EXPECT_EQ(analysis::birthBranch(r.element), QChar(r.birth));
        EXPECT_EQ(analysis::deathBranch(r.element), QChar(r.death));
        EXPECT_EQ(analysis::tombBranch(r.element), QChar(r.tomb));
        EXPECT_EQ(analysis::extinctionBranch(r.element), QChar(r.extinction));
    }
}

// Slots as the build leaves them: pillar texts and the polarity-element texts of their branches.
chart::ChartState withSlots(const char16_t* month, const char16_t* monthText, const char16_t* day,
                            const char16_t* dayText) {
    chart::ChartState s;
    s.firstSlot = QString::fromUtf16(month);
    s.monthBranchText = QString::fromUtf16(monthText);
    s.secondSlot = QString::fromUtf16(day);
    s.dayBranchText = QString::fromUtf16(dayText);
    return s;
}

TEST(LineStrength, WordsAndSeasonStateAgainstMonthAndDay) {
    using enum analysis::SeasonState;
    struct Case {
        const char16_t* item;
        const char16_t *month, *monthText, *day, *dayText;
        const char16_t* text;
        analysis::SeasonState season;
    };
    const Case cases[] = {
        // Same element as the month, on the day branch itself.
        {u"AB子水", u"壬子月", u"阳水", u"丙子日", u"阳水", u"旺日临", Prosperous},
        // Clashed by the month while the day is its own branch: filled, not broken.
        {u"AB子水", u"庚午月", u"阳火", u"丙子日", u"阳水", u"休填实日临", Confined},
        // Combined by the month and clashed by the day.
        {u"AB子水", u"丁丑月", u"阴土", u"丙午日", u"阳火", u"囚月合日冲", Dead},
        {u"AB巳火", u"乙亥月", u"阴水", u"丁亥日", u"阴水", u"囚月破日冲日克", Dead},
        {u"AB午火", u"丙寅月", u"阳木", u"戊戌日", u"阳土", u"相", Supported},
        {u"AB寅木", u"庚午月", u"阳火", u"乙亥日", u"阴水", u"衰日合日生", Resting},
        {u"AB卯木", u"癸酉月", u"阴金", u"甲寅日", u"阳木", u"囚月破日扶", Dead},
        // A changed-line item is read the same way.
        {u"妻财寅木", u"丙寅月", u"阳木", u"戊戌日", u"阳土", u"旺", Prosperous},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(QString::fromUtf16(c.item).toStdString() + " " + QString::fromUtf16(c.month).toStdString());
        const auto s = withSlots(c.month, c.monthText, c.day, c.dayText);
        const analysis::LineStrength strength = DescribeLineStrength(s, QString::fromUtf16(c.item));
        EXPECT_EQ(strength.text, QString::fromUtf16(c.text));
        EXPECT_EQ(strength.season, c.season);
    }
}

TEST(LineStrength, NoElementOrBranchGivesNoWordAndNoSeason) {
    // The slots of an empty chart are empty too: nothing may match a missing character.
    for (const auto& s : {withSlots(u"丙寅月", u"阳木", u"戊戌日", u"阳土"), chart::ChartState{}}) {
        for (const char16_t* item : {u"ABXY", u"AB", u""}) {
            const analysis::LineStrength strength = DescribeLineStrength(s, QString::fromUtf16(item));
            EXPECT_EQ(strength.text, QString()) << QString::fromUtf16(item).toStdString();
            EXPECT_EQ(strength.season, analysis::SeasonState::None);
        }
    }
}

TEST(LineStrength, ReturnInfluenceOfTheChangedLine) {
    struct Case {
        char16_t main, changed;
        const char16_t* text;
    };
    const Case cases[] = {{u'金', u'土', u"回头生"}, {u'火', u'木', u"回头生"}, {u'木', u'金', u"回头克"},
                          {u'水', u'土', u"回头克"}, {u'水', u'水', u""},       {u'金', u'水', u""},
                          {u' ', u' ', u""}};
    for (const Case& c : cases)
        EXPECT_EQ(analysis::DescribeReturnInfluence(c.main, c.changed), QString::fromUtf16(c.text))
            << QString(QChar(c.main)).toStdString() << QString(QChar(c.changed)).toStdString();
}

TEST(LineStrength, SeasonQiOnlyFromTheClosingEarthMonth) {
    struct Case {
        char16_t branch;
        const char16_t* month;
        bool gains;
    };
    const Case cases[] = {{u'亥', u"丁丑月", true},  {u'子', u"丁丑月", true},  {u'寅', u"戊辰月", true},
                          {u'卯', u"戊辰月", true},  {u'巳', u"辛未月", true},  {u'午', u"辛未月", true},
                          {u'申', u"甲戌月", true},  {u'酉', u"甲戌月", true},  {u'丑', u"丁丑月", false},
                          {u'辰', u"戊辰月", false}, {u'申', u"辛未月", false}, {u'子', u"戊辰月", false}};
    for (const Case& c : cases) {
        chart::ChartState s;
        s.firstSlot = QString::fromUtf16(c.month);
        EXPECT_EQ(analysis::GainsSeasonQi(s, c.branch), c.gains)
            << QString(QChar(c.branch)).toStdString() << QString::fromUtf16(c.month).toStdString();
    }
}

using StrengthOfBuiltChart = AnalysedChart;

TEST_F(StrengthOfBuiltChart, YearMonthBasisReadsTheYearAsMonthAndTheMonthAsDay) {
    // 2024-02-04 17:00: 甲辰 year, 丙寅 month. Under 年月 the slots are 甲辰(年) and 丙寅(月):
    // the top line 戌土 is clashed by the year (月破), the fifth line 申金 by the month (日冲).
    build(u"20240204111111T:17:00:00");
    chooseBasis(chart::StrengthBasis::YearMonth);
    auto item = [&](std::size_t i) { return QStringLiteral("AB") + state.main[i].branchElement; };
    EXPECT_EQ(DescribeLineStrength(state, item(0)).text, u"旺月破日克");
    EXPECT_EQ(DescribeLineStrength(state, item(1)).text, u"相日冲");
}

}  // namespace
