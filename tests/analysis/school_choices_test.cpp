// The school choices: how KEY=VALUE is read, and each choice switched both ways where it shows.
// Expected values from the tables: 贵人 by 庚辛逢马虎 (庚 午寅) or 甲戊庚牛羊 (庚 丑未); the five
// season states against a 寅 (木) month — 木 旺, 火 相, 水 (generates the month) 衰/休, 金 (overcomes
// it) 休/囚, 土 (overcome by it) 囚/死; 进神 pairs 亥子 寅卯 巳午 申酉 丑辰 辰未 未戌 and the
// disputed 戌丑. 2024-01-01 is 甲子日 (so 2024-01-07 庚午): at 23:30 the hour is 丙子 (乙/庚 days
// start at 丙子) under both counts, the day 甲子 or, for 早子时, 乙丑.
#include <gtest/gtest.h>

#include "analysis/analysis_report.h"
#include "analysis/hexagram_relations.h"
#include "analysis/line_strength.h"
#include "chart/cast_pillars.h"
#include "chart_fixture.h"
#include "reading/schools.h"
#include "test_support/qt_printers.h"

namespace {

using reading::Schools;

TEST(SchoolChoices, EveryKeyAndValueSetsItsField) {
    struct Case {
        const char* pair;
        bool (*holds)(const Schools&);
    };
    const Case cases[] = {
        {"multi=ancient", [](const Schools& s) { return s.multipleUseGods == Schools::MultipleUseGods::Ancient; }},
        {"multi=standard", [](const Schools& s) { return s.multipleUseGods == Schools::MultipleUseGods::Standard; }},
        {"earth-tomb=xu", [](const Schools& s) { return s.earthTomb == Schools::EarthTomb::Xu; }},
        {"earth-tomb=戌", [](const Schools& s) { return s.earthTomb == Schools::EarthTomb::Xu; }},
        {"earth-tomb=chen", [](const Schools& s) { return s.earthTomb == Schools::EarthTomb::Chen; }},
        {"earth-tomb=辰", [](const Schools& s) { return s.earthTomb == Schools::EarthTomb::Chen; }},
        {"noble=jia-wu-geng", [](const Schools& s) { return s.nobleVerse == Schools::NobleVerse::JiaWuGengNiuYang; }},
        {"noble=program", [](const Schools& s) { return s.nobleVerse == Schools::NobleVerse::Program; }},
        {"seasons=classical", [](const Schools& s) { return s.seasonNames == Schools::SeasonNames::Classical; }},
        {"seasons=program", [](const Schools& s) { return s.seasonNames == Schools::SeasonNames::Program; }},
        {"advance=seven", [](const Schools& s) { return s.advancePairs == Schools::AdvancePairs::Seven; }},
        {"advance=eight", [](const Schools& s) { return s.advancePairs == Schools::AdvancePairs::Eight; }},
        {"blade=backward", [](const Schools& s) { return s.yinBlade == Schools::YinBlade::Backward; }},
        {"blade=none", [](const Schools& s) { return s.yinBlade == Schools::YinBlade::None; }},
        {"blade=after", [](const Schools& s) { return s.yinBlade == Schools::YinBlade::After; }},
        {"horse=year", [](const Schools& s) { return s.horseFrom == Schools::HorseFrom::Year; }},
        {"horse=day", [](const Schools& s) { return s.horseFrom == Schools::HorseFrom::Day; }},
        {"zi-hour=early", [](const Schools& s) { return s.ziHour == Schools::ZiHour::Early; }},
        {"zi-hour=late", [](const Schools& s) { return s.ziHour == Schools::ZiHour::Late; }},
        {"plum-year=lichun", [](const Schools& s) { return s.plumYear == Schools::PlumYear::Lichun; }},
        {"plum-year=lunar", [](const Schools& s) { return s.plumYear == Schools::PlumYear::LunarNewYear; }},
        {"plum-leap=split", [](const Schools& s) { return s.plumLeap == Schools::PlumLeap::NextFromSixteenth; }},
        {"plum-leap=month", [](const Schools& s) { return s.plumLeap == Schools::PlumLeap::AsItsMonth; }},
        {"plum-third=sum", [](const Schools& s) { return s.plumThird == Schools::PlumThird::Sum; }},
        {"plum-third=own", [](const Schools& s) { return s.plumThird == Schools::PlumThird::Own; }},
    };
    Schools schools;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pair);
        EXPECT_EQ(reading::applySchool(QString::fromUtf8(c.pair), schools), std::nullopt);
        EXPECT_TRUE(c.holds(schools));
    }
    EXPECT_EQ(schools, Schools{});  // the last value of each key is its default
    EXPECT_EQ(reading::schoolChoices().size(), 11);
}

