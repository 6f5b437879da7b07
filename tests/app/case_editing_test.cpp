#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include "test_support/main_window_fixture.h"
#include "test_support/sample_cast.h"

class CaseEditingTest : public QObject {
    Q_OBJECT
private slots:
    void threeCastsThenSteppingBackAndForth() {
        MainWindowFixture f;
        for (auto [number, subject] : {std::pair{u"20240204111111京房式T:10:00:00", u"甲"},
                                       std::pair{u"20240204222222京房式T:10:00:00", u"乙"},
                                       std::pair{u"20240204311111京房式T:10:00:00", u"丙"}}) {
            QVERIFY(f.window->caseStore().createCase(sampleCast(number, subject)).stored);
        }
        QCOMPARE(f.window->history().historyPosition(), 2);
        f.window->previousCaseButton->click();
        QCOMPARE(f.window->caseNumberEdit->text(), QStringLiteral("20240204222222"));
        QCOMPARE(f.window->caseHeader(), QStringLiteral("性别:男 出生:1980 占事乙"));
        f.window->previousCaseButton->click();
        QCOMPARE(f.window->caseNumberEdit->text(), QStringLiteral("20240204111111"));
        f.window->previousCaseButton->click();
        QCOMPARE(f.prompter.messages.last(), QStringLiteral("已经到最前面。"));
        f.window->nextCaseButton->click();
        f.window->nextCaseButton->click();
        QCOMPARE(f.window->caseNumberEdit->text(), QStringLiteral("20240204311111"));
        QCOMPARE(f.window->chartState().main[0].hexagramName, QStringLiteral("乾为天"));
        f.window->nextCaseButton->click();
        QCOMPARE(f.prompter.messages.last(), QStringLiteral("已经到最后面。"));
        QCOMPARE(f.window->history().entries().size(), 3);  // loads found their entries already there
    }

    void recentListPicksAppendEveryTime() {
        MainWindowFixture f;
        QVERIFY(f.window->caseStore().createCase(sampleCast(u"20240204111111京房式T:10:00:00", u"甲")).stored);
        QVERIFY(f.window->caseStore().createCase(sampleCast(u"20240204222222京房式T:10:00:00", u"乙")).stored);
        f.window->show();
        f.window->recentButton->click();
        QVERIFY(f.window->recentList->isVisible());
        QCOMPARE(f.window->recentList->count(), 2);
        QVERIFY(f.window->recentList->item(0)->text().startsWith(QStringLiteral("2;20240204222222京房式T:10:00:00;乙;")));
        for (int pick = 0; pick < 2; ++pick) {
            f.window->recentButton->click();
            f.window->recentList->setCurrentRow(1);
            emit f.window->recentList->itemDoubleClicked(f.window->recentList->currentItem());
        }
        QVERIFY(!f.window->recentList->isVisible());
        QCOMPARE(f.window->history().entries(),
                 (QStringList{QStringLiteral("1(本地)"), QStringLiteral("2(本地)"), QStringLiteral("1(本地)"),
                              QStringLiteral("1(本地)")}));
        QCOMPARE(f.window->caseNumberEdit->text(), QStringLiteral("20240204111111"));
    }

    void saveButtonsFollowEditsSavesAndLoads() {
        MainWindowFixture f;
        QVERIFY(f.window->caseStore().createCase(sampleCast(u"20240204111111京房式T:10:00:00", u"甲")).stored);
        auto enabled = [&] {
            return QString("%1%2%3").arg(f.window->saveJudgmentButton->isEnabled()).arg(f.window->saveFeedbackButton->isEnabled())
                .arg(f.window->saveAllButton->isEnabled());
        };
        QCOMPARE(enabled(), QStringLiteral("000"));
        f.window->judgmentEdit->setPlainText(QStringLiteral("断：'引号' 100% 下划线_"));
        QCOMPARE(enabled(), QStringLiteral("100"));
        f.window->feedbackEdit->setPlainText(QStringLiteral("应验\n第二行"));
        QCOMPARE(enabled(), QStringLiteral("111"));
        f.window->saveJudgmentButton->click();
        QCOMPARE(f.prompter.messages.last(), QStringLiteral("断语保存成功。"));
        QCOMPARE(enabled(), QStringLiteral("010"));
        f.window->saveFeedbackButton->click();
        QCOMPARE(enabled(), QStringLiteral("000"));
        f.window->judgmentEdit->clear();
        QVERIFY(f.window->openLocalCase(1));
        QCOMPARE(enabled(), QStringLiteral("000"));  // a loaded case counts as saved
        QCOMPARE(f.window->judgmentEdit->toPlainText(), QStringLiteral("断：'引号' 100% 下划线_"));
        QCOMPARE(f.window->feedbackEdit->toPlainText(), QStringLiteral("应验\n第二行"));
    }

