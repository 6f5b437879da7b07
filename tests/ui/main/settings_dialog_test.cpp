// "设置…" of the main window's popup menu and its 节气算法 choice, through the windows as a user
// reaches them. Expected pillars are worked out by hand from the Hong Kong Observatory's table of
// the 24 solar terms: 小暑 2016 at 2016-07-07 00:03 Beijing time (the closed formulas put it on
// 6 July); term texts write hour and minute without leading zeros ("小暑0:3"). 2016-07-07 is 庚寅 (counted from
// 2000-01-01 = 戊午); a 丙 year's 午 month is 甲午, its 未 month 乙未.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <functional>

#include "test_support/program_fixture.h"
#include "ui/calendar/object_names.h"
#include "ui/casting/object_names.h"
#include "ui/main/object_names.h"
#include "ui/main/settings_dialog.h"

namespace {

namespace calendarviewer = objectnames::calendarviewer;
namespace castdialog = objectnames::castdialog;
namespace mainwindow = objectnames::mainwindow;
namespace settingsdialog = objectnames::settingsdialog;

const QDateTime kBeforeXiaoshu(QDate(2016, 7, 7), QTime(0, 1));

QAction* settingsAction(const ui::MainWindow& window) {
    for (QAction* a : control<QMenu>(window, mainwindow::popupMenu)->actions())
        if (a->objectName() == QLatin1String(mainwindow::settingsAction)) return a;
    qFatal("no settings action");
}

// Opens "设置…" and takes the steps on the dialog; a dialog the steps leave open is cancelled.
void withSettings(const ui::MainWindow& window, const std::function<void(QDialog&)>& steps) {
    bool reached = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<ui::SettingsDialog*>(QApplication::activeModalWidget());
        if (!dialog) return;
        reached = true;
        steps(*dialog);
        if (dialog->isVisible()) dialog->reject();
    });
    settingsAction(window)->trigger();
    QVERIFY(reached);
}

void choose(QDialog& dialog, const char* radio, const char* button) {
    control<QRadioButton>(dialog, radio)->click();
    control<QPushButton>(dialog, button)->click();
}

}  // namespace

class SettingsDialogTest : public QObject {
    Q_OBJECT
private slots:
    void theChoiceRecomputesThePillarsAndLastsAcrossARestart() {
        ProgramFixture f(kBeforeXiaoshu);
        QVERIFY(control<QLabel>(*f.window, mainwindow::pillarLabel)
                    ->text()
                    .startsWith(QStringLiteral("丙申年 乙未月 庚寅日")));
        QCOMPARE(control<QLabel>(*f.window, mainwindow::termLabel)->text(), QString());

        QString title;
        bool formulaFirst = false;
        withSettings(*f.window, [&](QDialog& d) {
            title = d.windowTitle();
            formulaFirst = control<QRadioButton>(d, settingsdialog::formulaRadio)->isChecked();
            QCOMPARE(control<QRadioButton>(d, settingsdialog::formulaRadio)->text(), QStringLiteral("公式(默认)"));
            choose(d, settingsdialog::astronomicalRadio, settingsdialog::okButton);
        });
        QCOMPARE(title, QStringLiteral("设置"));
        QVERIFY(formulaFirst);
        QVERIFY(control<QLabel>(*f.window, mainwindow::pillarLabel)
                    ->text()
                    .startsWith(QStringLiteral("丙申年 甲午月 庚寅日")));
        QCOMPARE(control<QLabel>(*f.window, mainwindow::termLabel)->text(), QStringLiteral("小暑0:3天"));
        QVERIFY(f.prompter.messages.isEmpty());

        f.restart();
        QVERIFY(control<QLabel>(*f.window, mainwindow::pillarLabel)
                    ->text()
                    .startsWith(QStringLiteral("丙申年 甲午月 庚寅日")));
        // "取消" leaves the stored choice as it is.
        bool astronomicalShown = false;
        withSettings(*f.window, [&](QDialog& d) {
            astronomicalShown = control<QRadioButton>(d, settingsdialog::astronomicalRadio)->isChecked();
            choose(d, settingsdialog::formulaRadio, settingsdialog::cancelButton);
        });
        QVERIFY(astronomicalShown);
        QCOMPARE(f.bench().calendarSource(), cal::CalendarSource::Astronomical);

        withSettings(*f.window, [](QDialog& d) { choose(d, settingsdialog::formulaRadio, settingsdialog::okButton); });
        QVERIFY(control<QLabel>(*f.window, mainwindow::pillarLabel)
                    ->text()
                    .startsWith(QStringLiteral("丙申年 乙未月 庚寅日")));
        f.restart();
        QCOMPARE(f.bench().calendarSource(), cal::CalendarSource::Formula);
    }

