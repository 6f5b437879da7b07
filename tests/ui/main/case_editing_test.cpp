#include <QAction>
#include <QCloseEvent>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include "test_support/program_fixture.h"
#include "test_support/sample_cast.h"
#include "ui/main/object_names.h"

namespace mainwindow = objectnames::mainwindow;

class CaseEditingTest : public QObject {
    Q_OBJECT
private slots:
    void threeCastsThenSteppingBackAndForth() {
        ProgramFixture f;
        for (auto [number, subject] :
             {std::pair{u"20240204111111京房式T:10:00:00", u"甲"}, std::pair{u"20240204222222京房式T:10:00:00", u"乙"},
              std::pair{u"20240204311111京房式T:10:00:00", u"丙"}}) {
            QVERIFY(f.bench().caseStore().createCase(sampleCast(number, subject)).stored);
        }
        QCOMPARE(f.bench().history().historyPosition(), 2);
        control<QPushButton>(*f.window, mainwindow::previousCaseButton)->click();
        QCOMPARE(control<QLineEdit>(*f.window, mainwindow::caseNumberEdit)->text(), QStringLiteral("20240204222222"));
        QCOMPARE(f.bench().caseHeader(), QStringLiteral("性别:男 出生:1980 占事乙"));
        control<QPushButton>(*f.window, mainwindow::previousCaseButton)->click();
        QCOMPARE(control<QLineEdit>(*f.window, mainwindow::caseNumberEdit)->text(), QStringLiteral("20240204111111"));
        control<QPushButton>(*f.window, mainwindow::previousCaseButton)->click();
        QCOMPARE(f.prompter.messages.last(), QStringLiteral("已经到最前面。"));
        control<QPushButton>(*f.window, mainwindow::nextCaseButton)->click();
        control<QPushButton>(*f.window, mainwindow::nextCaseButton)->click();
        QCOMPARE(control<QLineEdit>(*f.window, mainwindow::caseNumberEdit)->text(), QStringLiteral("20240204311111"));
        QCOMPARE(f.bench().chart().main[0].hexagramName, QStringLiteral("乾为天"));
        control<QPushButton>(*f.window, mainwindow::nextCaseButton)->click();
        QCOMPARE(f.prompter.messages.last(), QStringLiteral("已经到最后面。"));
        QCOMPARE(f.bench().history().entries().size(), 3);  // loads found their entries already there
    }

    void recentListPicksAppendEveryTime() {
        ProgramFixture f;
        QVERIFY(f.bench().caseStore().createCase(sampleCast(u"20240204111111京房式T:10:00:00", u"甲")).stored);
        QVERIFY(f.bench().caseStore().createCase(sampleCast(u"20240204222222京房式T:10:00:00", u"乙")).stored);
        f.window->show();
        control<QPushButton>(*f.window, mainwindow::recentButton)->click();
        QVERIFY(control<QListWidget>(*f.window, mainwindow::recentList)->isVisible());
        QCOMPARE(control<QListWidget>(*f.window, mainwindow::recentList)->count(), 2);
        QVERIFY(control<QListWidget>(*f.window, mainwindow::recentList)
                    ->item(0)
                    ->text()
                    .startsWith(QStringLiteral("2;20240204222222京房式T:10:00:00;乙;")));
        for (int pick = 0; pick < 2; ++pick) {
            control<QPushButton>(*f.window, mainwindow::recentButton)->click();
            control<QListWidget>(*f.window, mainwindow::recentList)->setCurrentRow(1);
            emit control<QListWidget>(*f.window, mainwindow::recentList)
                ->itemDoubleClicked(control<QListWidget>(*f.window, mainwindow::recentList)->currentItem());
        }
        QVERIFY(!control<QListWidget>(*f.window, mainwindow::recentList)->isVisible());
        QCOMPARE(f.bench().history().entries(), (QStringList{QStringLiteral("1(本地)"), QStringLiteral("2(本地)"),
                                                             QStringLiteral("1(本地)"), QStringLiteral("1(本地)")}));
        QCOMPARE(control<QLineEdit>(*f.window, mainwindow::caseNumberEdit)->text(), QStringLiteral("20240204111111"));
    }

    void deleteKeyInTheRecentListDeletesAfterAsking() {
        ProgramFixture f;
        QVERIFY(f.bench().storeCast(sampleCast(u"20240204111111京房式T:10:00:00", u"甲")));
        QVERIFY(f.bench().storeCast(sampleCast(u"20240204222222京房式T:10:00:00", u"乙")));
        f.window->show();
        control<QPushButton>(*f.window, mainwindow::recentButton)->click();
        QListWidget* list = control<QListWidget>(*f.window, mainwindow::recentList);
        list->setCurrentRow(0);  // the newest: 乙
        f.prompter.answers = {workbench::Prompter::Answer::Yes};
        QTest::keyClick(list, Qt::Key_Delete);
        QCOMPARE(list->count(), 1);
        QVERIFY(list->item(0)->text().startsWith(QStringLiteral("1;")));
        QCOMPARE(f.db->getFirstInteger(QStringLiteral("select count(*) from gua_table")), 1);
        QCOMPARE(f.bench().history().entries(), QStringList{QStringLiteral("1(本地)")});
    }