    void chartOnlyCastIsStoredOnItsFirstSave() {
        MainWindowFixture f;
        store::CastCase c = sampleCast(u"20240204111111京房式T:10:00:00", u"甲");
        c.chartOnly = true;
        QVERIFY(!f.window->caseStore().createCase(c).stored);
        QCOMPARE(f.db->getFirstInteger(QStringLiteral("select count(*) from gua_table")), 0);
        f.window->judgmentEdit->setPlainText(QStringLiteral("后补断语"));
        f.window->saveJudgmentButton->click();
        QCOMPARE(f.db->getFirstInteger(QStringLiteral("select count(*) from gua_table")), 1);
        QCOMPARE(f.db->getFirstString(QStringLiteral("select duanyu from gua_table")), QStringLiteral("后补断语"));
    }

    void closingWithUnsavedTextsAsksFirst() {
        MainWindowFixture f;
        QVERIFY(f.window->caseStore().createCase(sampleCast(u"20240204111111京房式T:10:00:00", u"甲")).stored);
        f.window->judgmentEdit->setPlainText(QStringLiteral("未保存"));
        f.prompter.saveAnswers = {app::Prompter::Answer::Cancel};
        QCloseEvent refused;
        QApplication::sendEvent(f.window.get(), &refused);
        QVERIFY(!refused.isAccepted());
        QCOMPARE(f.window->judgmentEdit->toPlainText(), QStringLiteral("未保存"));
        f.prompter.saveAnswers = {app::Prompter::Answer::Yes};
        QCloseEvent accepted;
        QApplication::sendEvent(f.window.get(), &accepted);
        QVERIFY(accepted.isAccepted());
        QCOMPARE(f.prompter.savePrompts, 2);
        QCOMPARE(f.db->getFirstString(QStringLiteral("select duanyu from gua_table")), QStringLiteral("未保存"));
        QCloseEvent nothingUnsaved;
        QApplication::sendEvent(f.window.get(), &nothingUnsaved);
        QCOMPARE(f.prompter.savePrompts, 2);
    }

    void doubleClickEnlargesTheEditors() {
        MainWindowFixture f;
        QTest::mouseDClick(f.window->judgmentEdit->viewport(), Qt::LeftButton);
        QCOMPARE(f.window->judgmentEdit->height(), 284);
        QVERIFY(f.window->feedbackEdit->isHidden());
        QCOMPARE(f.window->saveJudgmentButton->y(), 416);
        QTest::mouseDClick(f.window->judgmentEdit->viewport(), Qt::LeftButton);
        QCOMPARE(f.window->judgmentEdit->height(), 120);
        QVERIFY(!f.window->feedbackEdit->isHidden());
        QTest::mouseDClick(f.window->feedbackEdit->viewport(), Qt::LeftButton);
        QCOMPARE(f.window->feedbackEdit->geometry(), QRect(773, 126, 343, 284));
        QCOMPARE(f.window->judgmentLabel->text(), QStringLiteral("反馈："));
        QTest::mouseDClick(f.window->feedbackEdit->viewport(), Qt::LeftButton);
        QCOMPARE(f.window->feedbackEdit->geometry(), QRect(773, 282, 343, 120));
        QCOMPARE(f.window->judgmentLabel->text(), QStringLiteral("断语："));
    }
};

QTEST_MAIN(CaseEditingTest)
#include "case_editing_test.moc"
