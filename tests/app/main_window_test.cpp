#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QFile>
#include <QLabel>
#include <QAction>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "app/chart_area.h"
#include "app/report_hooks.h"
#include "chart/cast_pillars.h"
#include "chart/text_forms.h"
#include "test_support/main_window_fixture.h"

namespace {

bool isDark(const QImage& image, int x, int y) { return qGray(image.pixel(x, y)) < 60; }

int rowTop(int i) { return 64 + 35 * i; }

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT
private slots:
    void typedCaseNumberIsDrawn() {
        MainWindowFixture f;
        QVERIFY(f.window->enterCaseNumber(QStringLiteral("20240204111112T:16:24:00")));  // 天风姤
        const QImage image = f.window->chartArea->grab().toImage();
        // Yang bars 275..324 on the five upper rows; the bottom yin line has its gap at 297..303.
        for (int i = 0; i < 5; ++i) {
            QVERIFY2(isDark(image, 280, rowTop(i) + 12), qPrintable(QString::number(i)));
            QVERIFY(isDark(image, 300, rowTop(i) + 12));
            QVERIFY(isDark(image, 324, rowTop(i) + 12));
            QVERIFY(!isDark(image, 326, rowTop(i) + 12));
        }
        QVERIFY(isDark(image, 280, rowTop(5) + 12));
        QVERIFY(!isDark(image, 300, rowTop(5) + 12));
        QVERIFY(isDark(image, 320, rowTop(5) + 12));
        QVERIFY(!isDark(image, 280, rowTop(5) + 3));  // above the bar
        QCOMPARE(f.window->mainDescLabel->text(), QStringLiteral("乾宫属金 一世卦 序数:1 方位:西北"));
        QVERIFY(!f.window->showChangedButton->isEnabled());
    }

    void zangshanWithStemsMovesTheBars() {
        MainWindowFixture f;
        QVERIFY(f.window->enterCaseNumber(QStringLiteral("20240204111112藏山卜T:16:24:00")));
        QVERIFY(f.window->zangshanRadio->isChecked());
        QImage image = f.window->chartArea->grab().toImage();
        // Main bars move right by 44: the yin gap of the bottom line is now at 341..347.
        QVERIFY(isDark(image, 330, rowTop(5) + 12));
        QVERIFY(!isDark(image, 344, rowTop(5) + 12));
        QVERIFY(isDark(image, 360, rowTop(5) + 12));
        f.window->stemsBox->click();  // stems off: no shift
        image = f.window->chartArea->grab().toImage();
        QVERIFY(!isDark(image, 300, rowTop(5) + 12));
        QVERIFY(isDark(image, 320, rowTop(5) + 12));
    }

    void changedBarsAndViewSwitch() {
        MainWindowFixture f;
        QVERIFY(f.window->enterCaseNumber(QStringLiteral("20240204311111T:16:24:00")));
        QImage image = f.window->chartArea->grab().toImage();
        // The top line moves: the changed bar (507..556) is yin, with its gap at 529..535.
        QVERIFY(isDark(image, 515, rowTop(0) + 12));
        QVERIFY(!isDark(image, 532, rowTop(0) + 12));
        QVERIFY(isDark(image, 515, rowTop(1) + 12));
        QVERIFY(isDark(image, 532, rowTop(1) + 12));
        QVERIFY(f.window->showChangedButton->isEnabled());
        f.window->showChangedButton->click();
        QCOMPARE(f.window->showChangedButton->text(), QStringLiteral("显示主卦"));
        image = f.window->chartArea->grab().toImage();
        QVERIFY(!isDark(image, 300, rowTop(0) + 12));  // 泽天夬 drawn alone: its top line is yin
        QVERIFY(!isDark(image, 515, rowTop(0) + 12));
        f.window->invertButton->click();
        QVERIFY(f.window->invertedLabel->isVisibleTo(f.window.get()));
        QCOMPARE(f.window->invertButton->text(), QStringLiteral("显示本卦"));
        QCOMPARE(f.window->chartState().main[0].hexagramName, QStringLiteral("坤为地"));
        QVERIFY(f.window->enterCaseNumber(QStringLiteral("20240204111111")));
        QVERIFY(!f.window->invertedLabel->isVisibleTo(f.window.get()));
        QCOMPARE(f.window->invertButton->text(), QStringLiteral("显示综卦"));
    }

    void trigramOptionsKeepTheMethodAndTime() {
        MainWindowFixture f;
        QVERIFY(f.window->enterCaseNumber(QStringLiteral("20240204311121藏山卜T:09:05:00")));
        f.window->directionXiantian->click();
        f.window->ordinalHoutian->click();
        QCOMPARE(f.window->chartState().method, chart::ArrangementMethod::Zangshan);
        QCOMPARE(f.window->chartState().castTime, QTime(9, 5));
        QCOMPARE(f.window->mainDescLabel->text(), QStringLiteral("离宫属火 归魂卦 序数:9 方位:东"));
    }

    void badCaseNumberShowsItsMessage() {
        MainWindowFixture f;
        QVERIFY(!f.window->enterCaseNumber(QStringLiteral("2024")));
        QCOMPARE(f.prompter.messages, QStringList{QStringLiteral("六爻ID必须是14位，长度不对")});
        QVERIFY(f.window->chartState().isEmpty());
    }