    void aChartOnViewIsBuiltAgainUnderTheNewChoice() {
        ProgramFixture f(QDateTime(QDate(2024, 3, 1), QTime(9, 0)));
        QVERIFY(f.bench().enterCaseNumber(QStringLiteral("20160707111112T:00:01:00")));  // 天风姤
        QCOMPARE(control<QLabel>(*f.window, mainwindow::monthBranchLabel)->text(), QStringLiteral("阴土"));  // 未
        withSettings(*f.window,
                     [](QDialog& d) { choose(d, settingsdialog::astronomicalRadio, settingsdialog::okButton); });
        QCOMPARE(control<QLabel>(*f.window, mainwindow::monthBranchLabel)->text(), QStringLiteral("阳火"));  // 午
        QCOMPARE(f.bench().chart().main[0].hexagramName, QStringLiteral("天风姤"));
    }

    // The casting dialog's date labels and the calendar viewer's rows follow the choice, also
    // while they are open.
    void castingDialogAndCalendarViewerFollowTheChoice() {
        ProgramFixture f(kBeforeXiaoshu);
        ui::CalendarViewer& viewer = f.program->calendarViewer;
        viewer.show();
        auto* days = control<QListWidget>(viewer, calendarviewer::dayList);
        QCOMPARE(days->currentRow(), 6);
        QVERIFY2(days->item(5)->text().contains(QStringLiteral("乙未月")), qPrintable(days->item(5)->text()));
        QVERIFY(days->item(5)->text().contains(QStringLiteral("小暑")));
        QVERIFY(!days->item(6)->text().contains(QStringLiteral("小暑")));

        withSettings(*f.window,
                     [](QDialog& d) { choose(d, settingsdialog::astronomicalRadio, settingsdialog::okButton); });
        QCOMPARE(days->currentRow(), 6);
        QCOMPARE(control<QLabel>(viewer, calendarviewer::pickedLabel)->text(),
                 QStringLiteral("当前选择的公历为：2016年7月7日"));
        QVERIFY2(days->item(5)->text().contains(QStringLiteral("甲午月")), qPrintable(days->item(5)->text()));
        QVERIFY(!days->item(5)->text().contains(QStringLiteral("小暑")));
        QVERIFY2(days->item(6)->text().endsWith(QStringLiteral(" 小暑0:3")), qPrintable(days->item(6)->text()));
        viewer.close();

        QString header, term;
        ui::CastDialog& dialog = f.program->castDialog;
        QTimer::singleShot(0, &dialog, [&] {
            QTimer::singleShot(0, &dialog, [&] {
                header = control<QLabel>(dialog, castdialog::dateHeaderLabel)->text();
                term = control<QLabel>(dialog, castdialog::termLabel)->text();
                dialog.reject();
            });
        });
        control<QPushButton>(*f.window, mainwindow::recastButton)->click();
        QVERIFY2(header.startsWith(QStringLiteral("丙申年 甲午月 庚寅日")), qPrintable(header));
        QCOMPARE(term, QStringLiteral("小暑0:3天"));
    }

