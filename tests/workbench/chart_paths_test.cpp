// Every way into a chart leaves the chart a fresh build of its case number would give: casts by
// coins, by computer, by name and after matching pillars, a typed case number, the inverted view,
// a stored case opened, the history, the recent list and a calendar date, one after another,
// under both arrangement methods and with 显示全部变爻 on and off.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "casting/cast_session.h"
#include "chart/chart_state.h"
#include "store/data_root.h"
#include "test_support/qt_printers.h"
#include "test_support/scripted_prompter.h"
#include "workbench/case_items.h"
#include "workbench/clock.h"
#include "workbench/workbench.h"

namespace {

using casting::CastOutcome;
using chart::ArrangementMethod;
using workbench::Workbench;

const QDateTime kNow(QDate(2024, 2, 4), QTime(16, 24));

// The full case number of the chart on view, as `qinglan-cli chart` takes it.
QString fullNumber(const chart::ChartState& s) {
    return s.caseNumber + chart::methodWord(s.method) + QStringLiteral("T:") + s.castTime.toString(u"hh:mm:ss");
}

struct Library {
    QTemporaryDir dir;
    workbench::FixedClock clock{kNow};
    ScriptedPrompter prompter;
    std::unique_ptr<store::Database> db = store::Database::open(store::databaseFilePath(dir.path()));
    Workbench bench{*db, clock, prompter, dir.path()};
    casting::CastSession session{bench.divinationData(), bench.settings(),
                                 casting::RandomSource(casting::SourceKind::Pseudo), [] { return kNow; }};

    // The casting dialog's way to the chart: the cast handed over, the chart built from it.
    void finish(const CastOutcome& outcome) {
        ASSERT_EQ(outcome.kind, CastOutcome::Kind::Finished) << outcome.message.toStdString();
        ASSERT_TRUE(bench.takeCast(session, *outcome.cast));
        bench.rebuildFromCast();
    }
    void startCast(ArrangementMethod method) {
        session.show();
        session.afterShow(bench.caseLists().categoryNames());
        session.setMethodOption(method == ArrangementMethod::Zangshan ? store::ChartStyle::Zangshan
                                                                      : store::ChartStyle::Jingfang);
    }
    void castByCoins(int seed, ArrangementMethod method) {
        startCast(method);
        for (int line = 0; line < 6; ++line)
            for (int clicks = 0; clicks < (seed + line * 3) % 4; ++clicks) session.clickLine(line);
        finish(session.finishManualCast());
    }
};

// Independently of everything the library went through: the chart, its text copy and its
// whole-chart report as a new program shows them for the same number and options.
struct FreshBuild {
    QStringList text, report;
};
FreshBuild freshBuild(const QString& number, bool showAllChanged) {
    QTemporaryDir dir;
    workbench::FixedClock clock{kNow};
    ScriptedPrompter prompter;
    auto db = store::Database::openInMemory();
    Workbench bench{*db, clock, prompter, dir.path()};
    bench.setShowAllChanged(showAllChanged);
    EXPECT_TRUE(bench.enterCaseNumber(number));
    FreshBuild fresh{bench.chartTextLines(), {}};
    bench.runReport(0, 0);
    fresh.report = bench.judgment().split(u'\n');
    return fresh;
}

TEST(ChartPaths, EveryWayIntoAChartShowsTheChartOfItsCaseNumber) {
    Library lib;
    const QStringList names = {QStringLiteral("乾为天"), QStringLiteral("天风姤"), QStringLiteral("山水蒙"),
                               QStringLiteral("地天泰"), QStringLiteral("雷火丰"), QStringLiteral("坎为水")};
    const QStringList numbers = {
        QStringLiteral("20240204111112T:16:24:00"), QStringLiteral("20230715342143藏山卜T:09:10:00"),
        QStringLiteral("19991231444444T:23:59:00"), QStringLiteral("20000107113113京房式T:11:31:13")};
    QList<qint64> storedIds;
    for (int step = 0; step < 40; ++step) {
        const auto method = step % 3 == 1 ? ArrangementMethod::Zangshan : ArrangementMethod::Jingfang;
        const bool showAll = step % 4 >= 2;
        lib.bench.setShowAllChanged(showAll);
        const int path = step % 10;
        SCOPED_TRACE("step " + std::to_string(step) + " path " + std::to_string(path));
        switch (path) {
        case 0: lib.castByCoins(step, method); break;
        case 1:
            lib.startCast(method);
            lib.finish(lib.session.computerCast());
            break;
        case 2:
            lib.startCast(method);
            lib.session.nameOrNumber = names[(step / 10) % names.size()] + u' ' + names[(step / 10 + 1) % names.size()];
            lib.session.castByNameOrNumber();
            lib.finish(lib.session.finishManualCast());
            break;
        case 3: ASSERT_TRUE(lib.bench.enterCaseNumber(numbers[(step / 10) % numbers.size()])); break;
        case 4:
            lib.startCast(method);
            ASSERT_TRUE(lib.session.matchPillars(QStringLiteral("丙寅月 甲子日")));
            for (int line = 0; line < 6; ++line)
                for (int clicks = 0; clicks < (step + line) % 4; ++clicks) lib.session.clickLine(line);
            lib.finish(lib.session.finishManualCast());
            break;
        case 5: lib.bench.toggleInvertedView(); break;
        case 6: ASSERT_TRUE(lib.bench.openLocalCase(storedIds.at(step % storedIds.size()))); break;
        case 7: lib.bench.stepBack(); break;
        case 8: {
            QList<store::CaseListRow> rows;
            bool shown = false;
            lib.bench.recentCases([&](const QList<store::CaseListRow>& recent) {
                rows = recent;
                shown = true;
            });
            ASSERT_TRUE(shown);
            ASSERT_GE(rows.size(), 2);
            ASSERT_TRUE(lib.bench.openRecentCase(workbench::caseItemText(rows.at(1))));
            break;
        }
        case 9: lib.bench.useCastDate(QDate(2021, 6, 1).addDays(step * 37)); break;
        }
        if (path < 3 || path == 4) storedIds << lib.bench.caseStore().record().caseId;

        const chart::ChartState& chart = lib.bench.chart();
        ASSERT_FALSE(chart.isEmpty());
        int worlds = 0, responses = 0;
        for (const chart::ChartLine& line : chart.main) {
            worlds += line.mark == u'世';
            responses += line.mark == u'应';
        }
        EXPECT_EQ(worlds, 1);
        EXPECT_EQ(responses, 1);

        const FreshBuild fresh = freshBuild(fullNumber(chart), showAll);
        EXPECT_EQ(lib.bench.chartTextLines(), fresh.text) << fullNumber(chart).toStdString();
        lib.bench.runReport(0, 0);
        EXPECT_EQ(lib.bench.judgment().split(u'\n'), fresh.report) << fullNumber(chart).toStdString();
        lib.bench.clearCaseTexts();
    }
}

}  // namespace
