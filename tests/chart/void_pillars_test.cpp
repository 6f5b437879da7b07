#include <gtest/gtest.h>

#include "chart/cast_pillars.h"
#include "chart/trigram_numbers.h"
#include "chart/void_branches.h"
#include "test_support/qt_printers.h"

namespace {

TEST(Void, WeekOfADate) {
    std::array<QChar, 2> pair{u' ', u' '};
    // 1949-10-01 is a 甲子 day.
    EXPECT_EQ(chart::weekVoid(QDate(1949, 10, 1), pair), u"甲子旬内(戌亥空)");
    EXPECT_EQ(pair[0], u'戌');
    EXPECT_EQ(pair[1], u'亥');
    EXPECT_EQ(chart::leavingVoidDate(QDate(1949, 10, 1)), u"1949-10-11 出空");
    // The 癸亥 day before it closes the 甲寅 week opened nine days earlier.
    EXPECT_EQ(chart::weekVoid(QDate(1949, 9, 30), pair), u"甲寅旬内(子丑空)");
    EXPECT_EQ(pair[0], u'子');
    EXPECT_EQ(chart::leavingVoidDate(QDate(1949, 9, 30)), u"1949-10-01 出空");
    EXPECT_EQ(chart::voidLabelText(QDate(1949, 10, 5), pair), u"甲子旬内(戌亥空) 1949-10-11 出空");
}

TEST(Void, TextOfADayPillar) {
    struct Case {
        const char16_t* pillar;
        const char16_t* text;
    };
    for (const Case& c : {Case{u"甲子", u"(戌亥空)"}, Case{u"甲戌", u"(申酉空)"}, Case{u"戊午", u"(子丑空)"},
                          Case{u"戊戌", u"(辰巳空)"}, Case{u"癸亥", u"(子丑空)"}, Case{u"甲寅", u"(子丑空)"},
                          Case{u"XX", u""}, Case{u"甲", u""}}) {
        EXPECT_EQ(chart::voidTextOfPillar(QString::fromUtf16(c.pillar)), QString::fromUtf16(c.text));
    }
}

TEST(Void, ShortPillars) {
    struct Case {
        const char16_t* first;
        const char16_t* second;
        const char16_t* text;
    };
    for (const Case& c :
         {Case{u"己未(日)", u"乙亥(时)", u"甲戌旬（申酉空）"}, Case{u"己未(日)", u"癸酉(时)", u"甲子旬（戌亥空）"},
          Case{u"戊午(日)", u"甲子(时)", u"甲辰旬（寅卯空）"}, Case{u"戊午(日)", u"甲寅(时)", u"甲寅旬（子丑空）"},
          Case{u"乙丑(日)", u"甲申(时)", u"甲申旬（午未空）"}, Case{u"丙寅(时)", u"壬辰(分)", u"甲申旬（午未空）"},
          Case{u"丁卯(时)", u"甲辰(分)", u"甲辰旬（寅卯空）"}}) {
        std::array<QChar, 2> pair{u' ', u' '};
        const QString text = chart::shortPillarVoid(QString::fromUtf16(c.first), QString::fromUtf16(c.second), pair);
        EXPECT_EQ(text, QString::fromUtf16(c.text));
        EXPECT_EQ(QString(pair[0]) + pair[1], text.mid(4, 2));
    }
    std::array<QChar, 2> pair{u'午', u'未'};
    EXPECT_EQ(chart::shortPillarVoid(QStringLiteral("X"), QStringLiteral("甲子"), pair), u"");
    EXPECT_EQ(pair[0], u'午');
}

TEST(Quarters, IndexAndPillar) {
    struct Case {
        int branch;
        QTime time;
        int k;
    };
    for (const Case& c : {Case{0, QTime(23, 30), 4}, Case{0, QTime(0, 5), 7}, Case{0, QTime(0, 59, 31), 13},
                          Case{0, QTime(0, 59, 30), 13}, Case{0, QTime(0, 58, 30), 12}, Case{1, QTime(1, 0), 1},
                          Case{1, QTime(2, 59), 12}, Case{11, QTime(21, 0), 1}, Case{11, QTime(22, 59), 12},
                          Case{0, QTime(23, 0), 1}}) {
        EXPECT_EQ(chart::quarterIndex(c.branch, c.time), c.k) << c.time.toString().toStdString();
    }
    // A 壬 hour: the first quarter is 庚子, the seventh 丙午.
    EXPECT_EQ(chart::quarterGanzhi(48, QTime(0, 5)), 42);
    EXPECT_EQ(chart::quarterGanzhi(0, QTime(23, 30)), 3);  // 甲子 hour, fourth quarter 丁卯
}

TEST(CastPillars, LabelOnATermDayBeforeAndAfterItsMoment) {
    chart::ChartState state;
    state.castDate = QDate(2024, 2, 4);  // 立春 at 16:25
    state.castTime = QTime(16, 24);
    chart::fillPillars(state);
    EXPECT_EQ(state.termText, u"立春16:25");
    EXPECT_EQ(state.pillarLabel, u"甲辰年 乙丑月 戊戌日(辰巳空) 2024-02-04 16:24:00（时辰:庚申 刻:甲申）");
    EXPECT_EQ(state.firstSlot, u"乙丑月");
    EXPECT_EQ(state.secondSlot, u"戊戌日");
    EXPECT_EQ(state.monthBranchText, u"阴土");
    EXPECT_EQ(state.dayBranchText, u"阳土");
    state.castTime = QTime(16, 25);
    chart::fillPillars(state);
    EXPECT_EQ(state.firstSlot, u"丙寅月");
    EXPECT_EQ(state.monthBranchText, u"阳木");
}

TEST(CastPillars, LateRatHourTakesTheNextDayStem) {
    chart::ChartState state;
    state.castDate = QDate(2000, 1, 1);
    state.castTime = QTime(23, 30);
    chart::fillPillars(state);
    EXPECT_EQ(state.pillarLabel, u"己卯年 丙子月 戊午日(子丑空) 2000-01-01 23:30:00（时辰:甲子 刻:丁卯）");
    EXPECT_TRUE(state.termText.isEmpty());
}

TEST(CastPillars, StrengthBases) {
    chart::ChartState state;
    state.castDate = QDate(2000, 1, 1);
    state.castTime = QTime(23, 30);
    struct Case {
        chart::StrengthBasis basis;
        const char16_t* first;
        const char16_t* second;
    };
    for (const Case& c : {Case{chart::StrengthBasis::YearMonth, u"己卯(年)", u"丙子(月)"},
                          Case{chart::StrengthBasis::DayHour, u"戊午(日)", u"甲子(时)"},
                          Case{chart::StrengthBasis::HourQuarter, u"甲子(时)", u"丁卯(分)"},
                          Case{chart::StrengthBasis::MonthDay, u"丙子月", u"戊午日"}}) {
        chart::fillSlots(state, c.basis);
        EXPECT_EQ(state.firstSlot, QString::fromUtf16(c.first));
        EXPECT_EQ(state.secondSlot, QString::fromUtf16(c.second));
        EXPECT_EQ(state.basis, c.basis);
    }
    chart::fillSlots(state, chart::StrengthBasis::DayHour);
    EXPECT_EQ(state.monthBranchText, u"阳火");
    EXPECT_EQ(state.dayBranchText, u"阳水");
}

TEST(CastPillars, DateOfMonthAndDayPillars) {
    const QDate today(2024, 2, 10);  // 丙寅月 甲辰日
    auto found = chart::dateOfPillars(QStringLiteral("丙寅"), QStringLiteral("甲辰"), today);
    EXPECT_TRUE(found.matched);
    EXPECT_EQ(found.date, today);
    found = chart::dateOfPillars(QStringLiteral("丙寅"), QStringLiteral("戊戌"), today);
    EXPECT_TRUE(found.matched);
    EXPECT_EQ(found.date, QDate(2024, 2, 4));
    // 乙丑月 holds no 甲辰 day in the 60 days before: the search goes back to an earlier year.
    found = chart::dateOfPillars(QStringLiteral("乙丑"), QStringLiteral("甲辰"), today);
    EXPECT_TRUE(found.matched);
    EXPECT_LT(found.date, QDate(2024, 1, 6));
    found = chart::dateOfPillars(QStringLiteral("甲丑"), QStringLiteral("甲辰"), today);
    EXPECT_FALSE(found.matched);
    EXPECT_EQ(found.date, today);
}

TEST(TrigramNumbers, OrdinalsAndDirections) {
    using chart::TrigramBasis;
    struct Case {
        char16_t trigram;
        int xt, ht;
        const char16_t* xtDir;
        const char16_t* htDir;
    };
    for (const Case& c :
         {Case{u'乾', 1, 6, u"南", u"西北"}, Case{u'兑', 2, 7, u"东南", u"西"}, Case{u'离', 3, 9, u"东", u"南"},
          Case{u'震', 4, 3, u"东北", u"东"}, Case{u'巽', 5, 4, u"西南", u"东南"}, Case{u'坎', 6, 1, u"西", u"北"},
          Case{u'艮', 7, 8, u"西北", u"东北"}, Case{u'坤', 8, 2, u"北", u"西南"}, Case{u'中', 0, 5, u"", u"中"},
          Case{u'天', 0, 0, u"", u""}}) {
        EXPECT_EQ(chart::trigramOrdinal(c.trigram, TrigramBasis::Xiantian), c.xt);
        EXPECT_EQ(chart::trigramOrdinal(c.trigram, TrigramBasis::Houtian), c.ht);
        EXPECT_EQ(chart::trigramDirection(c.trigram, TrigramBasis::Xiantian), QString::fromUtf16(c.xtDir));
        EXPECT_EQ(chart::trigramDirection(c.trigram, TrigramBasis::Houtian), QString::fromUtf16(c.htDir));
    }
}

}  // namespace
