// The chart's structure against the classical rules: 卦身, the related hexagrams, the motion, the
// punishments and harms, and the marks of single lines.
#include <gtest/gtest.h>

#include <QSet>

#include "analysis/chart_fixture.h"
#include "chart/catalogue.h"
#include "hand_chart.h"
#include "reading/reading.h"
#include "test_support/qt_printers.h"

namespace {

using reading::chartStructure;
using reading_test::handChart;

QString u(const char16_t* text) { return QString::fromUtf16(text); }
QString u(const char* text) { return QString::fromUtf8(text); }

// A chart of the hexagram with a key of six digits, top line first; yang lines take yangCode.
chart::ChartState hexagramChart(const QString& key, int yangCode = 1, int yinCode = 2) {
    chart::ChartState s;
    for (std::size_t i = 0; i < 6; ++i) s.main[i].code = key.at(i) == u'1' ? yangCode : yinCode;
    s.main[0].hexagramName = chart::hexagramName(key);
    return s;
}

QList<QString> allKeys() {
    QList<QString> keys;
    for (int n = 0; n < 64; ++n) {
        QString key;
        for (int bit = 5; bit >= 0; --bit) key += (n >> bit) & 1 ? u'2' : u'1';
        keys << key;
    }
    return keys;
}

reading::Structure structureOfName(const QString& name, int yangCode = 1, int yinCode = 2) {
    return chartStructure(hexagramChart(chart::keyOfHexagram(name), yangCode, yinCode), {});
}

TEST(RelatedHexagrams, WorkedExamples) {
    struct Row {
        const char16_t *name, *mutual, *opposite, *reversed;
    };
    const Row rows[] = {
        {u"山水蒙", u"地雷复", u"泽火革", u"水雷屯"},     {u"乾为天", u"乾为天", u"坤为地", u"乾为天"},
        {u"火天大有", u"泽天夬", u"水地比", u"天火同人"}, {u"天风姤", u"乾为天", u"地雷复", u"泽天夬"},
        {u"地天泰", u"雷泽归妹", u"天地否", u"天地否"},   {u"水火既济", u"火水未济", u"火水未济", u"火水未济"},
        {u"山雷颐", u"坤为地", u"泽风大过", u"山雷颐"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(QString::fromUtf16(r.name).toStdString());
        const reading::Structure s = structureOfName(u(r.name));
        EXPECT_EQ(s.mutual, u(r.mutual));
        EXPECT_EQ(s.opposite, u(r.opposite));
        EXPECT_EQ(s.reversed, u(r.reversed));
        // Old yang and old yin count as their own polarity.
        const reading::Structure moving = structureOfName(u(r.name), 3, 4);
        EXPECT_EQ(moving.mutual, u(r.mutual));
        EXPECT_EQ(moving.opposite, u(r.opposite));
        EXPECT_EQ(moving.reversed, u(r.reversed));
    }
}

TEST(RelatedHexagrams, InvolutionsAndTheMutualCycleOverAllSixtyFour) {
    const QSet<QString> selfReversed = {u("乾为天"), u("坤为地"),   u("坎为水"),   u("离为火"),
                                        u("山雷颐"), u("泽风大过"), u("风泽中孚"), u("雷山小过")};
    const QSet<QString> mutualEnds = {u("乾为天"), u("坤为地"), u("水火既济"), u("火水未济")};
    QSet<QString> mutuals;
    for (const QString& key : allKeys()) {
        const QString name = chart::hexagramName(key);
        SCOPED_TRACE(name.toStdString());
        const reading::Structure s = structureOfName(name);
        ASSERT_FALSE(s.mutual.isEmpty());
        EXPECT_NE(s.opposite, name);
        EXPECT_EQ(structureOfName(s.opposite).opposite, name);
        EXPECT_EQ(structureOfName(s.reversed).reversed, name);
        EXPECT_EQ(s.reversed == name, selfReversed.contains(name));
        // Taking the mutual twice always ends in one of the four.
        EXPECT_TRUE(mutualEnds.contains(structureOfName(s.mutual).mutual));
        mutuals << s.mutual;
    }
    EXPECT_EQ(mutuals.size(), 16);
}

TEST(Body, CountsFromZiOrWuToTheWorldLine) {
    // Lines 子 寅 辰 午 申 戌 from 初爻 up.
    const char16_t* yangBody = u"子丑寅卯辰巳";
    const char16_t* yinBody = u"午未申酉戌亥";
    const QList<int> yangPositions[] = {{1}, {}, {2}, {}, {3}, {}};
    const QList<int> yinPositions[] = {{4}, {}, {5}, {}, {6}, {}};
    for (int world = 1; world <= 6; ++world) {
        for (const bool yang : {true, false}) {
            for (const bool moving : {false, true}) {
                SCOPED_TRACE(world * 100 + yang * 10 + moving);
                chart::ChartState s = handChart(u"子寅辰午申戌", u"111111", u"甲子", u"丙寅", u"甲子");
                chart::ChartLine& line = s.main[std::size_t(6 - world)];
                line.mark = u'世';
                line.code = yang ? (moving ? 3 : 1) : (moving ? 4 : 2);
                const reading::Structure r = chartStructure(s, {});
                EXPECT_EQ(r.bodyBranch, QString((yang ? yangBody : yinBody)[world - 1]));
                EXPECT_EQ(r.bodyPositions, (yang ? yangPositions : yinPositions)[world - 1]);
            }
        }
    }
}

TEST(Motion, NamedByTheNumberOfMovingLines) {
    struct Row {
        const char16_t *codes, *motion;
    };
    const Row rows[] = {{u"121212", u"静"},     {u"121412", u"独发"}, {u"321412", u"多爻动"},
                        {u"343412", u"多爻动"}, {u"343432", u"独静"}, {u"343434", u"全动"}};
    for (const Row& r : rows) {
        const chart::ChartState s = handChart(u"子寅辰午申戌", r.codes, u"甲子", u"丙寅", u"甲子");
        EXPECT_EQ(chartStructure(s, {}).motion, u(r.motion)) << QString::fromUtf16(r.codes).toStdString();
    }
}

struct GroupRow {
    const char16_t *branches, *month, *day;
    QList<reading::BranchGroup> punishments, harms;
};

reading::BranchGroup group(const char16_t* kind, const char16_t* branches, QList<int> positions) {
    QStringList list;
    for (QChar c : QString::fromUtf16(branches)) list << QString(c);
    return {u(kind), list, positions};
}

TEST(PunishmentsAndHarms, FoundAmongLinesDayAndMonthWithOneOnALine) {
    const GroupRow rows[] = {
        // 子 on the day, 卯 on line 2: 子卯刑; 丑 and 午, 卯 and 辰 on lines.
        {u"丑卯辰戌申午",
         u"丙寅",
         u"甲子",
         {group(u"子卯刑", u"子卯", {2})},
         {group(u"丑午害", u"丑午", {1, 6}), group(u"卯辰害", u"卯辰", {2, 3})}},
        // 寅 by the month, 巳 and 申 on lines; 午 and 亥 once only.
        {u"巳申午戌申亥",
         u"丙寅",
         u"甲子",
         {group(u"寅巳申刑", u"寅巳申", {1, 2, 5})},
         {group(u"寅巳害", u"寅巳", {1}), group(u"申亥害", u"申亥", {2, 5, 6})}},
        // 子 by the day and 卯 by the month, neither on a line: no 子卯刑; 丑戌 without 未; 辰 on two lines.
        {u"丑戌辰寅巳辰",
         u"丁卯",
         u"丙子",
         {group(u"辰自刑", u"辰", {3, 6})},
         {group(u"寅巳害", u"寅巳", {4, 5}), group(u"卯辰害", u"卯辰", {3, 6})}},
        // 午 by the month and the day only is no 自刑; 亥 on two lines is; 丑未戌 all on lines.
        {u"亥亥丑未戌寅",
         u"庚午",
         u"丙午",
         {group(u"丑戌未刑", u"丑戌未", {3, 4, 5}), group(u"亥自刑", u"亥", {1, 2})},
         {group(u"丑午害", u"丑午", {3})}},
        // 辰 on a line and the day, 酉 on a line and the month.
        {u"酉未寅辰申戌",
         u"癸酉",
         u"壬辰",
         {group(u"辰自刑", u"辰", {4}), group(u"酉自刑", u"酉", {1})},
         {group(u"酉戌害", u"酉戌", {1, 6})}},
        // 子 by the day with 未 on lines, 亥 by the month with 申 on lines.
        {u"午未申午未申",
         u"丁亥",
         u"甲子",
         {group(u"午自刑", u"午", {1, 4})},
         {group(u"子未害", u"子未", {2, 5}), group(u"申亥害", u"申亥", {3, 6})}},
    };
    for (const GroupRow& r : rows) {
        SCOPED_TRACE(QString::fromUtf16(r.branches).toStdString());
        const chart::ChartState s = handChart(r.branches, u"121212", u"甲子", r.month, r.day);
        const reading::Structure got = chartStructure(s, {});
        ASSERT_EQ(got.punishments.size(), r.punishments.size());
        for (qsizetype i = 0; i < got.punishments.size(); ++i) {
            EXPECT_EQ(got.punishments[i].kind, r.punishments[i].kind);
            EXPECT_EQ(got.punishments[i].branches, r.punishments[i].branches);
            EXPECT_EQ(got.punishments[i].positions, r.punishments[i].positions);
        }
        ASSERT_EQ(got.harms.size(), r.harms.size());
        for (qsizetype i = 0; i < got.harms.size(); ++i) {
            EXPECT_EQ(got.harms[i].kind, r.harms[i].kind);
            EXPECT_EQ(got.harms[i].branches, r.harms[i].branches);
            EXPECT_EQ(got.harms[i].positions, r.harms[i].positions);
        }
    }
}

TEST(LineMarks, TurnClashToVoidAndDayBroken) {
    // Lines from 初爻: 子 moving to 午 (回头冲), 寅 static, 辰 moving to 戌 (回头冲, 戌 void),
    // 午 static, 申 moving to 亥 (void), 戌 static. Day 午 (clashes 子), month 寅 (木).
    chart::ChartState s = handChart(u"子寅辰午申戌", u"314232", u"甲子", u"丙寅", u"壬午");
    const char16_t* changed = u"午寅戌午亥戌";
    for (int p = 1; p <= 6; ++p) s.changed[std::size_t(6 - p)].branchElement = QString(changed[p - 1]) + u'土';
    s.voidPair = {u'戌', u'亥'};
    reading::Structure r = chartStructure(s, {});
    EXPECT_EQ(r.turnClash, (QList<int>{1, 3}));
    EXPECT_EQ(r.toVoid, (QList<int>{3, 5}));
    EXPECT_TRUE(r.dayBroken.isEmpty());  // 子 clashed by the day moves

    // Day 申 clashes the static 寅: 日破 under a 金 or 土 month; 旺 under 卯, 相 under 子 (水 makes 木).
    struct Month {
        const char16_t* pillar;
        bool broken;
    };
    for (const Month m : {Month{u"乙酉", true}, Month{u"丙辰", true}, Month{u"丁卯", false}, Month{u"甲子", false}}) {
        s.pillarLabel = u("甲子年 ") + u(m.pillar) + u("月 甲申日");
        r = chartStructure(s, {});
        EXPECT_EQ(r.dayBroken, m.broken ? QList<int>{2} : QList<int>{}) << QString::fromUtf16(m.pillar).toStdString();
    }
}

class BuiltStructure : public AnalysedChart {};

TEST_F(BuiltStructure, TheCastPillarsCountWhateverTheStrengthBasis) {
    build(u"20260909113312T:17:28:00");
    const reading::Structure byMonthDay = chartStructure(state, {});
    // 天风姤, lines 丑 亥 酉 午 申 戌 from 初爻, 世 on the yin 初爻: 卦身 午 on line 4.
    EXPECT_EQ(byMonthDay.mutual, u("乾为天"));
    EXPECT_EQ(byMonthDay.opposite, u("地雷复"));
    EXPECT_EQ(byMonthDay.reversed, u("泽天夬"));
    EXPECT_EQ(byMonthDay.motion, u("多爻动"));
    EXPECT_EQ(byMonthDay.bodyBranch, u("午"));
    EXPECT_EQ(byMonthDay.bodyPositions, QList<int>{4});
    const QList<reading::Spirit> spirits = reading::spiritsOf(state, {});
    for (const chart::StrengthBasis basis :
         {chart::StrengthBasis::YearMonth, chart::StrengthBasis::DayHour, chart::StrengthBasis::HourQuarter}) {
        chooseBasis(basis);
        const reading::Structure other = chartStructure(state, {});
        EXPECT_EQ(other.punishments.size(), byMonthDay.punishments.size());
        EXPECT_EQ(other.harms.size(), byMonthDay.harms.size());
        EXPECT_EQ(other.dayBroken, byMonthDay.dayBroken);
        const QList<reading::Spirit> otherSpirits = reading::spiritsOf(state, {});
        for (qsizetype i = 0; i < spirits.size(); ++i) EXPECT_EQ(otherSpirits[i].branches, spirits[i].branches);
    }
}

}  // namespace
