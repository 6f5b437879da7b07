// Whole charts built over the shipped divination rows, checked field by field against charts
// worked out by hand.
#include "chart/chart_build.h"

#include <gtest/gtest.h>

#include "chart/beasts.h"
#include "chart/catalogue.h"
#include "chart/chart_view.h"
#include "chart/text_forms.h"
#include "store/database.h"
#include "store/sqlite_divination_data.h"
#include "test_support/qt_printers.h"

namespace {

struct LineExpectation {
    const char16_t* beast;
    const char16_t* relative;
    const char16_t* branchElement;
    char16_t mark;
    const char16_t* hiddenSpirit;
    const char16_t* changedLine;
};

class ChartBuild : public ::testing::Test {
protected:
    ChartBuild() : db(store::Database::openInMemory()), data(*db) {}

    chart::CaseEntry enter(const QString& text) {
        const chart::BuildContext context{data, options, QDate(2026, 12, 8)};
        return chart::enterCaseNumber(state, text, context);
    }

    void expectLines(const chart::Hexagram& lines, const std::array<LineExpectation, 6>& expected) {
        for (std::size_t i = 0; i < 6; ++i) {
            SCOPED_TRACE("line " + std::to_string(i));
            EXPECT_EQ(lines[i].beast, QString::fromUtf16(expected[i].beast));
            EXPECT_EQ(lines[i].relative, QString::fromUtf16(expected[i].relative));
            EXPECT_EQ(lines[i].branchElement, QString::fromUtf16(expected[i].branchElement));
            EXPECT_EQ(lines[i].mark, QChar(expected[i].mark));
            EXPECT_EQ(lines[i].hiddenSpirit, QString::fromUtf16(expected[i].hiddenSpirit));
            EXPECT_EQ(lines[i].changedLine, QString::fromUtf16(expected[i].changedLine));
        }
    }

    QString stems() const {
        QString s;
        for (QChar c : state.stemPairs) s += c;
        return s;
    }

