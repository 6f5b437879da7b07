#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "test_support/program_fixture.h"
#include "ui/calendar/object_names.h"
#include "ui/main/object_names.h"

namespace {

namespace calendarviewer = objectnames::calendarviewer;
namespace mainwindow = objectnames::mainwindow;

void click(QListWidget* list, int row) {
    list->setCurrentRow(row);
    emit list->itemClicked(list->item(row));
}

}  // namespace

class CalendarViewerTest : public QObject {
    Q_OBJECT
private slots:
    void showingSelectsToday() {
        ProgramFixture f;
        ui::CalendarViewer& viewer = f.program->calendarViewer;
        viewer.show();
        // 1900..2100: the years whose lunar dates and pillars are computed, as the date pickers keep to.
        QCOMPARE(control<QListWidget>(viewer, calendarviewer::yearList)->count(), 201);
        QCOMPARE(control<QListWidget>(viewer, calendarviewer::yearList)->item(0)->text(),
                 QStringLiteral("1900年 庚子"));
        QCOMPARE(control<QListWidget>(viewer, calendarviewer::yearList)->item(149)->text(),
                 QStringLiteral("2049年 己巳"));
        QCOMPARE(control<QListWidget>(viewer, calendarviewer::yearList)->item(200)->text(),
                 QStringLiteral("2100年 庚申"));
        QCOMPARE(control<QListWidget>(viewer, calendarviewer::yearList)->currentItem()->text(),
                 QStringLiteral("2024年 甲辰"));
        QCOMPARE(control<QListWidget>(viewer, calendarviewer::monthList)->currentItem()->text(),
                 QStringLiteral("2月 乙丑月-丙寅月"));
        QCOMPARE(control<QListWidget>(viewer, calendarviewer::dayList)->currentItem()->text(),
                 QStringLiteral("4号 丙寅月 戊戌日 星期日 十二月廿五 立春16:25"));
        QCOMPARE(control<QLabel>(viewer, calendarviewer::pickedLabel)->text(),
                 QStringLiteral("当前选择的公历为：2024年2月4日"));
    }

    void februaryLengthsAndLeapMonthRows() {
        ProgramFixture f;
        ui::CalendarViewer& viewer = f.program->calendarViewer;
        viewer.show();
        click(control<QListWidget>(viewer, calendarviewer::yearList), 0);  // 1900: the days of January are shown
        QCOMPARE(control<QListWidget>(viewer, calendarviewer::monthList)->currentRow(), 0);
        QCOMPARE(control<QListWidget>(viewer, calendarviewer::dayList)->count(), 31);
        click(control<QListWidget>(viewer, calendarviewer::monthList), 1);
        QCOMPARE(control<QListWidget>(viewer, calendarviewer::dayList)->count(), 28);
        QCOMPARE(control<QLabel>(viewer, calendarviewer::pickedLabel)->text(),
                 QStringLiteral("当前选择的公历为：1900年2月1日"));
        click(control<QListWidget>(viewer, calendarviewer::yearList), 100);  // 2000
        click(control<QListWidget>(viewer, calendarviewer::monthList), 1);
        QCOMPARE(control<QListWidget>(viewer, calendarviewer::dayList)->count(), 29);
        click(control<QListWidget>(viewer, calendarviewer::yearList), 123);  // 2023: 闰二月 begins on 22 March
        click(control<QListWidget>(viewer, calendarviewer::monthList), 2);
        QVERIFY(control<QListWidget>(viewer, calendarviewer::dayList)
                    ->item(21)
                    ->text()
                    .contains(QStringLiteral(" (闰)二月初一 ")));
        click(control<QListWidget>(viewer, calendarviewer::dayList), 21);
        QCOMPARE(viewer.selectedDate(), QDate(2023, 3, 22));
    }

    void todayOutsideTheListSelectsTheNearestYear() {
        // The list runs to 2100, the last year the lunar date and the pillars are computed for.
        ProgramFixture inLater(QDateTime(QDate(2160, 6, 1), QTime(12, 0)));
        ui::CalendarViewer& later = inLater.program->calendarViewer;
        later.show();
        QCOMPARE(control<QListWidget>(later, calendarviewer::yearList)->currentRow(), 200);
        QCOMPARE(later.selectedDate(), QDate(2100, 1, 1));
        ProgramFixture inEarlier(QDateTime(QDate(1899, 6, 1), QTime(12, 0)));
        ui::CalendarViewer& earlier = inEarlier.program->calendarViewer;
        earlier.show();
        QCOMPARE(earlier.selectedDate(), QDate(1900, 1, 1));
    }

