#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "calendar_view/calendar_viewer.h"
#include "test_support/main_window_fixture.h"

namespace {

void click(QListWidget* list, int row) {
    list->setCurrentRow(row);
    emit list->itemClicked(list->item(row));
}

}  // namespace

class CalendarViewerTest : public QObject {
    Q_OBJECT
private slots:
    void showingSelectsToday() {
        calendar_view::CalendarViewer viewer([] { return QDate(2024, 2, 4); }, nullptr);
        viewer.show();
        QCOMPARE(viewer.yearList->count(), 150);
        QCOMPARE(viewer.yearList->item(0)->text(), QStringLiteral("1900年 庚子"));
        QCOMPARE(viewer.yearList->item(149)->text(), QStringLiteral("2049年 己巳"));
        QCOMPARE(viewer.yearList->currentItem()->text(), QStringLiteral("2024年 甲辰"));
        QCOMPARE(viewer.monthList->currentItem()->text(), QStringLiteral("2月 乙丑月-丙寅月"));
        QCOMPARE(viewer.dayList->currentItem()->text(), QStringLiteral("4号 丙寅月 戊戌日 星期日 十二月廿五 立春16:25"));
        QCOMPARE(viewer.pickedLabel->text(), QStringLiteral("当前选择的公历为：2024年2月4日"));
    }

    void februaryLengthsAndLeapMonthRows() {
        calendar_view::CalendarViewer viewer([] { return QDate(2024, 2, 4); }, nullptr);
        viewer.show();
        click(viewer.yearList, 0);  // 1900: the days of January are shown
        QCOMPARE(viewer.monthList->currentRow(), 0);
        QCOMPARE(viewer.dayList->count(), 31);
        click(viewer.monthList, 1);
        QCOMPARE(viewer.dayList->count(), 28);
        QCOMPARE(viewer.pickedLabel->text(), QStringLiteral("当前选择的公历为：1900年2月1日"));
        click(viewer.yearList, 100);  // 2000
        click(viewer.monthList, 1);
        QCOMPARE(viewer.dayList->count(), 29);
        click(viewer.yearList, 123);  // 2023: 闰二月 begins on 22 March
        click(viewer.monthList, 2);
        QVERIFY(viewer.dayList->item(21)->text().contains(QStringLiteral(" (闰)二月初一 ")));
        click(viewer.dayList, 21);
        QCOMPARE(viewer.selectedDate(), QDate(2023, 3, 22));
    }

    void todayOutsideTheListSelectsTheNearestYear() {
        calendar_view::CalendarViewer later([] { return QDate(2060, 6, 1); }, nullptr);
        later.show();
        QCOMPARE(later.yearList->currentRow(), 149);
        QCOMPARE(later.selectedDate(), QDate(2049, 1, 1));
        calendar_view::CalendarViewer earlier([] { return QDate(1899, 6, 1); }, nullptr);
        earlier.show();
        QCOMPARE(earlier.selectedDate(), QDate(1900, 1, 1));
    }

    void useThisDateRebuildsTheChart() {
        MainWindowFixture f;
        QVERIFY(f.window->enterCaseNumber(QStringLiteral("20240204311111T:16:24:00")));
        calendar_view::CalendarViewer viewer([] { return QDate(2024, 2, 4); },
                                             [&](QDate d) { f.window->useCastDate(d); });
        viewer.show();
        click(viewer.dayList, 9);  // 2024-02-10, a 甲辰 day
        viewer.useButton->click();
        QCOMPARE(viewer.result(), int(QDialog::Accepted));
        QCOMPARE(f.window->chartState().castDate, QDate(2024, 2, 10));
        QVERIFY(f.window->pillarLabel->text().startsWith(QStringLiteral("甲辰年 丙寅月 甲辰日(寅卯空) 2024-02-10 16:24:00")));
        QCOMPARE(f.window->caseNumberEdit->text(), QStringLiteral("20240210311111"));
        QCOMPARE(f.window->chartState().main[5].beast, QStringLiteral("青龙"));  // 甲 day
        QVERIFY(f.window->termLabel->text().isEmpty());
    }
};

QTEST_MAIN(CalendarViewerTest)
#include "calendar_viewer_test.moc"
