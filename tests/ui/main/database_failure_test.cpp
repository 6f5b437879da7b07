// Every kind of control that writes or reads the database, with the database failing: the
// database's text is shown and the program goes on; nothing is thrown through the event loop.
#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <functional>

#include "test_support/program_fixture.h"
#include "test_support/sample_cast.h"
#include "ui/browser/object_names.h"
#include "ui/casting/object_names.h"
#include "ui/cloud/object_names.h"
#include "ui/main/object_names.h"

namespace {

namespace casebrowser = objectnames::casebrowser;
namespace castdialog = objectnames::castdialog;
namespace loginwindow = objectnames::loginwindow;
namespace mainwindow = objectnames::mainwindow;

// Writes to these tables fail from now on with the database's own error text.
void breakWrites(store::Database& db) {
    for (const char* table : {"zhi", "gua_table", "fenlei_table"})
        for (const char* event : {"insert", "update", "delete"})
            db.execute(QStringLiteral("create trigger broken_%1_%2 before %2 on %1 begin "
                                      "select raise(abort, 'disk I/O error'); end")
                           .arg(QLatin1String(table), QLatin1String(event)));
}

void clickFirst(QListWidget* list) {
    list->setCurrentRow(0);
    emit list->itemClicked(list->item(0));
}

}  // namespace

class DatabaseFailureTest : public QObject {
    Q_OBJECT
private slots:
    void everyKindOfControlShowsTheFailure_data() {
        QTest::addColumn<std::function<void(ProgramFixture&)>>("action");
        QTest::addColumn<bool>("readsFail");  // the case table is gone, not just read-only
        using Action = std::function<void(ProgramFixture&)>;
        QTest::newRow("option box") << Action([](ProgramFixture& f) {
            control<QCheckBox>(*f.window, mainwindow::stemsBox)->click();
        }) << false;
        QTest::newRow("save judgment") << Action([](ProgramFixture& f) {
            control<QPlainTextEdit>(*f.window, mainwindow::judgmentEdit)->setPlainText(QStringLiteral("断"));
            control<QPushButton>(*f.window, mainwindow::saveJudgmentButton)->click();
        }) << false;
        QTest::newRow("save all") << Action([](ProgramFixture& f) {
            control<QPlainTextEdit>(*f.window, mainwindow::judgmentEdit)->setPlainText(QStringLiteral("断"));
            control<QPlainTextEdit>(*f.window, mainwindow::feedbackEdit)->setPlainText(QStringLiteral("验"));
            control<QPushButton>(*f.window, mainwindow::saveAllButton)->click();
        }) << false;
        QTest::newRow("recent list") << Action([](ProgramFixture& f) {
            control<QPushButton>(*f.window, mainwindow::recentButton)->click();
        }) << true;
        QTest::newRow("history step") << Action([](ProgramFixture& f) {
            control<QPushButton>(*f.window, mainwindow::previousCaseButton)->click();
        }) << true;
        QTest::newRow("casting method") << Action([](ProgramFixture& f) {
            control<QRadioButton>(f.program->castDialog, castdialog::zangshanMethod)->click();
        }) << false;
        QTest::newRow("browser category") << Action([](ProgramFixture& f) {
            f.program->caseBrowser.prepareFirstShowing();
            clickFirst(control<QListWidget>(f.program->caseBrowser, casebrowser::categoryList));
        }) << true;
        QTest::newRow("browser rename") << Action([](ProgramFixture& f) {
            ui::CaseBrowser& browser = f.program->caseBrowser;
            browser.prepareFirstShowing();
            clickFirst(control<QListWidget>(browser, casebrowser::categoryList));
            control<QLineEdit>(browser, casebrowser::newNameEdit)->setText(QStringLiteral("新名"));
            f.prompter.answers = {workbench::Prompter::Answer::Yes};
            control<QPushButton>(browser, casebrowser::renameButton)->click();
        }) << false;
        QTest::newRow("remember login") << Action([](ProgramFixture& f) {
            control<QCheckBox>(f.program->cloud.loginWindow(), loginwindow::rememberBox)->click();
        }) << false;
    }

    void everyKindOfControlShowsTheFailure() {
        QFETCH(std::function<void(ProgramFixture&)>, action);
        QFETCH(bool, readsFail);
        ProgramFixture f;
        QVERIFY(f.bench().storeCast(sampleCast(u"20240204111111京房式T:10:00:00", u"甲")));
        QVERIFY(f.bench().storeCast(sampleCast(u"20240204222222京房式T:10:00:00", u"乙")));
        breakWrites(*f.db);
        if (readsFail) f.db->execute(QStringLiteral("drop table gua_table"));
        f.prompter.saveAnswers = {workbench::Prompter::Answer::No};
        try {
            action(f);
        } catch (const std::exception& e) {
            QFAIL(e.what());
        }
        const QString expected = readsFail ? QStringLiteral("no such table") : QStringLiteral("disk I/O error");
        bool shown = false;
        for (const QString& m : f.prompter.messages) shown = shown || m.contains(expected);
        QVERIFY2(shown, qPrintable(f.prompter.messages.join(u'|')));
    }
};

QTEST_MAIN(DatabaseFailureTest)
#include "database_failure_test.moc"
