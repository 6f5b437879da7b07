// The casting dialog's model over the shipped rows: casts of every kind, the texts it shows and
// the cases it stores.
#include "casting/cast_session.h"
#include "casting/cast_text.h"

#include <gtest/gtest.h>
#include <QSqlQuery>
#include <QVariant>

#include "store/database.h"
#include "store/sqlite_divination_data.h"
#include "test_support/qt_printers.h"

namespace {

using casting::CastOutcome;
using casting::CastSession;
using casting::RandomPlatform;
using casting::RandomSource;
using casting::SourceKind;
using store::ChartStyle;
using Kind = CastOutcome::Kind;

class CastSessionTest : public ::testing::Test {
protected:
    CastSessionTest() : db(store::Database::openInMemory()), data(*db), settings(*db), cases(*db, history) {}

    // A session whose pseudo generator is seeded with seed, shown at now.
    std::unique_ptr<CastSession> session(ChartStyle option, quint32 seed, SourceKind kind = SourceKind::Pseudo,
                                         std::function<std::optional<quint32>()> hardware = {}) {
        settings.set(store::setting::castingMethod, qint64(option));
        RandomPlatform platform;
        platform.seed = [seed] { return seed; };
        platform.wait = [] {};
        if (hardware) platform.hardware = std::move(hardware);
        auto s = std::make_unique<CastSession>(data, settings, RandomSource(kind, platform), [this] { return now; });
        s->onSourceText = [this](const QString& text) { sourceTexts << text; };
        s->show();
        s->afterShow(QStringList{QStringLiteral("求财"), QStringLiteral("杂类"), QStringLiteral("事业")});
        return s;
    }

    qint64 storedCases() { return db->getFirstInteger(QStringLiteral("select count(*) from gua_table")); }