    std::unique_ptr<store::Database> db;
    store::SqliteDivinationData data;
    chart::ChartOptions options;
    chart::ChartState state;
};

TEST_F(ChartBuild, JingfangWithAMovingTopLineBeforeTheTermMoment) {
    // 立春 2024 falls at 16:25: a cast at 16:24 still has the 乙丑 month. The day is 戊戌.
    const chart::CaseEntry entry = enter(QStringLiteral("20240204311111T:16:24:00"));
    ASSERT_TRUE(entry.ok) << entry.error.toStdString();
    EXPECT_TRUE(entry.messages.isEmpty());
    EXPECT_EQ(state.pillarLabel, u"甲辰年 乙丑月 戊戌日(辰巳空) 2024-02-04 16:24:00（时辰:庚申 刻:甲申）");
    EXPECT_EQ(state.title, u"主卦：乾为天(六冲) 变卦：泽天夬");
    EXPECT_EQ(state.mainDescription, u"乾宫属金 本宫卦 序数:1 方位:西北");
    EXPECT_EQ(state.changedDescription, u"坤宫属土 五世卦 序数:8 方位:西南");
    EXPECT_EQ(state.voidText, u"甲午旬内(辰巳空) 2024-02-10 出空");
    EXPECT_EQ(stems(), u"  壬甲丁甲");
    EXPECT_TRUE(state.hiddenSpiritSource.isEmpty());  // all five relatives are present
    EXPECT_TRUE(state.hasChanged);
    EXPECT_EQ(state.caseNumber, u"20240204311111");
    EXPECT_EQ(state.method, chart::ArrangementMethod::Jingfang);
    // 戊 day: 勾陈 on the bottom line, then upward 螣蛇 白虎 玄武 青龙 朱雀.
    expectLines(state.main, {{{u"朱雀", u"父母", u"戌土", u'世', u"", u"父母未土"},
                              {u"青龙", u"兄弟", u"申金", u' ', u"", u""},
                              {u"玄武", u"官鬼", u"午火", u' ', u"", u""},
                              {u"白虎", u"父母", u"辰土", u'应', u"", u""},
                              {u"螣蛇", u"妻财", u"寅木", u' ', u"", u""},
                              {u"勾陈", u"子孙", u"子水", u' ', u"", u""}}});
    // 泽天夬 (坤 palace) judged against the main palace's metal.
    expectLines(state.changed, {{{u"朱雀", u"父母", u"未土", u' ', u"", u""},
                                 {u"青龙", u"兄弟", u"酉金", u'世', u"", u""},
                                 {u"玄武", u"子孙", u"亥水", u' ', u"", u""},
                                 {u"白虎", u"父母", u"辰土", u' ', u"", u""},
                                 {u"螣蛇", u"妻财", u"寅木", u'应', u"", u""},
                                 {u"勾陈", u"子孙", u"子水", u' ', u"", u""}}});

    options.showAllChanged = true;
    ASSERT_TRUE(enter(QStringLiteral("20240204311111T:16:25:00")).ok);
    EXPECT_EQ(state.firstSlot, u"丙寅月");
    EXPECT_EQ(state.main[3].changedLine, u"父母辰土");
    EXPECT_EQ(state.main[2].changedLine, u"子孙亥水");
}

TEST_F(ChartBuild, ZangshanWithAHiddenSpirit) {
    const chart::CaseEntry entry = enter(QStringLiteral("20240204311121藏山卜T:09:05:00"));
    ASSERT_TRUE(entry.ok);
    EXPECT_EQ(state.method, chart::ArrangementMethod::Zangshan);
    EXPECT_EQ(state.title, u"主卦：天火同人(归魂) 变卦：泽火革");
    EXPECT_EQ(state.pillarLabel, u"甲辰年 乙丑月 戊戌日(辰巳空) 2024-02-04 09:05:00（时辰:丁巳 刻:庚子）");
    // No 兄弟 line: the top line 官鬼子水 gives the palace fire. 兄弟 is found in 离为火.
    EXPECT_EQ(state.hiddenSpiritSource, u"离为火");
    EXPECT_EQ(stems(), u"己己壬己丁己");
    expectLines(state.main, {{{u"朱雀", u"官鬼", u"子水", u'应', u"兄弟巳火", u"子孙未土"},
                              {u"青龙", u"父母", u"寅木", u' ', u"", u""},
                              {u"玄武", u"子孙", u"辰土", u' ', u"", u""},
                              {u"白虎", u"官鬼", u"亥水", u'世', u"", u""},
                              {u"螣蛇", u"妻财", u"酉金", u' ', u"", u""},
                              {u"勾陈", u"子孙", u"未土", u' ', u"", u""}}});
    EXPECT_EQ(state.changed[0].relative, u"子孙");
    EXPECT_EQ(state.changed[0].branchElement, u"未土");
}

TEST_F(ChartBuild, HiddenMovementChangesAStaticLineOnlyWhenShown) {
    // 丙寅 month, 戊戌 day (void 辰巳): the static 辰土 line is void and clashed by 戌.
    ASSERT_TRUE(enter(QStringLiteral("20240204111111T:17:00:00")).ok);
    EXPECT_FALSE(state.hasChanged);
    EXPECT_EQ(state.title, u"主卦：乾为天(六冲)");
    EXPECT_TRUE(chart::isHiddenMoving(state, 3));
    for (int i : {0, 1, 2, 4, 5}) EXPECT_FALSE(chart::isHiddenMoving(state, i)) << i;

    options.showHiddenChanges = true;
    ASSERT_TRUE(enter(QStringLiteral("20240204111111T:17:00:00")).ok);
    EXPECT_TRUE(state.hasChanged);
    EXPECT_EQ(state.title, u"主卦：乾为天(六冲) 变卦：天泽履");
    EXPECT_EQ(state.main[3].changedLine, u"父母丑土");
    for (int i : {0, 1, 2, 4, 5}) EXPECT_TRUE(state.main[std::size_t(i)].changedLine.isEmpty()) << i;
}

TEST_F(ChartBuild, AllLinesMovingAndNoChart) {
    ASSERT_TRUE(enter(QStringLiteral("20240101444444T:10:00:00")).ok);
    EXPECT_EQ(state.main[0].hexagramName, u"坤为地");
    EXPECT_EQ(state.changed[0].hexagramName, u"乾为天");
    for (const chart::ChartLine& line : state.main) EXPECT_FALSE(line.changedLine.isEmpty());

    ASSERT_TRUE(enter(QStringLiteral("20240101011111")).ok);
    EXPECT_TRUE(state.isEmpty());
    EXPECT_TRUE(chart::chartTextLines(state, state.caseNumber).isEmpty());
}

TEST_F(ChartBuild, InversionRebuildsTheMirroredHexagramAndBack) {
    ASSERT_TRUE(enter(QStringLiteral("20240101311111T:10:00:00")).ok);
    const chart::BuildContext context{data, options, QDate(2026, 12, 8)};
    chart::ChartView view;
    state.highlight[3] = 1;
    chart::toggleInvertedView(state, view, context);
    EXPECT_TRUE(view.inverted);
    EXPECT_EQ(state.highlight[3], 0);
    EXPECT_EQ(state.main[0].hexagramName, u"坤为地");
    EXPECT_EQ(state.main[0].code, 4);
    EXPECT_EQ(state.changed[0].hexagramName, u"山地剥");
    EXPECT_EQ(state.caseNumber, u"20240101422222");
    chart::toggleInvertedView(state, view, context);
    EXPECT_FALSE(view.inverted);
    EXPECT_EQ(state.main[0].hexagramName, u"乾为天");
    EXPECT_EQ(state.caseNumber, u"20240101311111");
    chart::toggleChangedView(state, view);
    EXPECT_TRUE(view.showingChanged);
    options.beastPillar = chart::BeastPillar::Year;  // 癸卯 year: 玄武 on the bottom line
    EXPECT_TRUE(chart::reattachBeasts(state, view, context).isEmpty());
    EXPECT_FALSE(view.showingChanged);
    EXPECT_EQ(state.main[5].beast, u"玄武");
    EXPECT_EQ(state.changed[5].beast, u"玄武");
}

TEST_F(ChartBuild, StrengthBasisFeedsTheNextBuild) {
    ASSERT_TRUE(enter(QStringLiteral("20240204311111T:16:24:00")).ok);
    const chart::BuildContext context{data, options, QDate(2026, 12, 8)};
    chart::applyStrengthBasis(state, chart::StrengthBasis::YearMonth, context);
    EXPECT_EQ(state.firstSlot, u"甲辰(年)");
    EXPECT_EQ(state.secondSlot, u"乙丑(月)");
    EXPECT_EQ(state.voidText, u"甲午旬内(辰巳空) 2024-02-10 出空");  // kept
    chart::zhuanggua(state, context);  // beasts by the "day" slot now read the month stem 乙
    EXPECT_EQ(state.main[5].beast, u"青龙");
    EXPECT_EQ(state.main[0].beast, u"玄武");

    chart::applyStrengthBasis(state, chart::StrengthBasis::DayHour, context);
    EXPECT_EQ(state.firstSlot, u"戊戌(日)");
    EXPECT_EQ(state.secondSlot, u"庚申(时)");
    EXPECT_EQ(state.voidText, u"甲寅旬（子丑空）");
    EXPECT_EQ(QString(state.voidPair[0]) + state.voidPair[1], u"子丑");
}

TEST_F(ChartBuild, IncompleteBeastRowsAreReported) {
    ASSERT_TRUE(enter(QStringLiteral("20240204311111T:16:24:00")).ok);
    db->execute(QStringLiteral("update zhi set value1 = ? where key = ?"),
                {QStringLiteral("青龙，朱雀"), QStringLiteral("戊日")});
    data = store::SqliteDivinationData(*db);  // the rows are read when the data object is made
    const chart::CaseEntry entry = enter(QStringLiteral("20240204311111T:16:24:00"));
    ASSERT_TRUE(entry.ok);
    EXPECT_EQ(entry.messages, QStringList{chart::kBeastsIncomplete});
    EXPECT_EQ(state.main[5].beast, u"勾陈");  // kept from before
}

TEST_F(ChartBuild, BadEntriesChangeNothing) {
    ASSERT_TRUE(enter(QStringLiteral("20240204311111T:16:24:00")).ok);
    const QString label = state.pillarLabel, number = state.caseNumber, title = state.title;
    struct Case {
        const char16_t* text;
        bool lengthMessage;
    };
    for (const Case& c : {Case{u"2024020431111", true}, Case{u"", true}, Case{u"20240204x11111藏山卜", false},
                          Case{u"20241304111111", false}, Case{u"2024a204111111", false},
                          Case{u"20240204111112T:25:00:00", false}, Case{u"20240230111111", false}}) {
        const chart::CaseEntry entry = enter(QString::fromUtf16(c.text));
        EXPECT_FALSE(entry.ok) << QString::fromUtf16(c.text).toStdString();
        EXPECT_FALSE(entry.error.isEmpty());
        if (c.lengthMessage) {
            EXPECT_EQ(entry.error, chart::kCaseNumberLength);
        }
        EXPECT_EQ(state.pillarLabel, label);
        EXPECT_EQ(state.caseNumber, number);
        EXPECT_EQ(state.title, title);
        EXPECT_EQ(state.method, chart::ArrangementMethod::Jingfang);
        EXPECT_EQ(state.main[0].code, 3);
        EXPECT_EQ(state.main[5].code, 1);
    }
}

TEST_F(ChartBuild, LongerTextAndNoteLinesAreAccepted) {
    ASSERT_TRUE(enter(QStringLiteral("20240204111111abc藏山卜 remark T:09:05:00")).ok);
    EXPECT_EQ(state.method, chart::ArrangementMethod::Zangshan);
    EXPECT_EQ(state.castTime, QTime(9, 5));
    EXPECT_EQ(state.caseNumber.size(), 14);
}

}  // namespace
