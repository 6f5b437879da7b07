// The current case on its own: what each operation leaves in the chart, the texts, the store
// and the signals the windows listen to; and that a failing database is reported, never thrown.
#include "workbench/workbench.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include <QSignalSpy>
#include <QTemporaryDir>

#include "store/data_root.h"
#include "test_support/qt_printers.h"
#include "test_support/sample_cast.h"
#include "test_support/scripted_prompter.h"
#include "workbench/clock.h"

namespace {

using store::TextsToSave;
using workbench::Workbench;

struct Bench {
    QTemporaryDir dir;
    workbench::FixedClock clock{QDateTime(QDate(2024, 2, 4), QTime(16, 24))};
    ScriptedPrompter prompter;
    std::unique_ptr<store::Database> db = store::Database::open(store::databaseFilePath(dir.path()));
    Workbench bench{*db, clock, prompter, dir.path()};

    qint64 count(const char* table) const {
        return db->getFirstInteger(QStringLiteral("select count(*) from %1").arg(QLatin1String(table)));
    }
    // Every later write to the table fails with the database's own error.
    void breakWrites(const char* table) {
        for (const char* event : {"insert", "update", "delete"})
            db->execute(
                QStringLiteral(
                    "create trigger broken_%1_%2 before %2 on %1 begin select raise(abort, 'disk I/O error'); end")
                    .arg(QLatin1String(table), QLatin1String(event)));
    }
};

TEST(Workbench, StartsWithTodaysPillarsAndNoChart) {
    Bench b;
    EXPECT_TRUE(b.bench.chart().isEmpty());
    // 16:24 is three minutes before 立春 (16:27): the month is still 乙丑.
    EXPECT_TRUE(b.bench.chart().pillarLabel.startsWith(QStringLiteral("甲辰年 乙丑月 戊戌日")));
    EXPECT_FALSE(b.bench.judgmentUnsaved());
}

TEST(Workbench, CaseNumberBuildsTheChartAndSignals) {
    Bench b;
    QSignalSpy changed(&b.bench, &Workbench::chartChanged);
    ASSERT_TRUE(b.bench.enterCaseNumber(QStringLiteral("20240204111112T:16:24:00")));  // 天风姤
    EXPECT_EQ(b.bench.chart().main[0].hexagramName, QStringLiteral("天风姤"));
    EXPECT_EQ(b.bench.caseNumberText(), QStringLiteral("20240204111112"));
    EXPECT_GE(changed.count(), 1);

    EXPECT_FALSE(b.bench.enterCaseNumber(QStringLiteral("2024")));
    EXPECT_EQ(b.prompter.messages.last(), QStringLiteral("六爻ID必须是14位，长度不对"));
    EXPECT_EQ(b.bench.chart().main[0].hexagramName, QStringLiteral("天风姤"));  // a bad entry changes nothing
}

TEST(Workbench, ViewsSwitchAndTheEntryResetsThem) {
    Bench b;
    ASSERT_TRUE(b.bench.enterCaseNumber(QStringLiteral("20240204311111T:16:24:00")));
    b.bench.toggleChangedView();
    EXPECT_TRUE(b.bench.view().showingChanged);
    b.bench.toggleInvertedView();
    EXPECT_TRUE(b.bench.view().inverted);
    EXPECT_EQ(b.bench.chart().main[0].hexagramName, QStringLiteral("坤为地"));
    ASSERT_TRUE(b.bench.enterCaseNumber(QStringLiteral("20240204111111")));
    EXPECT_FALSE(b.bench.view().inverted);
    EXPECT_FALSE(b.bench.view().showingChanged);
}

TEST(Workbench, TheQuestionTypeIsSavedIntoTheRowOfTheCaseOnView) {
    Bench b;
    ASSERT_TRUE(b.bench.storeCast(sampleCast(u"20240204111111京房式T:10:00:00", u"甲")));
    ASSERT_TRUE(b.bench.storeCast(sampleCast(u"20240204111111京房式T:10:00:00", u"甲")));
    ASSERT_TRUE(b.bench.openLocalCase(1));
    ASSERT_TRUE(b.bench.setQuestionType(QStringLiteral("求财")));
    EXPECT_EQ(b.db->getFirstItems(QStringLiteral("select zhanlei from gua_table order by id")),
              (QStringList{QStringLiteral("求财"), QString()}));
    ASSERT_TRUE(b.bench.enterCaseNumber(QStringLiteral("20240204111112T:16:24:00")));  // no stored case
    ASSERT_TRUE(b.bench.setQuestionType(QStringLiteral("婚姻")));
    EXPECT_EQ(b.bench.questionType(), QStringLiteral("婚姻"));
    ASSERT_TRUE(b.bench.openLocalCase(1));
    EXPECT_EQ(b.bench.questionType(), QStringLiteral("求财"));
    EXPECT_EQ(b.db->getFirstInteger(QStringLiteral("select count(*) from gua_table where zhanlei='婚姻'")), 0);
}

// A case stored before dates were kept to 1900..2100 still opens, its pillars from the formulas;
// the same number typed is refused. 1850-02-04 is 18228 days before 1900-01-01 (甲戌): 丙戌.
TEST(Workbench, AStoredCaseOutsideTheCalendarsDatesStillOpens) {
    Bench b;
    b.db->execute(
        QStringLiteral("insert into gua_table(gua_ming,gua_bianhao,nian,yue,ri,xingbie,chusheng,shiyou) "
                       "values('乾为天','18500204111111京房式T:12:00:00',1850,2,4,'男','','')"));
    ASSERT_TRUE(b.bench.openLocalCase(1));
    EXPECT_EQ(b.bench.chart().main[0].hexagramName, QStringLiteral("乾为天"));
    EXPECT_TRUE(b.bench.chart().pillarLabel.contains(QStringLiteral("丙戌日")))
        << b.bench.chart().pillarLabel.toStdString();
    EXPECT_TRUE(b.prompter.messages.isEmpty());
    EXPECT_FALSE(b.bench.enterCaseNumber(QStringLiteral("18500204111111京房式T:12:00:00")));
    EXPECT_TRUE(b.prompter.messages.value(0).contains(QStringLiteral("1900-01-01 至 2100-12-31")));
}

TEST(Workbench, OptionsAreKeptForTheNextRun) {
    Bench b;
    b.bench.setShowStems(false);
    b.bench.setShowAllChanged(true);
    b.bench.setHighlightClashes(false);
    Workbench next(*b.db, b.clock, b.prompter, b.dir.path());
    EXPECT_FALSE(next.options().showStems);
    EXPECT_TRUE(next.options().showAllChanged);
    EXPECT_FALSE(next.options().highlightClashes);
}

TEST(Workbench, TextsAreUnsavedUntilSavedAndLoadedCasesAreSaved) {
    Bench b;
    ASSERT_TRUE(b.bench.storeCast(sampleCast(u"20240204111111京房式T:10:00:00", u"甲")));
    QSignalSpy unsaved(&b.bench, &Workbench::unsavedChanged);
    b.bench.editJudgment(QStringLiteral("断：财可得"));
    b.bench.editJudgment(QStringLiteral("断：财可得。"));
    EXPECT_TRUE(b.bench.judgmentUnsaved());
    EXPECT_FALSE(b.bench.feedbackUnsaved());
    EXPECT_EQ(unsaved.count(), 1);
    ASSERT_TRUE(b.bench.saveTexts(TextsToSave::Judgment));
    EXPECT_FALSE(b.bench.judgmentUnsaved());
    EXPECT_EQ(b.db->getFirstString(QStringLiteral("select duanyu from gua_table")), QStringLiteral("断：财可得。"));

    b.bench.clearCaseTexts();
    QSignalSpy replaced(&b.bench, &Workbench::caseTextsChanged);
    ASSERT_TRUE(b.bench.openLocalCase(1));
    EXPECT_EQ(replaced.count(), 1);
    EXPECT_EQ(b.bench.judgment(), QStringLiteral("断：财可得。"));
    EXPECT_FALSE(b.bench.judgmentUnsaved());
    EXPECT_EQ(b.bench.caseHeader(), QStringLiteral("性别:男 出生:1980 占事甲"));
    EXPECT_EQ(b.bench.chart().main[0].hexagramName, QStringLiteral("乾为天"));
}

TEST(Workbench, RequestsAskTheSavePromptFirst) {
    const struct {
        std::deque<workbench::Prompter::Answer> answers;
        bool castRequested;
        bool browserRequested;  // the prompt comes again while the text is unsaved, and is cancelled
    } cases[] = {{{workbench::Prompter::Answer::Cancel}, false, false},
                 {{workbench::Prompter::Answer::No}, true, false},
                 {{workbench::Prompter::Answer::Yes}, true, true}};
    for (const auto& c : cases) {
        Bench b;
        ASSERT_TRUE(b.bench.storeCast(sampleCast(u"20240204111111京房式T:10:00:00", u"甲")));
        QSignalSpy cast(&b.bench, &Workbench::castRequested);
        QSignalSpy browser(&b.bench, &Workbench::caseBrowserRequested);
        b.bench.editFeedback(QStringLiteral("应验"));
        b.prompter.saveAnswers = c.answers;
        b.bench.requestCast();
        EXPECT_EQ(cast.count(), c.castRequested ? 1 : 0);
        EXPECT_EQ(b.prompter.savePrompts, 1);
        b.bench.requestCaseBrowser();
        EXPECT_EQ(browser.count(), c.browserRequested ? 1 : 0);
        EXPECT_EQ(b.prompter.savePrompts, c.browserRequested ? 1 : 2);
    }
}

TEST(Workbench, ReportReplacesTheJudgmentAndCountsAsAnEdit) {
    Bench b;
    ASSERT_TRUE(b.bench.enterCaseNumber(QStringLiteral("20240204311111T:16:24:00")));
    b.bench.editJudgment(QStringLiteral("旧的断语"));
    b.prompter.answers = {workbench::Prompter::Answer::Yes};  // the chart of a typed number: stored as a new case
    ASSERT_TRUE(b.bench.saveTexts(TextsToSave::Judgment));
    b.bench.runReport(0, 0);
    EXPECT_FALSE(b.bench.judgment().isEmpty());
    EXPECT_FALSE(b.bench.judgment().contains(QStringLiteral("旧的断语")));
    EXPECT_TRUE(b.bench.judgmentUnsaved());
}

TEST(Workbench, ClickOnALineInHighlightModeMarksItsRelations) {
    Bench b;
    ASSERT_TRUE(b.bench.enterCaseNumber(QStringLiteral("20240204311111T:16:24:00")));
    b.bench.setHighlightClashes(true);
    b.bench.clickChart(300, 110);  // the main line of the second row
    EXPECT_FALSE(b.bench.judgment().isEmpty());
    b.bench.setHighlightClashes(false);
    b.bench.editJudgment({});
    b.bench.clickChart(300, 145);
    EXPECT_TRUE(b.bench.judgment().isEmpty());
}

bool anyHighlight(const chart::ChartState& chart) {
    return std::any_of(chart.highlight.begin(), chart.highlight.end(), [](int flag) { return flag != 0; });
}

// The refresh button and the whole-chart report clear the colours of an earlier click; the
// popup's redraw keeps them.
TEST(Workbench, WhichRedrawsClearTheHighlights) {
    struct Case {
        const char* what;
        std::function<void(Workbench&)> action;
        bool cleared;
    };
    for (const Case& c : {Case{"refresh button", [](Workbench& w) { w.refresh(); }, true},
                          Case{"popup redraw", [](Workbench& w) { w.redrawKeepingHighlights(); }, false},
                          Case{"whole-chart report", [](Workbench& w) { w.runReport(0, 0); }, true}}) {
        Bench b;
        ASSERT_TRUE(b.bench.enterCaseNumber(QStringLiteral("20240204311111T:16:24:00")));
        b.bench.setHighlightClashes(true);
        b.bench.clickChart(300, 110);
        ASSERT_TRUE(anyHighlight(b.bench.chart())) << c.what;
        QSignalSpy changed(&b.bench, &Workbench::chartChanged);
        c.action(b.bench);
        EXPECT_EQ(anyHighlight(b.bench.chart()), !c.cleared) << c.what;
        EXPECT_GE(changed.count(), 1) << c.what;
    }
}

// With no chart the whole-chart report still writes the day's lines, then says the world and
// response marks are missing. 2024-02-04 is a 戊戌 day: horse 申, blossom 卯 (戌 of 寅午戌),
// nobles 丑未 (戊).
TEST(Workbench, WholeChartReportOnAnEmptyChartEndsWithItsMessage) {
    Bench b;
    ASSERT_TRUE(b.bench.chart().isEmpty());
    b.bench.runReport(0, 0);
    ASSERT_FALSE(b.prompter.messages.isEmpty());
    EXPECT_EQ(b.prompter.messages.last(), QStringLiteral("错误，缺少世应关键字。"));
    EXPECT_TRUE(b.bench.judgment().startsWith(QStringLiteral("驿马-申 桃花-卯\n贵人-丑未\n")))
        << b.bench.judgment().toStdString();
}

// A failing database during any kind of operation shows the database's text and leaves the
// current case as it was; nothing is thrown to the caller.
TEST(Workbench, DatabaseFailuresAreShownNotThrown) {
    Bench b;
    ASSERT_TRUE(b.bench.enterCaseNumber(QStringLiteral("20240204311111T:16:24:00")));
    ASSERT_TRUE(b.bench.storeCast(sampleCast(u"20240204111111京房式T:10:00:00", u"甲")));
    b.breakWrites("zhi");
    b.breakWrites("gua_table");

    EXPECT_NO_THROW(b.bench.setShowStems(false));
    EXPECT_TRUE(b.prompter.messages.last().startsWith(QStringLiteral("disk I/O error")));
    EXPECT_FALSE(b.bench.options().showStems);  // the option holds for this run

    b.bench.editJudgment(QStringLiteral("要保存的断语"));
    bool saved = true;
    EXPECT_NO_THROW(saved = b.bench.saveTexts(TextsToSave::Judgment));
    EXPECT_FALSE(saved);
    EXPECT_TRUE(b.bench.judgmentUnsaved());
    EXPECT_EQ(b.bench.judgment(), QStringLiteral("要保存的断语"));

    b.db->execute(QStringLiteral("drop table gua_table"));
    bool shown = false;
    b.prompter.saveAnswers = {workbench::Prompter::Answer::No};
    EXPECT_NO_THROW(b.bench.recentCases([&](const QList<store::CaseListRow>&) { shown = true; }));
    EXPECT_FALSE(shown);
    EXPECT_NO_THROW(EXPECT_FALSE(b.bench.openLocalCase(1)));
    EXPECT_EQ(b.prompter.messages.last().left(14), QStringLiteral("no such table:"));
}

// The texts always go into the case whose chart is on view: a chart of a typed number or of a
// picked date is not the case loaded before it.
TEST(Workbench, TextsNeverGoIntoAnotherCase) {
    const struct {
        const char* name;
        std::function<void(Workbench&)> showOtherChart;
    } ways[] = {{"typed number", [](Workbench& w) { w.enterCaseNumber(QStringLiteral("20240204222222")); }},
                {"picked date", [](Workbench& w) { w.useCastDate(QDate(2024, 3, 1)); }}};
    for (const auto& way : ways) {
        for (const bool storeAsNew : {false, true}) {
            SCOPED_TRACE(std::string(way.name) + (storeAsNew ? ", stored as new" : ", refused"));
            Bench b;
            ASSERT_TRUE(b.bench.storeCast(sampleCast(u"20240204111111京房式T:10:00:00", u"甲")));
            ASSERT_TRUE(b.bench.openLocalCase(1));
            EXPECT_TRUE(b.bench.chartIsStoredCase());
            way.showOtherChart(b.bench);
            EXPECT_FALSE(b.bench.chartIsStoredCase());
            b.bench.editJudgment(QStringLiteral("新卦的断语"));
            b.prompter.answers = {storeAsNew ? workbench::Prompter::Answer::Yes : workbench::Prompter::Answer::No};
            EXPECT_EQ(b.bench.saveTexts(TextsToSave::Judgment), storeAsNew);
            EXPECT_EQ(b.db->getFirstString(QStringLiteral("select duanyu from gua_table where id=1")), QString());
            EXPECT_EQ(b.count("gua_table"), storeAsNew ? 2 : 1);
            EXPECT_EQ(b.bench.judgmentUnsaved(), !storeAsNew);
            if (storeAsNew) {
                EXPECT_EQ(b.db->getFirstString(QStringLiteral("select duanyu from gua_table where id=2")),
                          QStringLiteral("新卦的断语"));
                EXPECT_TRUE(b.bench.chartIsStoredCase());
            }
        }
    }
}

// Cases sharing a case number (an import adds one when its texts differ): whatever way the
// texts are saved, they go into the one case on view and no other.
TEST(Workbench, EverySaveGoesIntoTheCaseOnViewAloneAmongThoseSharingItsNumber) {
    const char16_t* const number = u"20000107113113京房式T:11:31:13";
    const char16_t* const subjectTexts[] = {u"甲", u"乙", u"丙"};
    const QStringList subjects{QStringLiteral("甲"), QStringLiteral("乙"), QStringLiteral("丙")};
    using Answer = workbench::Prompter::Answer;
    struct Way {
        const char* name;
        // Opens the case with this id (0: shows the number typed instead) and saves the edited texts.
        std::function<bool(Bench&, qint64, TextsToSave)> save;
    };
    const Way ways[] = {
        {"recent list and save button",
         [](Bench& b, qint64 id, TextsToSave choice) {
             b.bench.openRecentCase(QString::number(id) + QStringLiteral(";x;y;z"));
             if (choice != TextsToSave::Feedback) b.bench.editJudgment(QStringLiteral("新断"));
             if (choice != TextsToSave::Judgment) b.bench.editFeedback(QStringLiteral("新馈"));
             return b.bench.saveTexts(choice);
         }},
        {"save prompt",
         [](Bench& b, qint64 id, TextsToSave choice) {
             b.bench.openLocalCase(id);
             if (choice != TextsToSave::Feedback) b.bench.editJudgment(QStringLiteral("新断"));
             if (choice != TextsToSave::Judgment) b.bench.editFeedback(QStringLiteral("新馈"));
             b.prompter.saveAnswers = {Answer::Yes};
             b.bench.stepBack();
             return !b.bench.judgmentUnsaved() && !b.bench.feedbackUnsaved();
         }},
        {"typed number saved as a new case",
         [&](Bench& b, qint64, TextsToSave choice) {
             b.bench.enterCaseNumber(QString::fromUtf16(number));
             if (choice != TextsToSave::Feedback) b.bench.editJudgment(QStringLiteral("新断"));
             if (choice != TextsToSave::Judgment) b.bench.editFeedback(QStringLiteral("新馈"));
             b.prompter.answers = {Answer::Yes};
             return b.bench.saveTexts(choice);
         }},
    };
    for (const int sharing : {2, 3})
        for (const Way& way : ways)
            for (const TextsToSave choice : {TextsToSave::Judgment, TextsToSave::Feedback, TextsToSave::Both}) {
                SCOPED_TRACE(testing::Message() << sharing << " sharing, " << way.name << ", choice " << int(choice));
                Bench b;
                QList<qint64> ids;
                for (int i = 0; i < sharing; ++i) {
                    ASSERT_TRUE(b.bench.storeCast(sampleCast(number, subjectTexts[i])));
                    ids << b.bench.caseStore().record().caseId;
                    b.db->execute(QStringLiteral("update gua_table set duanyu=?, fankui=? where id=?"),
                                  {subjects[i] + u'断', subjects[i] + u'馈', ids.last()});
                }
                const bool typed = QByteArray(way.name).startsWith("typed");
                const qint64 opened = typed ? 0 : ids[1];
                ASSERT_TRUE(way.save(b, opened, choice)) << b.prompter.messages.join(u'|').toStdString();
                const qint64 target = typed ? ids.last() + 1 : opened;
                EXPECT_EQ(b.count("gua_table"), typed ? sharing + 1 : sharing);
                const auto text = [&](const char* column, qint64 id) {
                    return b.db->getFirstString(
                        QStringLiteral("select %1 from gua_table where id=?").arg(QLatin1String(column)), {id});
                };
                for (int i = 0; i < sharing; ++i) {
                    if (ids[i] == target) continue;
                    EXPECT_EQ(text("duanyu", ids[i]), subjects[i] + u'断') << i;
                    EXPECT_EQ(text("fankui", ids[i]), subjects[i] + u'馈') << i;
                }
                const bool judgment = choice != TextsToSave::Feedback, feedback = choice != TextsToSave::Judgment;
                EXPECT_EQ(text("duanyu", target), judgment ? QStringLiteral("新断")
                                                  : typed  ? QString()
                                                           : QStringLiteral("乙断"));
                EXPECT_EQ(text("fankui", target), feedback ? QStringLiteral("新馈")
                                                  : typed  ? QString()
                                                           : QStringLiteral("乙馈"));
            }
}

// A text over 256 KiB is refused before anything is stored, and stays in the editor unsaved.
TEST(Workbench, ATextOverTheLengthLimitIsRefusedAndKept) {
    const QString tooLong(256 * 1024 + 1, u'a');
    Bench b;
    ASSERT_TRUE(b.bench.enterCaseNumber(QStringLiteral("20240204111112T:16:24:00")));
    b.bench.editJudgment(tooLong);
    b.prompter.answers = {workbench::Prompter::Answer::Yes};
    EXPECT_FALSE(b.bench.saveTexts(TextsToSave::Judgment));
    EXPECT_EQ(b.count("gua_table"), 0);  // not offered as a new case either
    ASSERT_EQ(b.prompter.messages.size(), 1);
    EXPECT_TRUE(b.prompter.messages[0].startsWith(QStringLiteral("断语太长"))) << b.prompter.messages[0].toStdString();
    EXPECT_EQ(b.bench.judgment(), tooLong);
    EXPECT_TRUE(b.bench.judgmentUnsaved());

    ASSERT_TRUE(b.bench.storeCast(sampleCast(u"20240204111111京房式T:10:00:00", u"甲")));
    b.bench.editJudgment(tooLong);
    b.bench.editFeedback(QStringLiteral("应验"));
    EXPECT_FALSE(b.bench.saveTexts(TextsToSave::Both));
    EXPECT_TRUE(b.bench.saveTexts(TextsToSave::Feedback));
    EXPECT_EQ(b.db->getFirstString(QStringLiteral("select duanyu||'/'||fankui from gua_table")),
              QStringLiteral("/应验"));
    EXPECT_TRUE(b.bench.judgmentUnsaved());
}

TEST(Workbench, WithoutAChartThereIsNothingToSaveInto) {
    Bench b;
    b.bench.editJudgment(QStringLiteral("断"));
    EXPECT_FALSE(b.bench.saveTexts(TextsToSave::Judgment));
    EXPECT_EQ(b.count("gua_table"), 0);
    EXPECT_TRUE(b.bench.judgmentUnsaved());
    EXPECT_EQ(b.prompter.messages.size(), 1);
}

// A save that fails in the save prompt stops what was under way, and keeps the text.
TEST(Workbench, AFailedSaveInThePromptStopsTheAction) {
    const struct {
        const char* name;
        std::function<void(Workbench&)> action;
    } actions[] = {{"recast", [](Workbench& w) { w.requestCast(); }},
                   {"case browser", [](Workbench& w) { w.requestCaseBrowser(); }},
                   {"previous case", [](Workbench& w) { w.stepBack(); }},
                   {"recent list", [](Workbench& w) { w.recentCases([](const QList<store::CaseListRow>&) {}); }}};
    for (const auto& a : actions) {
        SCOPED_TRACE(a.name);
        Bench b;
        ASSERT_TRUE(b.bench.storeCast(sampleCast(u"20240204111111京房式T:10:00:00", u"甲")));
        ASSERT_TRUE(b.bench.storeCast(sampleCast(u"20240204222222京房式T:10:00:00", u"乙")));
        b.bench.editJudgment(QStringLiteral("存不进去的断语"));
        b.breakWrites("gua_table");
        QSignalSpy cast(&b.bench, &Workbench::castRequested);
        QSignalSpy browser(&b.bench, &Workbench::caseBrowserRequested);
        const QString caseOnView = b.bench.caseHeader();
        b.prompter.saveAnswers = {workbench::Prompter::Answer::Yes};
        a.action(b.bench);
        EXPECT_EQ(b.prompter.savePrompts, 1);
        EXPECT_EQ(cast.count() + browser.count(), 0);
        EXPECT_EQ(b.bench.caseHeader(), caseOnView);  // no other case opened
        EXPECT_EQ(b.bench.judgment(), QStringLiteral("存不进去的断语"));
        EXPECT_TRUE(b.bench.judgmentUnsaved());
    }
}

TEST(Workbench, DeletingTheCaseOnViewLeavesItsTextsNowhereToGo) {
    Bench b;
    ASSERT_TRUE(b.bench.storeCast(sampleCast(u"20240204111111京房式T:10:00:00", u"甲")));
    ASSERT_TRUE(b.bench.openLocalCase(1));
    b.prompter.answers = {workbench::Prompter::Answer::No};
    EXPECT_FALSE(b.bench.deleteCase(1, QStringLiteral("1;甲")));  // not confirmed
    EXPECT_EQ(b.count("gua_table"), 1);
    QSignalSpy changed(&b.bench, &Workbench::casesChanged);
    b.prompter.answers = {workbench::Prompter::Answer::Yes};
    ASSERT_TRUE(b.bench.deleteCase(1, QStringLiteral("1;甲")));
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(b.count("gua_table"), 0);
    EXPECT_FALSE(b.bench.chartIsStoredCase());
    EXPECT_TRUE(b.bench.history().entries().isEmpty());
    // A save now offers a new case; refused, nothing comes back.
    b.bench.editJudgment(QStringLiteral("断"));
    b.prompter.answers = {workbench::Prompter::Answer::No};
    EXPECT_FALSE(b.bench.saveTexts(TextsToSave::Judgment));
    EXPECT_EQ(b.count("gua_table"), 0);
}

TEST(Workbench, CategoriesAreAddedMovedIntoAndDeleted) {
    Bench b;
    ASSERT_TRUE(b.bench.storeCast(sampleCast(u"20240204111111京房式T:10:00:00", u"甲")));
    ASSERT_TRUE(b.bench.addCategory(QStringLiteral("  客户王先生 ")));
    const qint64 added = b.db->getFirstInteger(QStringLiteral("select lei_id from fenlei_table where lei_mingcheng=?"),
                                               {QStringLiteral("客户王先生")});
    ASSERT_GT(added, 0);
    EXPECT_FALSE(b.bench.addCategory(QStringLiteral("客户王先生")));  // the whole name is taken
    ASSERT_TRUE(b.bench.moveCase(1, added));
    EXPECT_EQ(b.db->getFirstInteger(QStringLiteral("select lei_id from gua_table where id=1")), added);
    b.prompter.answers = {workbench::Prompter::Answer::Yes};
    ASSERT_TRUE(b.bench.deleteCategory(added, QStringLiteral("客户王先生")));
    EXPECT_TRUE(b.prompter.messages.last().contains(QStringLiteral("1个卦例")));
    EXPECT_EQ(b.count("gua_table"), 1);  // the case moved to 杂类, not lost
    EXPECT_EQ(b.db->getFirstString(QStringLiteral(
                  "select f.lei_mingcheng from gua_table g join fenlei_table f on f.lei_id=g.lei_id where g.id=1")),
              QStringLiteral("杂类"));
}

TEST(Workbench, BackupHoldsEveryCase) {
    Bench b;
    ASSERT_TRUE(b.bench.storeCast(sampleCast(u"20240204111111京房式T:10:00:00", u"甲")));
    ASSERT_TRUE(b.bench.openLocalCase(1));
    b.bench.editFeedback(QStringLiteral("应验"));
    ASSERT_TRUE(b.bench.saveTexts(TextsToSave::Feedback));
    const QString copy = b.dir.filePath(QStringLiteral("copy.db"));
    ASSERT_TRUE(b.bench.backUpTo(copy));
    auto restored = store::Database::open(copy);
    EXPECT_EQ(restored->getFirstString(QStringLiteral("select fankui from gua_table where id=1")),
              QStringLiteral("应验"));
    EXPECT_FALSE(b.bench.backUpTo(b.dir.filePath(QStringLiteral("no/such/folder/copy.db"))));
}

// Restoring replaces the library under the running workbench: the cases and options of the
// backup are what it sees afterwards, and nothing of this run's cases can be written into it.
TEST(Workbench, RestoreBringsBackTheBackupsCasesAndOptions) {
    Bench b;
    ASSERT_TRUE(b.bench.storeCast(sampleCast(u"20240204111111京房式T:10:00:00", u"甲")));
    const QString copy = b.dir.filePath(QStringLiteral("copy.db"));
    ASSERT_TRUE(b.bench.backUpTo(copy));
    b.bench.setShowStems(false);
    ASSERT_TRUE(b.bench.storeCast(sampleCast(u"20240204222222京房式T:10:00:00", u"乙")));
    ASSERT_TRUE(b.bench.openLocalCase(2));
    b.bench.editJudgment(QStringLiteral("乙的断语"));

    b.prompter.answers = {workbench::Prompter::Answer::No};
    EXPECT_FALSE(b.bench.restoreFrom(copy));  // not confirmed
    EXPECT_EQ(b.count("gua_table"), 2);
    EXPECT_FALSE(b.bench.restoreFrom(b.dir.filePath(QStringLiteral("missing.db"))));
    EXPECT_EQ(b.count("gua_table"), 2);

    QSignalSpy changed(&b.bench, &Workbench::casesChanged);
    b.prompter.answers = {workbench::Prompter::Answer::Yes};
    ASSERT_TRUE(b.bench.restoreFrom(copy));
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(b.count("gua_table"), 1);
    EXPECT_TRUE(b.bench.options().showStems);  // as stored in the backup
    EXPECT_TRUE(b.bench.history().entries().isEmpty());
    EXPECT_FALSE(b.bench.chartIsStoredCase());
    EXPECT_TRUE(b.bench.judgment().isEmpty());
    EXPECT_TRUE(b.prompter.messages.last().contains(QStringLiteral(".bak")));
    // A save offers a new case rather than writing into case 2 of the old library, or case 1.
    b.bench.editJudgment(QStringLiteral("新断语"));
    b.prompter.answers = {workbench::Prompter::Answer::Yes};
    ASSERT_TRUE(b.bench.saveTexts(TextsToSave::Judgment)) << b.prompter.messages.join(u'|').toStdString();
    EXPECT_EQ(b.count("gua_table"), 2);
    EXPECT_EQ(b.db->getFirstString(QStringLiteral("select duanyu from gua_table where id=1")), QString());
    EXPECT_EQ(b.db->getFirstString(QStringLiteral("select duanyu from gua_table where id=2")),
              QStringLiteral("新断语"));
}

}  // namespace
