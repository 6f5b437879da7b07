// The 神煞 against their verses, under each school choice both ways.
#include <gtest/gtest.h>

#include "hand_chart.h"
#include "reading/reading.h"
#include "test_support/qt_printers.h"

namespace {

using reading::Schools;
using reading_test::handChart;

QString u(const char16_t* text) { return QString::fromUtf16(text); }
QString u(const char* text) { return QString::fromUtf8(text); }

QStringList chars(const char16_t* text) {
    QStringList out;
    for (QChar c : QString::fromUtf16(text)) out << QString(c);
    return out;
}

const reading::Spirit& named(const QList<reading::Spirit>& spirits, const char16_t* name) {
    for (const reading::Spirit& s : spirits)
        if (s.name == u(name)) return s;
    static const reading::Spirit none;
    return none;
}

// A chart whose lines carry every branch but 子 … 巳 once, from 初爻: 子 丑 寅 卯 辰 巳.
chart::ChartState pillarsChart(const QString& year, const QString& month, const QString& day) {
    return handChart(u"子丑寅卯辰巳", u"121212", year, month, day);
}

TEST(Spirits, TheElevenInTheirOrder) {
    const QList<reading::Spirit> spirits = reading::spiritsOf(pillarsChart(u("甲子"), u("丙寅"), u("甲子")), {});
    QStringList names;
    for (const reading::Spirit& s : spirits) names << s.name;
    const QStringList expected = {u("禄神"), u("羊刃"), u("文昌"), u("贵人"), u("驿马"), u("桃花"),
                                  u("华盖"), u("劫煞"), u("灾煞"), u("天喜"), u("天医")};
    EXPECT_EQ(names, expected);
}

TEST(Spirits, ByTheDayStemUnderEachSchool) {
    struct Row {
        const char16_t *stem, *salary, *blade, *backwardBlade, *literary, *noble, *jiaWuGengNoble;
    };
    const Row rows[] = {
        {u"甲", u"寅", u"卯", u"卯", u"巳", u"丑未", u"丑未"}, {u"乙", u"卯", u"辰", u"寅", u"午", u"子申", u"子申"},
        {u"丙", u"巳", u"午", u"午", u"申", u"亥酉", u"亥酉"}, {u"丁", u"午", u"未", u"巳", u"酉", u"亥酉", u"亥酉"},
        {u"戊", u"巳", u"午", u"午", u"申", u"丑未", u"丑未"}, {u"己", u"午", u"未", u"巳", u"酉", u"子申", u"子申"},
        {u"庚", u"申", u"酉", u"酉", u"亥", u"午寅", u"丑未"}, {u"辛", u"酉", u"戌", u"申", u"子", u"午寅", u"午寅"},
        {u"壬", u"亥", u"子", u"子", u"寅", u"卯巳", u"卯巳"}, {u"癸", u"子", u"丑", u"亥", u"卯", u"卯巳", u"卯巳"},
    };
    // Lines from 初爻: 子 丑 寅 卯 辰 巳.
    auto positions = [](const QString& branches) {
        QList<int> out;
        for (int p = 1; p <= 6; ++p)
            if (branches.contains(u("子丑寅卯辰巳").at(p - 1))) out << p;
        return out;
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(QString::fromUtf16(r.stem).toStdString());
        const bool yin = QStringView(u"乙丁己辛癸").contains(r.stem[0]);
        const chart::ChartState chart = pillarsChart(u("甲子"), u("丙寅"), u(r.stem) + u'午');
        Schools schools;
        QList<reading::Spirit> s = reading::spiritsOf(chart, schools);
        EXPECT_EQ(named(s, u"禄神").branches, chars(r.salary));
        EXPECT_EQ(named(s, u"禄神").positions, positions(u(r.salary)));
        EXPECT_EQ(named(s, u"羊刃").branches, chars(r.blade));
        EXPECT_EQ(named(s, u"羊刃").positions, positions(u(r.blade)));
        EXPECT_EQ(named(s, u"文昌").branches, chars(r.literary));
        EXPECT_EQ(named(s, u"贵人").branches, chars(r.noble));
        EXPECT_EQ(named(s, u"贵人").positions, positions(u(r.noble)));

        schools.yinBlade = Schools::YinBlade::Backward;
        schools.nobleVerse = Schools::NobleVerse::JiaWuGengNiuYang;
        s = reading::spiritsOf(chart, schools);
        EXPECT_EQ(named(s, u"羊刃").branches, chars(r.backwardBlade));
        EXPECT_EQ(named(s, u"贵人").branches, chars(r.jiaWuGengNoble));

        schools.yinBlade = Schools::YinBlade::None;
        s = reading::spiritsOf(chart, schools);
        EXPECT_EQ(named(s, u"羊刃").branches, yin ? QStringList{} : chars(r.blade));
        EXPECT_EQ(named(s, u"羊刃").positions.isEmpty(), yin || !positions(u(r.blade)).size());
    }
}

TEST(Spirits, ByTheThreeHarmonyGroupOfTheDayOrTheYearBranch) {
    struct Row {
        const char16_t* branches;  // the group
        const char16_t* spirits;   // 驿马 桃花 华盖 劫煞 灾煞
    };
    const Row rows[] = {
        {u"申子辰", u"寅酉辰巳午"}, {u"寅午戌", u"申卯戌亥子"}, {u"巳酉丑", u"亥午丑寅卯"}, {u"亥卯未", u"巳子未申酉"}};
    const char16_t* names[] = {u"驿马", u"桃花", u"华盖", u"劫煞", u"灾煞"};
    for (const Row& r : rows) {
        for (QChar branch : u(r.branches)) {
            SCOPED_TRACE(QString(branch).toStdString());
            // The branch on the day with a 丑 year (巳酉丑), then on the year with a 丑 day.
            const chart::ChartState byDay = pillarsChart(u("己丑"), u("丙寅"), QString(u'甲') + branch);
            const chart::ChartState byYear = pillarsChart(QString(u'甲') + branch, u("丙寅"), u("己丑"));
            Schools year;
            year.horseFrom = Schools::HorseFrom::Year;
            const QList<reading::Spirit> days[] = {reading::spiritsOf(byDay, {}), reading::spiritsOf(byYear, year)};
            const QList<reading::Spirit> others[] = {reading::spiritsOf(byDay, year), reading::spiritsOf(byYear, {})};
            for (int i = 0; i < 5; ++i) {
                const QString expected(r.spirits[i]);
                const QString ofOx = QString(u"亥午丑寅卯"[i]);
                for (const auto& s : days) EXPECT_EQ(named(s, names[i]).branches, QStringList{expected}) << i;
                for (const auto& s : others) EXPECT_EQ(named(s, names[i]).branches, QStringList{ofOx}) << i;
            }
        }
    }
}

TEST(Spirits, ByTheMonthBranch) {
    // 天喜 by season, 天医 the branch before the month's.
    const char16_t* months = u"寅卯辰巳午未申酉戌亥子丑";
    const char16_t* joy = u"戌戌戌丑丑丑辰辰辰未未未";
    const char16_t* healer = u"丑寅卯辰巳午未申酉戌亥子";
    for (int i = 0; i < 12; ++i) {
        const QList<reading::Spirit> s =
            reading::spiritsOf(pillarsChart(u("甲子"), QString(u'甲') + QChar(months[i]), u("甲子")), {});
        EXPECT_EQ(named(s, u"天喜").branches, QStringList{QString(QChar(joy[i]))}) << i;
        EXPECT_EQ(named(s, u"天医").branches, QStringList{QString(QChar(healer[i]))}) << i;
    }
    // Lines from 初爻 子 丑 寅 卯 辰 巳: a 寅 month puts 天医 丑 on line 2 and 天喜 戌 on none.
    const QList<reading::Spirit> s = reading::spiritsOf(pillarsChart(u("甲子"), u("丙寅"), u("甲子")), {});
    EXPECT_EQ(named(s, u"天医").positions, QList<int>{2});
    EXPECT_TRUE(named(s, u"天喜").positions.isEmpty());
}

}  // namespace