TEST(SchoolChoices, BadInputNamesWhatIsAllowedAndChangesNothing) {
    struct Case {
        const char* pair;
        const char* named;  // a part of the message
    };
    const Case cases[] = {{"noble", "zi-hour=late|early"},
                          {"colour=red", "multi=standard|ancient"},
                          {"blade=forward", "after|backward|none"},
                          {"zi-hour=", "late|early"},
                          {"Multi=ancient", "unknown school choice"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pair);
        Schools schools;
        const auto problem = reading::applySchool(QString::fromUtf8(c.pair), schools);
        ASSERT_TRUE(problem.has_value());
        EXPECT_TRUE(problem->contains(QString::fromUtf8(c.named))) << problem->toStdString();
        EXPECT_EQ(schools, Schools{});
    }
}

TEST(SchoolChoices, TextFormRoundTripsAndSkipsWhatItCannotRead) {
    Schools chosen;
    chosen.multipleUseGods = Schools::MultipleUseGods::Ancient;
    chosen.yinBlade = Schools::YinBlade::None;
    chosen.ziHour = Schools::ZiHour::Early;
    EXPECT_EQ(reading::schoolsFromText(reading::schoolsText(chosen)), chosen);
    EXPECT_EQ(reading::schoolsFromText(QStringLiteral("later=1 blade=none  junk")).yinBlade, Schools::YinBlade::None);
    EXPECT_EQ(reading::schoolsFromText(QString()), Schools{});
}

TEST(SchoolChoices, NobleVersesDifferOnlyOnGengDays) {
    const QString stems = QStringLiteral("甲乙丙丁戊己庚辛壬癸");
    const char16_t* program[] = {u"丑未", u"子申", u"亥酉", u"亥酉", u"丑未", u"子申", u"午寅", u"午寅", u"卯巳", u"卯巳"};
    const char16_t* jiaWuGeng[] = {u"丑未", u"子申", u"亥酉", u"亥酉", u"丑未", u"子申", u"丑未", u"午寅", u"卯巳", u"卯巳"};
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(analysis::noblePersonLine(stems.at(i)), QStringLiteral("贵人-") + QString::fromUtf16(program[i])) << i;
        EXPECT_EQ(analysis::noblePersonLine(stems.at(i), true), QStringLiteral("贵人-") + QString::fromUtf16(jiaWuGeng[i])) << i;
    }
}

class SchoolChart : public AnalysedChart {};

// 2024-01-07 (庚午日) falls in the 癸卯 year: 午 of 寅午戌 gives 驿马 申 桃花 卯, 卯 of 亥卯未 驿马 巳 桃花 子.
TEST_F(SchoolChart, ReportHorseLineFollowsItsBranch) {
    for (const bool fromYear : {false, true}) {
        options.schools.horseFromYear = fromYear;
        build(u"20240107111111T:10:00:00");
        const QStringList lines = analysis::AnalysisReport(state, data, {}, 0, 0).lines;
        EXPECT_TRUE(lines.contains(fromYear ? u"驿马-巳 桃花-子" : u"驿马-申 桃花-卯")) << lines.join(u'\n').toStdString();
    }
}