    void enterOpensTheRecentCasePicked() {
        ProgramFixture f;
        QVERIFY(f.bench().caseStore().createCase(sampleCast(u"20240204111111京房式T:10:00:00", u"甲")).stored);
        QVERIFY(f.bench().caseStore().createCase(sampleCast(u"20240204222222京房式T:10:00:00", u"乙")).stored);
        f.window->show();
        control<QPushButton>(*f.window, mainwindow::recentButton)->click();
        auto* recent = control<QListWidget>(*f.window, mainwindow::recentList);
        recent->setCurrentRow(0);
        QTest::keyClick(recent, Qt::Key_Down);
        QTest::keyClick(recent, Qt::Key_Return);
        QVERIFY(!recent->isVisible());
        QCOMPARE(control<QLineEdit>(*f.window, mainwindow::caseNumberEdit)->text(), QStringLiteral("20240204111111"));
    }

    void saveButtonsFollowEditsSavesAndLoads() {
        ProgramFixture f;
        QVERIFY(f.bench().storeCast(sampleCast(u"20240204111111京房式T:10:00:00", u"甲")));
        auto enabled = [&] {
            return QString("%1%2%3")
                .arg(control<QPushButton>(*f.window, mainwindow::saveJudgmentButton)->isEnabled())
                .arg(control<QPushButton>(*f.window, mainwindow::saveFeedbackButton)->isEnabled())
                .arg(control<QPushButton>(*f.window, mainwindow::saveAllButton)->isEnabled());
        };
        QCOMPARE(enabled(), QStringLiteral("000"));
        control<QPlainTextEdit>(*f.window, mainwindow::judgmentEdit)
            ->setPlainText(QStringLiteral("断：'引号' 100% 下划线_"));
        QCOMPARE(enabled(), QStringLiteral("100"));
        control<QPlainTextEdit>(*f.window, mainwindow::feedbackEdit)->setPlainText(QStringLiteral("应验\n第二行"));
        QCOMPARE(enabled(), QStringLiteral("111"));
        control<QPushButton>(*f.window, mainwindow::saveJudgmentButton)->click();
        QCOMPARE(f.prompter.messages.last(), QStringLiteral("断语保存成功。"));
        QCOMPARE(enabled(), QStringLiteral("010"));
        control<QPushButton>(*f.window, mainwindow::saveFeedbackButton)->click();
        QCOMPARE(enabled(), QStringLiteral("000"));
        control<QPlainTextEdit>(*f.window, mainwindow::judgmentEdit)->clear();
        QVERIFY(f.bench().openLocalCase(1));
        QCOMPARE(enabled(), QStringLiteral("000"));  // a loaded case counts as saved
        QCOMPARE(control<QPlainTextEdit>(*f.window, mainwindow::judgmentEdit)->toPlainText(),
                 QStringLiteral("断：'引号' 100% 下划线_"));
        QCOMPARE(control<QPlainTextEdit>(*f.window, mainwindow::feedbackEdit)->toPlainText(),
                 QStringLiteral("应验\n第二行"));
    }

    void chartOnlyCastIsStoredOnItsFirstSave() {
        ProgramFixture f;
        store::CastCase c = sampleCast(u"20240204111111京房式T:10:00:00", u"甲");
        c.chartOnly = true;
        QVERIFY(f.bench().storeCast(c));  // held, not stored
        QCOMPARE(f.db->getFirstInteger(QStringLiteral("select count(*) from gua_table")), 0);
        control<QPlainTextEdit>(*f.window, mainwindow::judgmentEdit)->setPlainText(QStringLiteral("后补断语"));
        control<QPushButton>(*f.window, mainwindow::saveJudgmentButton)->click();
        QCOMPARE(f.db->getFirstInteger(QStringLiteral("select count(*) from gua_table")), 1);
        QCOMPARE(f.db->getFirstString(QStringLiteral("select duanyu from gua_table")), QStringLiteral("后补断语"));
    }