    QDateTime now{QDate(2024, 2, 4), QTime(16, 25)};
    std::unique_ptr<store::Database> db;
    store::SqliteDivinationData data;
    store::Settings settings;
    store::CaseHistory history;
    store::CaseStore cases;
    QStringList sourceTexts;
};

TEST_F(CastSessionTest, ComputerCastsFollowTheSeed) {
    // Draws below 8 worked out from the generator; each becomes a line value, 初爻 first.
    struct Case {
        ChartStyle option;
        quint32 seed;
        const char16_t* caseString;
        const char16_t* names;
    };
    const Case cases[] = {
        // 3 2 0 4 5 2 → 2 1 4 1 2 1
        {ChartStyle::Jingfang, 12345, u"20240204121412京房式T:16:25:00", u"主卦：火水未济 变卦：火风鼎"},
        // the method takes the first draw (3 → 少阴: 京房式), the lines the next six
        {ChartStyle::Random, 12345, u"20240204212141京房式T:16:25:00", u"主卦：水火既济 变卦：水天需"},
        // first draw 0 → 老阴: 藏山卜
        {ChartStyle::Random, 99, u"20240204222121藏山卜T:16:25:00", u"地火明夷"},
        {ChartStyle::Zangshan, 7, u"20240204142121藏山卜T:16:25:00", u"主卦：山火贲 变卦：风火家人"},
    };
    for (const Case& c : cases) {
        auto s = session(c.option, c.seed);
        const CastOutcome out = s->computerCast();
        ASSERT_EQ(out.kind, Kind::Finished);
        EXPECT_TRUE(out.resetMain);
        ASSERT_TRUE(out.cast.has_value());
        EXPECT_EQ(out.cast->caseString, QString::fromUtf16(c.caseString));
        EXPECT_EQ(out.cast->nameLabel, QString::fromUtf16(c.names));
        EXPECT_EQ(s->lines().nameLabel(), QString::fromUtf16(c.names));
        EXPECT_EQ(out.method == chart::ArrangementMethod::Zangshan,
                  QString::fromUtf16(c.caseString).contains(QStringLiteral("藏山卜")));
    }
}

TEST_F(CastSessionTest, ComputerCastWithRandomDate) {
    // Seed 1: the date draw below 21900 is 687 days; the lines continue the sequence 6 1 2 5 2 1.
    auto s = session(ChartStyle::Jingfang, 1);
    s->randomDate = true;
    const CastOutcome out = s->computerCast();
    ASSERT_EQ(out.kind, Kind::Finished);
    EXPECT_EQ(out.cast->date, QDate(2022, 3, 19));
    EXPECT_EQ(s->secondTab.date, QDate(2022, 3, 19));
    EXPECT_EQ(out.cast->caseString, QStringLiteral("20220319112112京房式T:16:25:00"));
    EXPECT_EQ(sourceTexts.first(), QStringLiteral("生成随机日期，请耐心等待……"));
}

TEST_F(CastSessionTest, ProgressTextsOfTheTwoSources) {
    auto pseudo = session(ChartStyle::Jingfang, 5);
    EXPECT_EQ(pseudo->sourceText(), QStringLiteral("电脑伪随机数可用"));
    pseudo->computerCast();
    EXPECT_EQ(sourceTexts,
              (QStringList{QStringLiteral("正在取初爻，请耐心等待……"), QStringLiteral("正在取二爻，请耐心等待……"),
                           QStringLiteral("正在取三爻，请耐心等待……"), QStringLiteral("正在取四爻，请耐心等待……"),
                           QStringLiteral("正在取五爻，请耐心等待……"), QStringLiteral("正在取上爻，请耐心等待……"),
                           QStringLiteral("电脑伪随机数可用。")}));
    EXPECT_EQ(pseudo->sourceText(), QStringLiteral("电脑伪随机数可用。"));

    sourceTexts.clear();
    auto hardware = session(ChartStyle::Jingfang, 5, SourceKind::Hardware, [] { return std::optional<quint32>(7); });
    const CastOutcome out = hardware->computerCast();
    EXPECT_TRUE(sourceTexts.isEmpty());
    EXPECT_EQ(hardware->sourceText(), QStringLiteral("CPU硬件真随机数可用"));
    EXPECT_EQ(out.cast->codes, (std::array<int, 6>{3, 3, 3, 3, 3, 3}));
}

TEST_F(CastSessionTest, ComputerCastWithoutASourceStops) {
    auto s = session(ChartStyle::Jingfang, 5, SourceKind::None);
    EXPECT_EQ(s->sourceText(), QStringLiteral("电脑起卦不可用"));
    const CastOutcome out = s->computerCast();
    EXPECT_EQ(out.kind, Kind::Message);
    EXPECT_TRUE(out.message.startsWith(QStringLiteral("您的电脑不支持硬件真随机数")));
    EXPECT_FALSE(out.resetMain);
}

TEST_F(CastSessionTest, SubjectsAreMarkedWithTheWayOfTheCast) {
    struct Case {
        bool computer;
        const char16_t* subject;
        const char16_t* stored;
    };
    const Case cases[] = {
        {true, u"问财运", u"(电脑卦)问财运"}, {true, u"电脑卦再问", u"电脑卦再问"}, {true, u"", u""},
        {false, u"问财运", u"(手摇)问财运"},  {false, u"手摇一卦", u"手摇一卦"},    {false, u"", u""},
    };
    for (const Case& c : cases) {
        auto s = session(ChartStyle::Jingfang, 5);
        s->firstTab.subject = QString::fromUtf16(c.subject);
        if (!c.computer)
            for (int k = 0; k < 6; ++k) s->clickThrow(k);
        const CastOutcome out = c.computer ? s->computerCastFirstTab() : s->manualCastFirstTab();
        ASSERT_EQ(out.kind, Kind::Finished);
        EXPECT_EQ(s->secondTab.subject, QString::fromUtf16(c.stored));
    }
}

TEST_F(CastSessionTest, FirstTabCastNeedsEveryThrow) {
    auto s = session(ChartStyle::Jingfang, 5);
    for (int k : {0, 1, 2, 4, 5}) s->clickThrow(k);
    const CastOutcome out = s->manualCastFirstTab();
    EXPECT_EQ(out.kind, Kind::Message);
    EXPECT_EQ(out.message, QStringLiteral("“第四次摇得”位置请用鼠标点击来更改爻值。"));
    EXPECT_EQ(storedCases(), 0);
}

TEST_F(CastSessionTest, ManualCastCopiesTheFirstTabAndStoresTheCase) {
    auto s = session(ChartStyle::Jingfang, 5);
    s->firstTab.date = QDate(2024, 2, 4);
    s->firstTab.time = QTime(16, 25);
    s->firstTab.category = 0;  // 求财
    s->firstTab.sex = 0;
    s->firstTab.birthYear = QStringLiteral("1980");
    s->firstTab.subject = QStringLiteral("问财运");
    // Throws 初爻..上爻 clicked to 少阴, 一, o, x, 一, - -: top first 2 1 4 3 1 2.
    const int clicks[6] = {2, 1, 3, 4, 1, 2};
    for (int k = 0; k < 6; ++k)
        for (int i = 0; i < clicks[k]; ++i) s->clickThrow(k);
    const CastOutcome out = s->manualCastFirstTab();
    ASSERT_EQ(out.kind, Kind::Finished);
    EXPECT_EQ(out.cast->codes, (std::array<int, 6>{2, 1, 4, 3, 1, 2}));
    EXPECT_EQ(out.cast->caseString, QStringLiteral("20240204214312京房式T:16:25:00"));

    const store::CreateResult result = s->handOver(cases, *out.cast);
    EXPECT_TRUE(result.stored);
    QSqlQuery row = db->select(
        QStringLiteral(
            "select gua_ming,gua_bianhao,lei_id,nian,yue,ri,xingbie,chusheng,shiyou from gua_table where id=?"),
        {cases.record().caseId});
    ASSERT_TRUE(row.next());
    EXPECT_EQ(row.value(0).toString(), out.cast->nameLabel);
    EXPECT_EQ(row.value(1).toString(), QStringLiteral("20240204214312京房式T:16:25:00"));
    EXPECT_EQ(row.value(2).toInt(), 2);  // 求财
    EXPECT_EQ(row.value(3).toInt(), 2024);
    EXPECT_EQ(row.value(4).toInt(), 2);
    EXPECT_EQ(row.value(5).toInt(), 4);
    EXPECT_EQ(row.value(6).toString(), QStringLiteral("男"));
    EXPECT_EQ(row.value(7).toString(), QStringLiteral("1980"));
    EXPECT_EQ(row.value(8).toString(), QStringLiteral("(手摇)问财运"));
    EXPECT_EQ(history.entries().last(), store::CaseHistory::localEntry(cases.record().caseId));
}

// The question type goes from the tab cast on to the case handed to the store.
TEST(CastHandover, QuestionTypeGoesWithTheCase) {
    casting::CaseInputs first;
    first.question = QStringLiteral("求财");
    casting::CaseInputs second;
    casting::copyCommonInputs(first, second);
    EXPECT_EQ(casting::finishCast({}, second, {}, false).questionType, QStringLiteral("求财"));
    EXPECT_EQ(casting::finishCast({}, casting::CaseInputs{}, {}, false).questionType, QString());
}

TEST_F(CastSessionTest, ChartOnlyStoresNothingAndIsUncheckedAfterwards) {
    auto s = session(ChartStyle::Jingfang, 5);
    s->chartOnly = true;
    const CastOutcome out = s->computerCast();
    const store::CreateResult result = s->handOver(cases, *out.cast);
    EXPECT_FALSE(result.stored);
    EXPECT_EQ(storedCases(), 0);
    EXPECT_FALSE(s->chartOnly);
    const CastOutcome next = s->computerCast();
    EXPECT_TRUE(s->handOver(cases, *next.cast).stored);
    EXPECT_EQ(storedCases(), 1);
}

TEST_F(CastSessionTest, DefaultCategoryAfterShowIsTheMiscellaneousOne) {
    auto s = session(ChartStyle::Jingfang, 5);
    EXPECT_EQ(s->firstTab.category, 1);
    EXPECT_EQ(s->secondTab.category, 1);
    s->afterShow({QStringLiteral("求财")});
    EXPECT_EQ(s->secondTab.category, 0);
    s->afterShow({});
    EXPECT_EQ(s->secondTab.category, -1);
}

TEST_F(CastSessionTest, CastByName) {
    now = QDateTime(QDate(2026, 12, 8), QTime(9, 0));
    auto s = session(ChartStyle::Jingfang, 5);
    s->nameOrNumber = QStringLiteral("丙寅月戊戌日 天风姤之乾为天");
    EXPECT_EQ(s->castByNameOrNumber().kind, Kind::Stay);
    EXPECT_EQ(s->secondTab.date, QDate(2024, 2, 4));
    EXPECT_TRUE(s->dateLabels().header.contains(QStringLiteral("戊戌日")));
    EXPECT_EQ(s->lines().nameLabel(), QStringLiteral("2024-02-04 本卦：天风姤 变卦：乾为天"));

    // Finishing reads the text again and casts its lines.
    const CastOutcome out = s->finishManualCast();
    ASSERT_EQ(out.kind, Kind::Finished);
    EXPECT_EQ(out.cast->codes, (std::array<int, 6>{1, 1, 1, 1, 1, 4}));
    EXPECT_EQ(out.cast->caseString, QStringLiteral("20240204111114京房式T:09:00:00"));
    EXPECT_EQ(out.cast->nameLabel, QStringLiteral("2024-02-04 本卦：天风姤 变卦：乾为天"));
}

TEST_F(CastSessionTest, CaseNumbersGoToTheMainWindow) {
    auto s = session(ChartStyle::Jingfang, 5);
    s->nameOrNumber.clear();
    EXPECT_EQ(s->castByNameOrNumber().message, QStringLiteral("请输入卦例id或者卦名，卦例ID是一个14位长的数字串。"));
    s->nameOrNumber = QStringLiteral("20240204123412");
    CastOutcome out = s->castByNameOrNumber();
    EXPECT_EQ(out.kind, Kind::CaseNumber);
    EXPECT_EQ(out.caseNumber, QStringLiteral("20240204123412"));
    // "完成手工起卦" with a case number in the field enters it instead of casting the lines.
    out = s->finishManualCast();
    EXPECT_EQ(out.kind, Kind::CaseNumber);
    EXPECT_FALSE(out.cast.has_value());
}

TEST_F(CastSessionTest, ANameWithoutRowsLeavesLinesUnchosen) {
    auto s = session(ChartStyle::Jingfang, 5);
    s->nameOrNumber = QStringLiteral("天夬火");  // spans two names of the 64-name text
    const CastOutcome out = s->finishManualCast();
    EXPECT_EQ(out.kind, Kind::Message);
    EXPECT_EQ(out.message, QStringLiteral("请全部爻选择完毕。"));
    EXPECT_TRUE(out.chartLinesCleared);
}

TEST_F(CastSessionTest, LineAndThrowClicksEmptyTheNameField) {
    auto s = session(ChartStyle::Jingfang, 5);
    s->nameOrNumber = QStringLiteral("姤");
    s->clickLine(2);
    EXPECT_TRUE(s->nameOrNumber.isEmpty());
    s->nameOrNumber = QStringLiteral("姤");
    s->clickThrow(2);
    EXPECT_TRUE(s->nameOrNumber.isEmpty());
}

TEST_F(CastSessionTest, NextLineFinishesFromTheTopLine) {
    auto s = session(ChartStyle::Jingfang, 5);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(s->nextLine().kind, Kind::Stay);
    EXPECT_EQ(s->lines().checkedLine(), 5);
    const CastOutcome out = s->nextLine();
    EXPECT_EQ(out.kind, Kind::Finished);
    EXPECT_EQ(out.cast->codes, (std::array<int, 6>{1, 1, 1, 1, 1, 1}));
}

TEST_F(CastSessionTest, MatchPillarsTakesTheLastBranchAsTheDay) {
    now = QDateTime(QDate(2026, 12, 8), QTime(9, 0));
    auto s = session(ChartStyle::Jingfang, 5);
    EXPECT_FALSE(s->matchPillars(QString()));
    EXPECT_FALSE(s->matchPillars(QStringLiteral("丙寅")));
    EXPECT_EQ(s->secondTab.date, QDate(2026, 12, 8));
    EXPECT_TRUE(s->matchPillars(QStringLiteral("丙寅戊戌甲子")));
    EXPECT_EQ(s->secondTab.date, QDate(2024, 3, 1));  // 甲子 = 戊戌 + 26 days, still before 惊蛰
}

TEST_F(CastSessionTest, DateChangeShowsHeaderAndTerm) {
    auto s = session(ChartStyle::Jingfang, 5);
    s->secondTab.date = QDate(2024, 2, 4);
    s->dateChanged();
    EXPECT_EQ(s->dateLabels().term, QStringLiteral("立春16:25"));
    EXPECT_TRUE(s->dateLabels().header.contains(QStringLiteral("2024-02-04")));
    s->secondTab.date = QDate(2024, 2, 5);
    s->dateChanged();
    EXPECT_TRUE(s->dateLabels().term.isEmpty());
}

// 小暑 2016 is at 2016-07-07 00:03 Beijing time (Hong Kong Observatory's table of the 24 solar
// terms); the closed formulas put it on 6 July. 2016-07-06 is 己丑, 07-07 庚寅 (from 2000-01-01 =
// 戊午); the 午 and 未 months of a 丙 year are 甲午 and 乙未.
TEST_F(CastSessionTest, DateLabelsAndThePillarSearchFollowTheCalendarSource) {
    struct Case {
        cal::CalendarSource source;
        const char16_t* header;        // the start of the date header for 2016-07-07 00:01
        const char16_t* term;          // its term text
        const char16_t* foundPillars;  // month and day pillars that find 2016-07-06
        const char16_t* otherPillars;  // the other month with that day: not 2016-07-06
    };
    const Case cases[] = {
        {cal::CalendarSource::Formula, u"丙申年 乙未月 庚寅日", u"", u"乙未己丑", u"甲午己丑"},
        {cal::CalendarSource::Astronomical, u"丙申年 甲午月 庚寅日", u"小暑0:3天", u"甲午己丑", u"乙未己丑"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(cal::calendarSourceName(c.source)));
        now = QDateTime(QDate(2016, 7, 10), QTime(9, 0));
        auto s = session(ChartStyle::Jingfang, 5);
        s->calendarSource = c.source;
        s->secondTab.date = QDate(2016, 7, 7);
        s->secondTab.time = QTime(0, 1);
        s->dateChanged();
        EXPECT_TRUE(s->dateLabels().header.startsWith(QString::fromUtf16(c.header)))
            << s->dateLabels().header.toStdString();
        EXPECT_EQ(s->dateLabels().term, QString::fromUtf16(c.term));
        EXPECT_TRUE(s->matchPillars(QString::fromUtf16(c.foundPillars)));
        EXPECT_EQ(s->secondTab.date, QDate(2016, 7, 6));
        EXPECT_TRUE(s->matchPillars(QString::fromUtf16(c.otherPillars)));
        EXPECT_NE(s->secondTab.date, QDate(2016, 7, 6));
        // A case text with a bare-branch month completes the stem under the same source.
        const casting::CastTextResult read =
            casting::readCastText({QStringLiteral(" 未月己丑日 天风姤")}, data, QDate(2016, 7, 10), c.source);
        ASSERT_TRUE(read.date.has_value());
        EXPECT_EQ(*read.date == QDate(2016, 7, 6), c.source == cal::CalendarSource::Formula);
    }
}

TEST_F(CastSessionTest, MethodOptionIsKeptInRow86) {
    auto s = session(ChartStyle::Random, 5);
    EXPECT_EQ(s->methodOption(), ChartStyle::Random);
    s->setMethodOption(ChartStyle::Zangshan);
    EXPECT_EQ(settings.get(store::setting::castingMethod), 2);
    CastSession again(data, settings);
    EXPECT_EQ(again.methodOption(), ChartStyle::Zangshan);
}

}  // namespace