    // Each school choice offers its default first; "确定" keeps the chosen ones, and the help of
    // 贵人 gives both verses.
    void theSchoolChoicesAreSetAndKept() {
        ProgramFixture f;
        QString nobleHelp;
        withSettings(*f.window, [&](QDialog& d) {
            for (QComboBox* combo : d.findChildren<QComboBox*>()) QCOMPARE(combo->currentIndex(), 0);
            nobleHelp = control<QComboBox>(d, settingsdialog::schoolCombo("noble"))->toolTip();
            control<QComboBox>(d, settingsdialog::schoolCombo("noble"))->setCurrentIndex(1);
            control<QComboBox>(d, settingsdialog::schoolCombo("blade"))->setCurrentIndex(2);
            control<QPushButton>(d, settingsdialog::okButton)->click();
        });
        QVERIFY(nobleHelp.contains(QStringLiteral("庚辛逢马虎")) && nobleHelp.contains(QStringLiteral("甲戊庚牛羊")));
        reading::Schools expected;
        expected.nobleVerse = reading::Schools::NobleVerse::JiaWuGengNiuYang;
        expected.yinBlade = reading::Schools::YinBlade::None;
        QCOMPARE(f.bench().schools(), expected);
        f.restart();
        int blade = -1;
        withSettings(*f.window, [&](QDialog& d) {
            blade = control<QComboBox>(d, settingsdialog::schoolCombo("blade"))->currentIndex();
            control<QComboBox>(d, settingsdialog::schoolCombo("blade"))->setCurrentIndex(0);
            control<QPushButton>(d, settingsdialog::cancelButton)->click();
        });
        QCOMPARE(blade, 2);
        QCOMPARE(f.bench().schools(), expected);
    }

    // 界面语言: each language named in itself, following the system until chosen; the choice,
    // made with the keys or the mouse, is stored at "确定" for the next start.
    void theInterfaceLanguageIsKeptForTheNextStart() {
        ProgramFixture f;
        QStringList entries;
        QString note;
        withSettings(*f.window, [&](QDialog& d) {
            auto* combo = control<QComboBox>(d, settingsdialog::languageCombo);
            for (int i = 0; i < combo->count(); ++i) entries << combo->itemText(i);
            QCOMPARE(combo->currentIndex(), 0);
            QCOMPARE(combo->accessibleName(), QStringLiteral("界面语言"));
            note = control<QLabel>(d, settingsdialog::languageNote)->text();
            combo->setFocus();
            for (int i = 0; i < 3; ++i) QTest::keyClick(combo, Qt::Key_Down);
            control<QPushButton>(d, settingsdialog::okButton)->click();
        });
        QCOMPARE(entries, (QStringList{"跟随系统", "简体中文", "繁體中文", "English"}));
        QVERIFY2(note.contains(QStringLiteral("下次启动")), qPrintable(note));
        QCOMPARE(f.bench().interfaceLanguageCode(), QStringLiteral("en"));

        f.restart();
        QCOMPARE(f.bench().interfaceLanguageCode(), QStringLiteral("en"));
        withSettings(*f.window, [&](QDialog& d) {
            auto* combo = control<QComboBox>(d, settingsdialog::languageCombo);
            QCOMPARE(combo->currentText(), QStringLiteral("English"));
            combo->setCurrentIndex(2);  // as a pick from the list does
            control<QPushButton>(d, settingsdialog::cancelButton)->click();
        });
        QCOMPARE(f.bench().interfaceLanguageCode(), QStringLiteral("en"));
        withSettings(*f.window, [&](QDialog& d) {
            control<QComboBox>(d, settingsdialog::languageCombo)->setCurrentIndex(0);
            control<QPushButton>(d, settingsdialog::okButton)->click();
        });
        QCOMPARE(f.bench().interfaceLanguageCode(), QString());
    }

    // The account button keeps its own role: "设置…" is an addition to the popup menu.
    void theAccountButtonIsUnchanged() {
        ProgramFixture f;
        QCOMPARE(control<QPushButton>(*f.window, mainwindow::settingsButton)->text(), QStringLiteral("设置"));
        QVERIFY(settingsAction(*f.window)->isEnabled());
    }
};

QTEST_MAIN(SettingsDialogTest)
#include "settings_dialog_test.moc"