    void closingWithUnsavedTextsAsksFirst() {
        ProgramFixture f;
        QVERIFY(f.bench().storeCast(sampleCast(u"20240204111111京房式T:10:00:00", u"甲")));
        control<QPlainTextEdit>(*f.window, mainwindow::judgmentEdit)->setPlainText(QStringLiteral("未保存"));
        f.prompter.saveAnswers = {workbench::Prompter::Answer::Cancel};
        QCloseEvent refused;
        QApplication::sendEvent(f.window, &refused);
        QVERIFY(!refused.isAccepted());
        QCOMPARE(control<QPlainTextEdit>(*f.window, mainwindow::judgmentEdit)->toPlainText(), QStringLiteral("未保存"));
        f.prompter.saveAnswers = {workbench::Prompter::Answer::Yes};
        QCloseEvent accepted;
        QApplication::sendEvent(f.window, &accepted);
        QVERIFY(accepted.isAccepted());
        QCOMPARE(f.prompter.savePrompts, 2);
        QCOMPARE(f.db->getFirstString(QStringLiteral("select duanyu from gua_table")), QStringLiteral("未保存"));
        QCloseEvent nothingUnsaved;
        QApplication::sendEvent(f.window, &nothingUnsaved);
        QCOMPARE(f.prompter.savePrompts, 2);
    }

    // Restoring from the popup: the save prompt first (cancelled: nothing chosen, nothing
    // replaced); then the backup's cases are the ones the recent list shows.
    void restoreFromThePopupAsksToSaveFirst() {
        ProgramFixture f;
        QVERIFY(f.bench().storeCast(sampleCast(u"20240204111111京房式T:10:00:00", u"甲")));
        const QString copy = f.dir.filePath(QStringLiteral("备份.db"));
        f.prompter.saveFiles = {copy};
        control<QAction>(*f.window, mainwindow::backUpAction)->trigger();
        QVERIFY(QFile::exists(copy));
        QVERIFY(f.bench().storeCast(sampleCast(u"20240204222222京房式T:10:00:00", u"乙")));
        control<QPlainTextEdit>(*f.window, mainwindow::judgmentEdit)->setPlainText(QStringLiteral("未保存"));

        f.prompter.saveAnswers = {workbench::Prompter::Answer::Cancel};
        f.prompter.openFiles = {copy};
        control<QAction>(*f.window, mainwindow::restoreAction)->trigger();
        QCOMPARE(f.prompter.openFiles.size(), 1);  // never asked for the file
        QCOMPARE(f.db->getFirstInteger(QStringLiteral("select count(*) from gua_table")), 2);
        QCOMPARE(control<QPlainTextEdit>(*f.window, mainwindow::judgmentEdit)->toPlainText(), QStringLiteral("未保存"));

        f.prompter.saveAnswers = {workbench::Prompter::Answer::No};
        f.prompter.answers = {workbench::Prompter::Answer::Yes};
        control<QAction>(*f.window, mainwindow::restoreAction)->trigger();
        QCOMPARE(f.db->getFirstInteger(QStringLiteral("select count(*) from gua_table")), 1);
        QCOMPARE(control<QPlainTextEdit>(*f.window, mainwindow::judgmentEdit)->toPlainText(), QString());
        control<QPushButton>(*f.window, mainwindow::recentButton)->click();
        const auto* recent = control<QListWidget>(*f.window, mainwindow::recentList);
        QCOMPARE(recent->count(), 1);
        QVERIFY(recent->item(0)->text().contains(QStringLiteral("甲")));
    }

    void doubleClickEnlargesTheEditors() {
        ProgramFixture f;
        QTest::mouseDClick(control<QPlainTextEdit>(*f.window, mainwindow::judgmentEdit)->viewport(), Qt::LeftButton);
        QCOMPARE(control<QPlainTextEdit>(*f.window, mainwindow::judgmentEdit)->height(), 284);
        QVERIFY(control<QPlainTextEdit>(*f.window, mainwindow::feedbackEdit)->isHidden());
        QCOMPARE(control<QPushButton>(*f.window, mainwindow::saveJudgmentButton)->y(), 416);
        QTest::mouseDClick(control<QPlainTextEdit>(*f.window, mainwindow::judgmentEdit)->viewport(), Qt::LeftButton);
        QCOMPARE(control<QPlainTextEdit>(*f.window, mainwindow::judgmentEdit)->height(), 120);
        QVERIFY(!control<QPlainTextEdit>(*f.window, mainwindow::feedbackEdit)->isHidden());
        QTest::mouseDClick(control<QPlainTextEdit>(*f.window, mainwindow::feedbackEdit)->viewport(), Qt::LeftButton);
        QCOMPARE(control<QPlainTextEdit>(*f.window, mainwindow::feedbackEdit)->geometry(), QRect(773, 126, 343, 284));
        QCOMPARE(control<QLabel>(*f.window, mainwindow::judgmentLabel)->text(), QStringLiteral("反馈："));
        QTest::mouseDClick(control<QPlainTextEdit>(*f.window, mainwindow::feedbackEdit)->viewport(), Qt::LeftButton);
        QCOMPARE(control<QPlainTextEdit>(*f.window, mainwindow::feedbackEdit)->geometry(), QRect(773, 282, 343, 120));
        QCOMPARE(control<QLabel>(*f.window, mainwindow::judgmentLabel)->text(), QStringLiteral("断语："));
    }
};

QTEST_MAIN(CaseEditingTest)
#include "case_editing_test.moc"