    // Moving with the keys acts as clicking: the lists below and the label follow, and the date
    // used is the one the label shows, never an impossible one.
    void keyboardMovesActAsClicks() {
        ProgramFixture f;
        ui::CalendarViewer& viewer = f.program->calendarViewer;
        viewer.show();  // 2024-02-04
        auto* years = control<QListWidget>(viewer, calendarviewer::yearList);
        auto* months = control<QListWidget>(viewer, calendarviewer::monthList);
        auto* days = control<QListWidget>(viewer, calendarviewer::dayList);
        QTest::keyClick(years, Qt::Key_Up);
        QCOMPARE(months->currentRow(), 0);
        QCOMPARE(days->count(), 31);
        QCOMPARE(control<QLabel>(viewer, calendarviewer::pickedLabel)->text(),
                 QStringLiteral("当前选择的公历为：2023年1月1日"));
        QTest::keyClick(days, Qt::Key_End);  // 31 January
        QCOMPARE(control<QLabel>(viewer, calendarviewer::pickedLabel)->text(),
                 QStringLiteral("当前选择的公历为：2023年1月31日"));
        QTest::keyClick(months, Qt::Key_Down);  // February of 2023 has 28 days
        QCOMPARE(days->count(), 28);
        QCOMPARE(viewer.selectedDate(), QDate(2023, 2, 1));
        QCOMPARE(control<QLabel>(viewer, calendarviewer::pickedLabel)->text(),
                 QStringLiteral("当前选择的公历为：2023年2月1日"));
        QTest::keyClick(days, Qt::Key_Down);
        control<QPushButton>(viewer, calendarviewer::useButton)->click();
        QCOMPARE(f.bench().chart().castDate, QDate(2023, 2, 2));
    }

    // Open without blocking from the main window, then asked for modally by the casting
    // dialog: the viewer itself becomes the modal window, and afterwards is open as before.
    void oneViewerShownModelessAndModal() {
        ProgramFixture f;
        ui::CalendarViewer& viewer = f.program->calendarViewer;
        viewer.showModeless();
        QVERIFY(!viewer.isModal());
        control<QListWidget>(viewer, calendarviewer::dayList)->setCurrentRow(9);  // 2024-02-10, picked before
        QWidget* modal = nullptr;
        QDate shown;
        QTimer::singleShot(0, &viewer, [&] {
            modal = QApplication::activeModalWidget();
            shown = viewer.selectedDate();
            control<QListWidget>(viewer, calendarviewer::dayList)->setCurrentRow(10);
            control<QPushButton>(viewer, calendarviewer::useButton)->click();
        });
        const std::optional<QDate> picked = viewer.pickModally();
        QCOMPARE(modal, static_cast<QWidget*>(&viewer));
        QCOMPARE(shown, QDate(2024, 2, 10));  // the pick survives the change of modality
        QCOMPARE(picked, std::optional<QDate>(QDate(2024, 2, 11)));
        QVERIFY(viewer.isVisible());  // still open without blocking
        QCOMPARE(viewer.selectedDate(), QDate(2024, 2, 11));
        QVERIFY(QApplication::activeModalWidget() == nullptr);

        // Shown modally only: closed by the "关闭" button, nothing picked.
        viewer.hide();
        QTimer::singleShot(0, &viewer, [&] { control<QPushButton>(viewer, calendarviewer::closeButton)->click(); });
        QCOMPARE(viewer.pickModally(), std::optional<QDate>());
        QVERIFY(!viewer.isVisible());
    }

    void useThisDateRebuildsTheChart() {
        ProgramFixture f;
        QVERIFY(f.bench().enterCaseNumber(QStringLiteral("20240204311111T:16:24:00")));
        ui::CalendarViewer& viewer = f.program->calendarViewer;
        viewer.show();
        click(control<QListWidget>(viewer, calendarviewer::dayList), 9);  // 2024-02-10, a 甲辰 day
        control<QPushButton>(viewer, calendarviewer::useButton)->click();
        QCOMPARE(viewer.result(), int(QDialog::Accepted));
        QVERIFY(viewer.isVisible());  // opened without blocking: stays open
        QCOMPARE(f.bench().chart().castDate, QDate(2024, 2, 10));
        QVERIFY(control<QLabel>(*f.window, mainwindow::pillarLabel)
                    ->text()
                    .startsWith(QStringLiteral("甲辰年 丙寅月 甲辰日(寅卯空) 2024-02-10 16:24:00")));
        QCOMPARE(control<QLineEdit>(*f.window, mainwindow::caseNumberEdit)->text(), QStringLiteral("20240210311111"));
        QCOMPARE(f.bench().chart().main[5].beast, QStringLiteral("青龙"));  // 甲 day
        QVERIFY(control<QLabel>(*f.window, mainwindow::termLabel)->text().isEmpty());
    }
};

QTEST_MAIN(CalendarViewerTest)
#include "calendar_viewer_test.moc"