TEST_F(SchoolChart, ReportNobleLineFollowsTheVerse) {
    for (const bool jiaWuGeng : {false, true}) {
        options.schools.jiaWuGengNoble = jiaWuGeng;
        build(u"20240107111111T:10:00:00");  // 庚午日
        const QStringList lines = analysis::AnalysisReport(state, data, {}, 0, 0).lines;
        EXPECT_TRUE(lines.contains(jiaWuGeng ? u"贵人-丑未" : u"贵人-午寅")) << lines.join(u'\n').toStdString();
    }
}

TEST(SchoolStrength, SeasonWordsUnderBothNames) {
    struct Case {
        const char16_t* item;
        char16_t program, classical;
    };
    const Case cases[] = {{u"AB寅木", u'旺', u'旺'}, {u"AB午火", u'相', u'相'}, {u"AB子水", u'衰', u'休'},
                          {u"AB申金", u'休', u'囚'}, {u"AB辰土", u'囚', u'死'}};
    chart::ChartState s;
    s.firstSlot = QStringLiteral("丙寅月");
    s.monthBranchText = QStringLiteral("阳木");
    s.secondSlot = QStringLiteral("丁卯日");
    s.dayBranchText = QStringLiteral("阴木");
    for (const Case& c : cases) {
        SCOPED_TRACE(QString::fromUtf16(c.item).toStdString());
        s.schools.classicalSeasonNames = false;
        EXPECT_EQ(analysis::DescribeLineStrength(s, QString::fromUtf16(c.item)).text.at(0), QChar(c.program));
        s.schools.classicalSeasonNames = true;
        EXPECT_EQ(analysis::DescribeLineStrength(s, QString::fromUtf16(c.item)).text.at(0), QChar(c.classical));
    }
}

TEST(SchoolAdvances, SevenPairsLeaveOutXuChou) {
    struct Case {
        char16_t from, to;
        const char16_t *eight, *seven;
    };
    const Case cases[] = {{u'戌', u'丑', u"进化", u""}, {u'丑', u'戌', u"退化", u""}, {u'亥', u'子', u"进化", u"进化"},
                          {u'未', u'戌', u"进化", u"进化"}, {u'辰', u'丑', u"退化", u"退化"}, {u'子', u'丑', u"", u""}};
    for (const Case& c : cases) {
        EXPECT_EQ(analysis::advanceNote(c.from, c.to), QString::fromUtf16(c.eight)) << int(c.from);
        EXPECT_EQ(analysis::advanceNote(c.from, c.to, true), QString::fromUtf16(c.seven)) << int(c.from);
    }
}

TEST(SchoolZiHour, EarlyZiHourChangesTheDayAt23) {
    struct Case {
        QTime time;
        bool early;
        const char16_t *day, *hour;
    };
    const Case cases[] = {{QTime(23, 30), false, u"甲子", u"丙子"}, {QTime(23, 30), true, u"乙丑", u"丙子"},
                          {QTime(22, 59), true, u"甲子", u"乙亥"}, {QTime(0, 30), true, u"甲子", u"甲子"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.time.toString().toStdString());
        const chart::CastPillars p = chart::castPillars(QDate(2024, 1, 1), c.time, cal::CalendarSource::Formula, c.early);
        EXPECT_EQ(p.day, QString::fromUtf16(c.day));
        EXPECT_EQ(p.hour, QString::fromUtf16(c.hour));
    }
}

TEST_F(SchoolChart, EarlyZiHourReachesTheChartsPillarLabel) {
    options.schools.earlyZiHour = true;
    build(u"20240101111111T:23:30:00");
    EXPECT_TRUE(state.pillarLabel.startsWith(u"癸卯年 甲子月 乙丑日")) << state.pillarLabel.toStdString();
    EXPECT_EQ(state.secondSlot, u"乙丑日");
}

}  // namespace