    void textCopyGoesToTheClipboard() {
        MainWindowFixture f;
        QVERIFY(f.window->enterCaseNumber(QStringLiteral("20240204311121藏山卜T:09:05:00")));
        f.window->copyTextButton->click();
        const QString expected = chart::chartTextLines(f.window->chartState(), QStringLiteral("20240204311121")).join(u'\n');
        QCOMPARE(QApplication::clipboard()->text(), expected);
        QVERIFY(expected.startsWith(QStringLiteral("卦例ID=20240204311121 藏山卜\n")));
        f.window->copyPictureButton->click();
        QCOMPARE(QApplication::clipboard()->image().size(), QSize(680, 425));
    }

    void notesGoToTheMonthlyFile() {
        MainWindowFixture f;
        QVERIFY(f.window->enterCaseNumber(QStringLiteral("20240204311111T:09:05:00")));
        f.prompter.inputs = {QStringLiteral("abc")};
        f.window->saveNoteButton->click();
        QVERIFY(f.window->enterCaseNumber(QStringLiteral("20240204311111藏山卜T:09:05:00")));
        f.prompter.inputs = {QString()};  // a cancelled remark still saves
        f.window->saveNoteButton->click();
        QCOMPARE(f.prompter.inputTitles, (QStringList{QStringLiteral("备注"), QStringLiteral("备注")}));
        QCOMPARE(f.prompter.messages, (QStringList{QStringLiteral("保存完成。"), QStringLiteral("保存完成。")}));
        QFile file(f.dir.filePath(QStringLiteral("save/202402.txt")));  // today is 2024-02-04
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(file.readAll()),
                 QStringLiteral("20240204311111abcT:09:05:00\n20240204311111[藏山卜] \n"));
    }

    void optionBoxesWriteTheSettingsRow() {
        MainWindowFixture f;
        auto column = [&](const char* name) {
            return f.db->getFirstString(QStringLiteral("select %1 from zhi where id=85").arg(QLatin1String(name)));
        };
        QVERIFY(f.window->stemsBox->isChecked());
        f.window->stemsBox->click();
        QCOMPARE(column("value4"), QStringLiteral("0"));
        f.window->allChangedBox->click();
        QCOMPARE(column("value3"), QStringLiteral("1"));
        f.window->annotationsBox->click();  // unticked: stored inverted as 1
        QCOMPARE(column("value15"), QStringLiteral("1"));
        f.window->annotationsBox->click();
        QCOMPARE(column("value15"), QStringLiteral("0"));
        f.window->highlightBox->click();
        QCOMPARE(column("value1"), QStringLiteral("0"));
        // A new window reads them back.
        app::MainWindow again(*f.db, f.clock, f.prompter, f.dir.path());
        QVERIFY(!again.stemsBox->isChecked());
        QVERIFY(again.allChangedBox->isChecked());
        QVERIFY(!again.highlightBox->isChecked());
    }

    void cancelledStartLeavesAnEmptyChartWithTodaysLabel() {
        MainWindowFixture f(QDateTime(QDate(2000, 1, 1), QTime(23, 30)));
        bool asked = false;
        f.window->setCastDialogRunner([&] {
            asked = true;
            return false;
        });
        f.window->startDeferredCast();
        QTRY_VERIFY(asked);
        QVERIFY(f.window->chartState().isEmpty());
        QCOMPARE(f.window->pillarLabel->text(),
                 QStringLiteral("己卯年 丙子月 戊午日(子丑空) 2000-01-01 23:30:00（时辰:甲子 刻:丁卯）"));
    }

    void clickBetweenRowBandsSelectsNothing() {
        MainWindowFixture f;
        app::installReportHooks(*f.window);
        QVERIFY(f.window->enterCaseNumber(QStringLiteral("20240204311111T:16:24:00")));
        f.window->highlightBox->setChecked(true);
        QTest::mouseClick(f.window->chartArea, Qt::LeftButton, {}, QPoint(300, 99));  // border of rows 1 and 2
        QVERIFY(f.window->judgmentEdit->toPlainText().isEmpty());
        QTest::mouseClick(f.window->chartArea, Qt::LeftButton, {}, QPoint(300, 110));  // main line, second row
        QVERIFY(!f.window->judgmentEdit->toPlainText().isEmpty());
        QVERIFY(f.window->saveJudgmentButton->isEnabled());  // a report counts as an edit
        f.window->highlightBox->setChecked(false);
        const QString before = f.window->judgmentEdit->toPlainText();
        QTest::mouseClick(f.window->chartArea, Qt::LeftButton, {}, QPoint(300, 145));
        QCOMPARE(f.window->judgmentEdit->toPlainText(), before);  // click mode is off
    }

    void wholeChartReportReplacesTheJudgment() {
        MainWindowFixture f;
        app::installReportHooks(*f.window);
        QVERIFY(f.window->enterCaseNumber(QStringLiteral("20240204311111T:16:24:00")));
        f.window->judgmentEdit->setPlainText(QStringLiteral("旧的断语"));
        f.window->reportAction->trigger();
        const QString report = f.window->judgmentEdit->toPlainText();
        QVERIFY(!report.contains(QStringLiteral("旧的断语")));
        QVERIFY(!report.isEmpty());
    }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
