// The pillars of a cast under the astronomical calendar source. The term moments are the Hong
// Kong Observatory's (Beijing time, to the minute): 立春 2024 at 16:27 on 4 February, 小暑 2016
// at 00:03 on 7 July. The formulas put them at 16:25 and at 23:47 on 6 July.
#include <gtest/gtest.h>

#include "calendar/calendar_source.h"
#include "chart/cast_pillars.h"
#include "chart/chart_build.h"
#include "store/database.h"
#include "store/sqlite_divination_data.h"
#include "test_support/qt_printers.h"

namespace {

constexpr auto kAstro = cal::CalendarSource::Astronomical;
constexpr auto kFormula = cal::CalendarSource::Formula;

chart::ChartState castAt(const QDate& date, const QTime& time) {
    chart::ChartState state;
    state.castDate = date;
    state.castTime = time;
    return state;
}

TEST(AstronomicalPillars, CastsInTheMinutesTheFormulasGetWrong) {
    struct Case {
        QTime time;
        cal::CalendarSource source;
        const char16_t* yearAndMonth;
    };
    // 16:26:20 lies before any moment the published minute 16:27 stands for, 16:27:40 after.
    for (const Case& c :
         {Case{QTime(16, 26), kFormula, u"甲辰年 丙寅月"}, Case{QTime(16, 26), kAstro, u"癸卯年 乙丑月"},
          Case{QTime(16, 26, 20), kAstro, u"癸卯年 乙丑月"}, Case{QTime(16, 27, 40), kAstro, u"甲辰年 丙寅月"},
          Case{QTime(16, 24), kFormula, u"甲辰年 乙丑月"}}) {
        chart::ChartState state = castAt(QDate(2024, 2, 4), c.time);
        EXPECT_EQ(chart::fillPillars(state, c.source), u"");
        EXPECT_EQ(state.pillarLabel.left(7), QString::fromUtf16(c.yearAndMonth)) << c.time.toString().toStdString();
        EXPECT_EQ(state.firstSlot, state.pillarLabel.mid(4, 3));
    }
    chart::ChartState state = castAt(QDate(2024, 2, 4), QTime(16, 26));
    chart::fillPillars(state, kAstro);
    EXPECT_EQ(state.pillarLabel, u"癸卯年 乙丑月 戊戌日(辰巳空) 2024-02-04 16:26:00（时辰:庚申 刻:甲申）");
    EXPECT_EQ(state.termText, u"立春16:27天");
    EXPECT_EQ(state.monthBranchText, u"阴土");
    // A strength basis chosen afterwards keeps the source the pillars came from.
    chart::fillSlots(state, chart::StrengthBasis::YearMonth);
    EXPECT_EQ(state.firstSlot, u"癸卯(年)");
    EXPECT_EQ(state.secondSlot, u"乙丑(月)");
}

TEST(AstronomicalPillars, TermOnAnotherDayThanTheFormulasSay) {
    chart::ChartState state = castAt(QDate(2016, 7, 6), QTime(23, 50));
    chart::fillPillars(state, kFormula);
    EXPECT_EQ(state.firstSlot, u"乙未月");
    EXPECT_EQ(state.termText, u"小暑23:47");
    chart::fillPillars(state, kAstro);
    EXPECT_EQ(state.firstSlot, u"甲午月");
    EXPECT_EQ(state.termText, u"天");  // no term that day; the mark alone tells the source
    state = castAt(QDate(2016, 7, 7), QTime(0, 2));
    chart::fillPillars(state, kAstro);
    EXPECT_EQ(state.firstSlot, u"甲午月");
    EXPECT_EQ(state.termText, u"小暑0:3天");
    state.castTime = QTime(0, 4);
    chart::fillPillars(state, kAstro);
    EXPECT_EQ(state.firstSlot, u"乙未月");
}

TEST(AstronomicalPillars, DaysWithoutTermsGiveTheFormulasPillars) {
    for (const QDate& date : {QDate(2000, 1, 1), QDate(2024, 3, 1), QDate(1955, 10, 10)}) {
        chart::ChartState formula = castAt(date, QTime(23, 30));
        chart::ChartState astro = formula;
        chart::fillPillars(formula, kFormula);
        chart::fillPillars(astro, kAstro);
        EXPECT_EQ(astro.pillarLabel, formula.pillarLabel);
        EXPECT_EQ(astro.termText, u"天");
    }
}

TEST(AstronomicalPillars, YearsOutsideTheEphemerisUseTheFormulasAndSaySo) {
    chart::ChartState formula = castAt(QDate(1850, 2, 4), QTime(12, 0));
    chart::ChartState astro = formula;
    chart::fillPillars(formula, kFormula);
    EXPECT_EQ(chart::fillPillars(astro, kAstro), u"天文节气只算1900至2100年，1850年按公式计算。");
    EXPECT_EQ(astro.pillarLabel, formula.pillarLabel);
    EXPECT_EQ(astro.termText, formula.termText);
}

TEST(AstronomicalPillars, DateSearchFollowsTheSource) {
    // 6 July 2016 is a 甲午 month day under the ephemeris, a 乙未 one under the formulas.
    const QDate day(2016, 7, 6);
    chart::ChartState state = castAt(day, QTime(12, 0));
    chart::fillPillars(state, kAstro);
    const QString dayPillar = state.secondSlot.left(2);
    EXPECT_EQ(chart::dateOfPillars(QStringLiteral("甲午"), dayPillar, day, kAstro).date, day);
    EXPECT_NE(chart::dateOfPillars(QStringLiteral("甲午"), dayPillar, day, kFormula).date, day);
    EXPECT_EQ(chart::dateOfPillars(QStringLiteral("乙未"), dayPillar, day, kFormula).date, day);
}

class AstronomicalChartBuild : public ::testing::Test {
protected:
    AstronomicalChartBuild() : db(store::Database::openInMemory()), data(*db) {}

    chart::CaseEntry enter(const QString& text) {
        const chart::BuildContext context{data, options, QDate(2026, 12, 8)};
        return chart::enterCaseNumber(state, text, context);
    }

    std::unique_ptr<store::Database> db;
    store::SqliteDivinationData data;
    chart::ChartOptions options;
    chart::ChartState state;
};

TEST_F(AstronomicalChartBuild, TheOptionChoosesTheSourceOfTheBuild) {
    ASSERT_TRUE(enter(QStringLiteral("20240204111111T:16:26:00")).ok);
    EXPECT_EQ(state.firstSlot, u"丙寅月");
    EXPECT_EQ(state.termText, u"立春16:25");
    options.calendarSource = kAstro;
    const chart::CaseEntry entry = enter(QStringLiteral("20240204111111T:16:26:00"));
    ASSERT_TRUE(entry.ok);
    EXPECT_TRUE(entry.messages.isEmpty());
    EXPECT_EQ(state.firstSlot, u"乙丑月");
    EXPECT_EQ(state.monthBranchText, u"阴土");
    EXPECT_EQ(state.termText, u"立春16:27天");
    EXPECT_EQ(state.calendarSource, kAstro);
    // A year the ephemeris does not serve is now outside the dates the calendar stands behind:
    // the case number is refused rather than laid out by the formulas.
    const chart::CaseEntry outside = enter(QStringLiteral("18500204111111T:12:00:00"));
    EXPECT_FALSE(outside.ok);
    EXPECT_TRUE(outside.error.contains(u"1900-01-01 至 2100-12-31")) << outside.error.toStdString();
}

}  // namespace
