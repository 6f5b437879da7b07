// The analysis report in both modes over charts built from case numbers, worked out by hand.
// Every chart is cast on 2024-02-04 at 17:00 (丙寅月 戊戌日, void 辰巳) unless it says otherwise.
#include "analysis/analysis_report.h"

#include <gtest/gtest.h>

#include "analysis/hexagram_relations.h"
#include "analysis/item_stages.h"
#include "chart_fixture.h"
#include "test_support/qt_printers.h"

namespace {

using analysis::AnalysisReport;
using analysis::ReportSettings;

class Report : public AnalysedChart {
protected:
    analysis::AnalysisResult report(int line = 0, int column = 0) {
        return AnalysisReport(state, data, settings, line, column);
    }
    ReportSettings settings;
};

const QString kStars(31, u'*');

TEST(ReportTables, HorseAndNobleByTheDay) {
    EXPECT_EQ(analysis::travellingHorseLine(u'子'), u"驿马-寅 桃花-酉");
    EXPECT_EQ(analysis::travellingHorseLine(u'丑'), u"驿马-亥 桃花-午");
    EXPECT_EQ(analysis::travellingHorseLine(u'午'), u"驿马-申 桃花-卯");
    EXPECT_EQ(analysis::travellingHorseLine(u'未'), u"驿马-巳 桃花-子");
    EXPECT_EQ(analysis::noblePersonLine(u'戊'), u"贵人-丑未");
    EXPECT_EQ(analysis::noblePersonLine(u'己'), u"贵人-子申");
    EXPECT_EQ(analysis::noblePersonLine(u'丁'), u"贵人-亥酉");
    EXPECT_EQ(analysis::noblePersonLine(u'癸'), u"贵人-卯巳");
    EXPECT_EQ(analysis::noblePersonLine(u'庚'), u"贵人-午寅");
    EXPECT_EQ(analysis::travellingHorseLine(u' '), QString());
    EXPECT_EQ(analysis::noblePersonLine(u'子'), QString());
}

TEST_F(Report, WholeChartStartsWithHorseAndNobleOfTheDayPillar) {
    build(u"20240101111111T:10:00:00");  // 2024-01-01 is a 甲子 day
    const QStringList lines = report().lines;
    ASSERT_GE(lines.size(), 2);
    EXPECT_EQ(lines.mid(0, 2), texts({u"驿马-寅 桃花-酉", u"贵人-丑未"}));
}

TEST_F(Report, HexagramRelationsChantsAndLinePairs) {
    struct Case {
        const char16_t* caseNumber;
        QStringList lines;
    };
    const QString horse = QStringLiteral("驿马-申 桃花-卯"), noble = QStringLiteral("贵人-丑未");
    const Case cases[] = {
        // 乾为天 to 震为雷: every line keeps its branch.
        {u"20240204331331T:17:00:00", {horse, noble, u"主卦六冲 变卦六冲"_qs, u"卦变伏吟。"_qs}},
        // Only the top line moves: the lower trigram keeps its branches.
        {u"20240204311111T:17:00:00", {horse, noble, u"主卦六冲"_qs, u"内卦伏吟。"_qs}},
        // 乾为天 to 巽为风 is a reversed-chant pair; no line clashes its changed line.
        {u"20240204113113T:17:00:00", {horse, noble, u"主卦六冲 变卦六冲"_qs, u"卦变反吟。"_qs}},
        // 坤为地 to 地风升: the upper trigram stays (伏吟), the lower 丑亥酉 clashes 未巳卯,
        // static bottom line included (反吟).
        {u"20240204222442T:17:00:00", {horse, noble, u"主卦六冲"_qs, u"外卦伏吟。"_qs, u"内卦反吟。"_qs}},
        // 水风井: line 1 丑 combines line 6 子. 山天大畜: line 3 辰 clashes line 4 戌.
        {u"20240204212112T:17:00:00", {horse, noble, QString(), u"一六爻合"_qs}},
        {u"20240204122111T:17:00:00", {horse, noble, QString(), u"三四爻冲"_qs}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(QString::fromUtf16(c.caseNumber).toStdString());
        build(c.caseNumber);
        EXPECT_EQ(analysis::hexagramRelationLines(state), c.lines);
    }
}

TEST_F(Report, WholeChartOfThreeMovingLines) {
    // 乾为天 with lines 5, 3 and 1 moving gives 火水未济. Stages come from the shipped rows:
    // at month 寅 and day 戌, 水/土 are 病/冠带, 木 临官/养, 火 长生/墓, 金 绝/衰.
    build(u"20240204131313T:17:00:00");
    const analysis::AnalysisResult r = report();
    EXPECT_EQ(r.message, QString());
    EXPECT_EQ(r.highlight, analysis::HighlightFlags{});
    EXPECT_EQ(r.lines, texts({
                           u"驿马-申 桃花-卯",
                           u"贵人-丑未",
                           u"主卦六冲",
                           u"   申子辰合水局(1,3半合)2024-02-14戊申成局 2024年9月壬申成局",
                           u"申子辰合水局(3个动或暗动爻合局)午冲子2024-02-12丙午 午冲子2024年7月庚午",
                           u"   ",
                           u"第1爻：子孙子水 月建 12宫 (病)",
                           u"第1爻：子孙子水 日建 12宫 (冠带)",
                           u"动变 12宫 (病)",
                           u"第1爻变爻：妻财寅木 月建 12宫 (临官)",
                           u"第1爻变爻：妻财寅木 日建 12宫 (养)",
                           u"动变 12宫 (临官)",
                           u"第2爻：妻财寅木 月建 12宫 (临官)",
                           u"第2爻：妻财寅木 日建 12宫 (养)",
                           u"应第3爻：父母辰土 月建 12宫 (病)",
                           u"应第3爻：父母辰土 日建 12宫 (冠带)",
                           u"动变 12宫 (胎)",
                           u"应第3爻变爻：官鬼午火 月建 12宫 (长生)",
                           u"应第3爻变爻：官鬼午火 日建 12宫 (墓)",
                           u"动变 12宫 (帝旺)",
                           u"第4爻：官鬼午火 月建 12宫 (长生)",
                           u"第4爻：官鬼午火 日建 12宫 (墓)",
                           u"第5爻：兄弟申金 月建 12宫 (绝)",
                           u"第5爻：兄弟申金 日建 12宫 (衰)",
                           u"动变 12宫 (冠带)",
                           u"第5爻变爻：父母未土 月建 12宫 (病)",
                           u"第5爻变爻：父母未土 日建 12宫 (冠带)",
                           u"动变 12宫 (养)",
                           u"世第6爻：父母戌土 月建 12宫 (病)",
                           u"世第6爻：父母戌土 日建 12宫 (冠带)",
                       }));
}

TEST_F(Report, ItemStagesOfAHiddenSpiritAndUnderTheYearMonthBasis) {
    // 天风姤: 妻财寅木 hides under line 2 子孙亥水; against its flying line 亥 it is 长生.
    build(u"20240204111112T:17:00:00");
    EXPECT_EQ(
        analysis::DescribeItemStages(state, data, QStringLiteral("第2爻伏神"), state.main[4].hiddenSpirit, 4),
        texts({u"第2爻伏神：妻财寅木 月建 12宫 (临官)", u"第2爻伏神：妻财寅木 日建 12宫 (养)", u"伏飞 12宫 (长生)"}));
    // Under 年月 the slots hold 甲辰 and 丙寅: 寅 stands at 衰 against the year branch 辰,
    // at 临官 against the month, and gains the season qi of the 辰 "month".
    build(u"20240204111111T:17:00:00");
    chooseBasis(chart::StrengthBasis::YearMonth);
    EXPECT_EQ(analysis::DescribeItemStages(state, data, QStringLiteral("第2爻"), QStringLiteral("妻财寅木"), 4),
              texts({u"第2爻：妻财寅木 月建 12宫 (衰)", u"第2爻：妻财寅木 日建 12宫 (临官)", u"妻财寅木 得气"}));
}

TEST_F(Report, WithoutStageRowsOnlyTheHeaderLinesRemain) {
    db->execute(QStringLiteral("delete from zhi where value2 is not null"));
    const store::SqliteDivinationData noStages(*db);
    build(u"20240204131313T:17:00:00");
    const QStringList lines = AnalysisReport(state, noStages, settings, 0, 0).lines;
    const QStringList tail = lines.mid(lines.indexOf(QStringLiteral("第1爻：子孙子水")));
    EXPECT_EQ(tail.mid(0, 6), texts({u"第1爻：子孙子水", u"第1爻：子孙子水", u"第1爻变爻：妻财寅木",
                                     u"第1爻变爻：妻财寅木", u"第2爻：妻财寅木", u"第2爻：妻财寅木"}));
    EXPECT_EQ(tail.size(), 18);  // two lines for each of the nine items
}

// Flags of an item-mode run: {column, line index top first, value}.
struct Flag {
    int column, position, value;
};
analysis::HighlightFlags flags(std::initializer_list<Flag> set) {
    analysis::HighlightFlags f{};
    for (const Flag& x : set) f[analysis::flagIndex(x.column, x.position)] = x.value;
    return f;
}

TEST_F(Report, ItemModeOnAHiddenSpirit) {
    // 天风姤, the hidden 妻财寅木 under line 2 (fifth from the top). 寅 clashes 申 and 木 dies
    // at 申 (the later test wins the flag); 木 dies at 午; 寅 combines 亥, where 木 is born.
    build(u"20240204111112T:17:00:00");
    const analysis::AnalysisResult r = report(5, 1);
    EXPECT_EQ(r.lines, texts({u"寅申冲", u"木绝于申", u"木死于午", u"寅亥合", u"木长生于亥"}) + QStringList{kStars} +
                           texts({u"驿马-申 桃花-卯", u"贵人-丑未", u"", u"      "}));
    EXPECT_EQ(r.highlight, flags({{1, 1, 16}, {1, 2, 4}, {1, 4, 32}}));
    EXPECT_EQ(r.message, QString());
}

TEST_F(Report, ItemModeOnAMainLine) {
    // 天风姤, line 3 兄弟酉金: 金 is cut off (绝) at the month 寅 and at the hidden 寅, entombed
    // at the bottom line 丑.
    build(u"20240204111112T:17:00:00");
    const analysis::AnalysisResult r = report(4, 2);
    EXPECT_EQ(r.lines.mid(0, 4),
              texts({u"金绝于月寅", u"金绝于寅", u"金入墓于丑", u"*******************************"}));
    EXPECT_EQ(r.highlight, flags({{0, 4, 16}, {1, 5, 8}}));
}

TEST_F(Report, ItemModeOnAChangedLine) {
    // 乾为天 to 火水未济, the changed 妻财寅木 of line 1: the relations reach the changed 未 of
    // line 5 (墓) and the changed 午 of line 3 (死), as well as the main lines.
    build(u"20240204131313T:17:00:00");
    const analysis::AnalysisResult r = report(6, 3);
    EXPECT_EQ(r.lines.mid(0, 6), texts({u"寅申冲", u"木绝于申", u"木入墓于未", u"木死于午", u"木死于午",
                                        u"*******************************"}));
    EXPECT_EQ(r.highlight, flags({{1, 1, 16}, {2, 1, 8}, {1, 2, 4}, {2, 3, 4}}));
    EXPECT_EQ(r.lines.mid(6, 3), texts({u"驿马-申 桃花-卯", u"贵人-丑未", u"主卦六冲"}));
    EXPECT_EQ(r.lines.size(), 12);  // no item stages in item mode
}

TEST_F(Report, ItemModeRefusals) {
    // 乾为天 with every changed line shown: line 4 (third from the top, 辰土) moves in hiding.
    options.showAllChanged = true;
    options.showHiddenChanges = true;
    build(u"20240204111111T:17:00:00");
    ASSERT_FALSE(state.main[0].changedLine.isEmpty());
    ASSERT_FALSE(state.main[3].changedLine.isEmpty());
    struct Case {
        bool changedOnView, showHidden;
        int line, column;
        bool answered;
    };
    const Case cases[] = {
        {false, true, 1, 3, false},   // a static line: its changed line is only on display
        {false, true, 4, 3, true},    // moving in hiding, shown so
        {false, false, 4, 3, false},  // moving in hiding, not shown so
        {false, true, 1, 1, false},   // no hidden spirit
        {false, true, 1, 4, false},   // no such column
        {false, true, 7, 2, false},   // no such line
        {false, true, -1, 2, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.line) + "/" + std::to_string(c.column));
        settings = {c.changedOnView, c.showHidden};
        const analysis::AnalysisResult r = report(c.line, c.column);
        EXPECT_EQ(!r.lines.isEmpty(), c.answered);
        EXPECT_EQ(r.message, QString());
    }
    settings.changedOnView = true;
    EXPECT_EQ(report(2, 2).lines, QStringList{analysis::kOnlyMainHexagram});
    EXPECT_EQ(report(2, 2).highlight, analysis::HighlightFlags{});
}

TEST_F(Report, MissingWorldAndResponseMarksKeepTheLinesWritten) {
    // No chart: no day, no hexagram; the pattern entry is its six blanks.
    const analysis::AnalysisResult r = report();
    EXPECT_EQ(r.message, analysis::kMissingWorldResponse);
    EXPECT_EQ(r.lines, QStringList({QString(), QStringLiteral("      ")}));
    // A built chart whose response mark was lost.
    build(u"20240204111112T:17:00:00");
    state.main[2].mark = u' ';
    const analysis::AnalysisResult item = report(5, 1);
    EXPECT_EQ(item.message, analysis::kMissingWorldResponse);
    EXPECT_EQ(item.lines.size(), 10);
    EXPECT_EQ(item.highlight, flags({{1, 1, 16}, {1, 2, 4}, {1, 4, 32}}));
}

}  // namespace
