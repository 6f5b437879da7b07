// The 节气算法 choice of the current case: where the pillars of a cast take their terms, how the
// choice is kept, and what an older database or a year outside the ephemeris gives.
//
// Expected pillars are worked out by hand from the Hong Kong Observatory's tables of the 24
// solar terms (Beijing time): 小暑 2016 at 2016-07-07 00:03 (which the closed formulas put on
// 6 July) and 立春 2024 at 2024-02-04 16:27 (the formulas: 16:25). Day pillars count from 2000-01-01 = 戊午: 2016-07-07
// is 庚寅, 2024-02-04 戊戌. Month stems: a 丙 year's 午 month is 甲午, its 未 month 乙未; a 癸
// year's 丑 month is 乙丑, a 甲 year's 寅 month 丙寅.
#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QSqlQuery>
#include <QTemporaryDir>

#include "store/data_root.h"
#include "test_support/qt_printers.h"
#include "test_support/scripted_prompter.h"
#include "workbench/clock.h"
#include "workbench/workbench.h"

namespace {

using cal::CalendarSource;
using workbench::Workbench;

constexpr auto kAstro = CalendarSource::Astronomical;
constexpr auto kFormula = CalendarSource::Formula;

struct Bench {
    explicit Bench(QDateTime now) : clock(std::move(now)) {}
    QTemporaryDir dir;
    workbench::FixedClock clock;
    ScriptedPrompter prompter;
    std::unique_ptr<store::Database> db = store::Database::open(store::databaseFilePath(dir.path()));
    std::unique_ptr<Workbench> bench = std::make_unique<Workbench>(*db, clock, prompter, dir.path());

    // The program run again over the same database file.
    void restart() { bench = std::make_unique<Workbench>(*db, clock, prompter, dir.path()); }
    QVariant stored() const {
        QSqlQuery q = db->select(QStringLiteral("select value5 from zhi where id=85"));
        return q.next() ? q.value(0) : QVariant();
    }
};

TEST(CalendarChoice, CastsMinutesFromAJieTakeTheMonthOfTheirSource) {
    struct Case {
        QDateTime cast;
        CalendarSource source;
        const char16_t* pillars;  // the start of the pillar label
        const char16_t* term;     // the term text
    };
    const QDate xiaoshu(2016, 7, 7);
    const QDate lichun(2024, 2, 4);
    const Case cases[] = {
        // Two minutes before 小暑: the formulas passed it the evening before.
        {QDateTime(xiaoshu, QTime(0, 1)), kFormula, u"丙申年 乙未月 庚寅日", u""},
        {QDateTime(xiaoshu, QTime(0, 1)), kAstro, u"丙申年 甲午月 庚寅日", u"小暑0:3天"},
        // Two minutes after it both agree on the month.
        {QDateTime(xiaoshu, QTime(0, 5)), kFormula, u"丙申年 乙未月 庚寅日", u""},
        {QDateTime(xiaoshu, QTime(0, 5)), kAstro, u"丙申年 乙未月 庚寅日", u"小暑0:3天"},
        // A minute before 立春 (16:26:00 is before any moment the minute 16:27 rounds): the old
        // year and its last month under the ephemeris; the formulas' 16:25 is already past.
        {QDateTime(lichun, QTime(16, 26)), kFormula, u"甲辰年 丙寅月 戊戌日", u"立春16:25"},
        {QDateTime(lichun, QTime(16, 26)), kAstro, u"癸卯年 乙丑月 戊戌日", u"立春16:27天"},
        {QDateTime(lichun, QTime(16, 28)), kAstro, u"甲辰年 丙寅月 戊戌日", u"立春16:27天"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.cast.toString(Qt::ISODate).toStdString() + (c.source == kAstro ? " 天文" : " 公式"));
        Bench b(c.cast);
        b.bench->setCalendarSource(c.source);
        EXPECT_TRUE(b.bench->chart().pillarLabel.startsWith(QString::fromUtf16(c.pillars)))
            << b.bench->chart().pillarLabel.toStdString();
        EXPECT_EQ(b.bench->chart().termText, QString::fromUtf16(c.term));
        EXPECT_TRUE(b.prompter.messages.isEmpty());
    }
}

TEST(CalendarChoice, ChangingItRebuildsTheChartAndIsKeptForTheNextRun) {
    Bench b(QDateTime(QDate(2024, 3, 1), QTime(9, 0)));
    ASSERT_TRUE(b.bench->enterCaseNumber(QStringLiteral("20160707111112T:00:01:00")));  // 天风姤
    EXPECT_EQ(b.bench->chart().firstSlot, QStringLiteral("乙未月"));
    QSignalSpy chartChanged(b.bench.get(), &Workbench::chartChanged);
    QSignalSpy sourceChanged(b.bench.get(), &Workbench::calendarSourceChanged);

    b.bench->setCalendarSource(kAstro);
    EXPECT_EQ(b.bench->chart().firstSlot, QStringLiteral("甲午月"));
    EXPECT_EQ(b.bench->chart().monthBranchText, QStringLiteral("阳火"));  // 午
    EXPECT_EQ(b.bench->chart().main[0].hexagramName, QStringLiteral("天风姤"));
    EXPECT_EQ(b.bench->chart().calendarSource, kAstro);
    EXPECT_GE(chartChanged.count(), 1);
    EXPECT_EQ(sourceChanged.count(), 1);
    EXPECT_EQ(b.stored().toString(), QStringLiteral("astronomical"));

    b.bench->setCalendarSource(kAstro);  // no change, no signal
    EXPECT_EQ(sourceChanged.count(), 1);

    b.restart();
    EXPECT_EQ(b.bench->calendarSource(), kAstro);
    ASSERT_TRUE(b.bench->enterCaseNumber(QStringLiteral("20160707111112T:00:01:00")));
    EXPECT_EQ(b.bench->chart().firstSlot, QStringLiteral("甲午月"));

    b.bench->setCalendarSource(kFormula);
    EXPECT_EQ(b.bench->chart().firstSlot, QStringLiteral("乙未月"));
    b.restart();
    EXPECT_EQ(b.bench->calendarSource(), kFormula);
}

TEST(CalendarChoice, DatabasesWithoutTheValueReadAsTheFormulas) {
    struct Case {
        QVariant stored;  // value5 of the options row
        CalendarSource expected;
    };
    const Case cases[] = {
        {QVariant(), kFormula},  // every database written before the choice existed
        {QString(), kFormula},
        {QStringLiteral("1"), kFormula},
        {QStringLiteral("天文"), kFormula},
        {QStringLiteral("Astronomical"), kFormula},
        {QStringLiteral("astronomical"), kAstro},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored.toString().toStdString());
        Bench b(QDateTime(QDate(2016, 7, 7), QTime(0, 1)));
        b.db->execute(QStringLiteral("update zhi set value5=? where id=85"), {c.stored});
        b.restart();
        EXPECT_EQ(b.bench->calendarSource(), c.expected);
        EXPECT_EQ(b.bench->chart().firstSlot,
                  c.expected == kAstro ? QStringLiteral("甲午月") : QStringLiteral("乙未月"));
    }
    // No options row at all.
    Bench b(QDateTime(QDate(2016, 7, 7), QTime(0, 1)));
    b.db->execute(QStringLiteral("delete from zhi where id=85"));
    b.restart();
    EXPECT_EQ(b.bench->calendarSource(), kFormula);
}

TEST(CalendarChoice, FreshDatabasesStartWithTheFormulas) {
    Bench b(QDateTime(QDate(2016, 7, 7), QTime(0, 1)));
    EXPECT_EQ(b.bench->calendarSource(), kFormula);
    EXPECT_TRUE(b.stored().isNull());
    EXPECT_EQ(b.bench->chart().termText, QString());
}

TEST(CalendarChoice, YearsOutsideTheEphemerisFallBackWithAMessage) {
    struct Case {
        QDate today;
        bool fallsBack;
    };
    for (const Case& c : {Case{QDate(2101, 3, 1), true}, Case{QDate(1899, 12, 31), true},
                          Case{QDate(2100, 12, 31), false}, Case{QDate(1900, 1, 1), false}}) {
        SCOPED_TRACE(c.today.toString(Qt::ISODate).toStdString());
        Bench b(QDateTime(c.today, QTime(12, 0)));
        const QString formulaLabel = b.bench->chart().pillarLabel;
        b.bench->setCalendarSource(kAstro);
        if (c.fallsBack) {
            ASSERT_EQ(b.prompter.messages.size(), 1);
            EXPECT_TRUE(b.prompter.messages[0].contains(QString::number(c.today.year())));
            EXPECT_EQ(b.bench->chart().pillarLabel, formulaLabel);
            EXPECT_FALSE(b.bench->chart().termText.endsWith(u'天'));
            // The choice is kept: the message comes again with the next run's pillars.
            b.restart();
            EXPECT_EQ(b.prompter.messages.size(), 2);
        } else {
            EXPECT_TRUE(b.prompter.messages.isEmpty());
        }
    }
}

}  // namespace
