// The casting dialog over the real main window and database: casts made as a user makes them,
// through "重新起卦", and what they leave in the chart and in gua_table.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSqlQuery>
#include <QTabWidget>
#include <QTest>
#include <QTimeEdit>
#include <QTimer>

#include "reading/reading.h"
#include "test_support/program_fixture.h"
#include "ui/casting/object_names.h"
#include "ui/common/object_names.h"
#include "ui/main/object_names.h"

namespace {

namespace castdialog = objectnames::castdialog;
namespace mainwindow = objectnames::mainwindow;
namespace placefields = objectnames::placefields;
using ui::CastDialog;

// The pseudo generator with a fixed seed and no pause between draws.
casting::RandomSource seeded(quint32 seed) {
    casting::RandomPlatform platform;
    platform.seed = [seed] { return seed; };
    platform.wait = [] {};
    return casting::RandomSource(casting::SourceKind::Pseudo, platform);
}

struct DialogFixture : ProgramFixture {
    explicit DialogFixture(quint32 seed = 12345, QDateTime now = QDateTime(QDate(2024, 2, 4), QTime(16, 24)))
        : ProgramFixture(std::move(now), {}, seeded(seed)), dialog(program->castDialog) {}

    // Presses "重新起卦" and takes the steps once the dialog is up; a dialog the steps leave open
    // is cancelled.
    void recastWith(const std::function<void(CastDialog&)>& steps) {
        // Queued twice: the dialog's own after-show (the category lists) comes in between.
        QTimer::singleShot(0, &dialog, [this, steps] {
            QTimer::singleShot(0, &dialog, [this, steps] {
                steps(dialog);
                if (dialog.isVisible()) dialog.reject();
            });
        });
        control<QPushButton>(*window, mainwindow::recastButton)->click();
    }

    qint64 storedCases() const { return db->getFirstInteger(QStringLiteral("select count(*) from gua_table")); }

    CastDialog& dialog;
};

void clickLabel(QLabel* label, int times = 1) {
    for (int i = 0; i < times; ++i) QTest::mouseClick(label, Qt::LeftButton);
}

QString fieldsOfOnlyRow(const store::Database& db) {
    QSqlQuery q = db.select(
        QStringLiteral("select gua_ming,gua_bianhao,lei_id,nian,yue,ri,xingbie,chusheng,shiyou from gua_table"));
    if (!q.next()) return {};
    QStringList fields;
    for (int i = 0; i < 9; ++i) fields << q.value(i).toString();
    return q.next() ? QStringLiteral("more than one row") : fields.join(u'|');
}

}  // namespace

class CastDialogTest : public QObject {
    Q_OBJECT
private slots:
    void manualCastThroughTheThrows() {
        DialogFixture f;
        control<QPlainTextEdit>(*f.window, mainwindow::judgmentEdit)->setPlainText(QStringLiteral("旧断语"));
        f.prompter.saveAnswers = {workbench::Prompter::Answer::No};
        QStringList captions;
        QString names;
        f.recastWith([&](CastDialog& d) {
            control<QRadioButton>(d, castdialog::jingfangMethod)->click();
            control<QLineEdit>(d, castdialog::subjectEdit1)->setText(QStringLiteral("求财"));
            QTest::keyClicks(control<QLineEdit>(d, castdialog::birthYearEdit1), QStringLiteral("1980"));
            control<QComboBox>(d, castdialog::sexBox1)->setCurrentIndex(0);
            // 初爻 four clicks: 一 - - o x; every other throw once: 一. The fourth is left for now.
            clickLabel(control<QLabel>(d, castdialog::throwLabels[0]), 4);
            for (int k : {1, 2, 4, 5}) clickLabel(control<QLabel>(d, castdialog::throwLabels[std::size_t(k)]));
            control<QPushButton>(d, castdialog::manualCastButton)->click();
            clickLabel(control<QLabel>(d, castdialog::throwLabels[3]));
            for (int k = 0; k < 6; ++k) captions << control<QLabel>(d, castdialog::throwLabels[k])->text();
            names = control<QLabel>(d, castdialog::namesLabel)->text();
            control<QPushButton>(d, castdialog::manualCastButton)->click();
        });
        QCOMPARE(f.prompter.savePrompts, 1);
        QCOMPARE(f.prompter.messages, QStringList{QStringLiteral("“第四次摇得”位置请用鼠标点击来更改爻值。")});
        QCOMPARE(captions, (QStringList{QStringLiteral("x"), QStringLiteral("一"), QStringLiteral("一"),
                                        QStringLiteral("一"), QStringLiteral("一"), QStringLiteral("一")}));
        QCOMPARE(names, QStringLiteral("主卦：天风姤 变卦：乾为天"));

        QVERIFY(!f.dialog.isVisible());
        QCOMPARE(f.bench().chart().main[0].hexagramName, QStringLiteral("天风姤"));
        QCOMPARE(f.bench().chart().main[5].code, 4);
        QCOMPARE(control<QLineEdit>(*f.window, mainwindow::caseNumberEdit)->text(), QStringLiteral("20240204111114"));
        QCOMPARE(f.bench().caseHeader(), QStringLiteral("性别:男 出生:1980 占事:(手摇)求财"));
        QVERIFY(control<QPlainTextEdit>(*f.window, mainwindow::judgmentEdit)->toPlainText().isEmpty());
        QVERIFY(!control<QPushButton>(*f.window, mainwindow::saveJudgmentButton)->isEnabled());
        const QString category =
            f.db->getFirstString(QStringLiteral("select lei_id from fenlei_table where lei_mingcheng='杂类'"));
        QVERIFY(!category.isEmpty());
        QCOMPARE(fieldsOfOnlyRow(*f.db), QStringLiteral("主卦：天风姤 变卦：乾为天|20240204111114京房式T:16:24:00|") +
                                             category + QStringLiteral("|2024|2|4|男|1980|(手摇)求财"));
    }

    void throwsAndLinesResetOnEveryShowing() {
        DialogFixture f;
        f.recastWith([](CastDialog& d) { clickLabel(control<QLabel>(d, castdialog::throwLabels[2]), 2); });
        QString caption;
        f.recastWith([&](CastDialog& d) { caption = control<QLabel>(d, castdialog::throwLabels[2])->text(); });
        QCOMPARE(caption, QStringLiteral("第三次摇得"));
        QCOMPARE(f.storedCases(), 0);
    }

    void linesCoinsAndTheirPictures() {
        DialogFixture f;
        f.dialog.show();
        control<QTabWidget>(f.dialog, castdialog::tabs)->setCurrentIndex(1);
        const auto picture = [&](int coin) {
            return control<QLabel>(f.dialog, castdialog::coinImages[std::size_t(coin)])->pixmap().toImage();
        };
        const auto face = [](const char* file) { return QPixmap(QString::fromLatin1(file)).toImage(); };
        // After 清空: every line 一, 初爻 checked, coins 花 字 字.
        QCOMPARE(control<QLabel>(f.dialog, castdialog::lineLabels[0])->text(), QStringLiteral("一"));
        QVERIFY(control<QRadioButton>(f.dialog, castdialog::lineRadios[0])->isChecked());
        QCOMPARE(picture(0), face(":/casting/q2.bmp"));
        QCOMPARE(picture(1), face(":/casting/q1.bmp"));

        clickLabel(control<QLabel>(f.dialog, castdialog::lineLabels[5]));  // 上爻: 一 → - -, checked, coins 花 花 字
        QCOMPARE(control<QLabel>(f.dialog, castdialog::lineLabels[5])->text(), QStringLiteral("- -"));
        QVERIFY(control<QRadioButton>(f.dialog, castdialog::lineRadios[5])->isChecked());
        QCOMPARE(picture(1), face(":/casting/q2.bmp"));
        QTest::mouseClick(control<QLabel>(f.dialog, castdialog::coinImages[2]), Qt::LeftButton);  // three 花: 老阳
        QCOMPARE(control<QLabel>(f.dialog, castdialog::lineLabels[5])->text(), QStringLiteral("o"));
        QCOMPARE(control<QLabel>(f.dialog, castdialog::namesLabel)->text(),
                 QStringLiteral("主卦：乾为天 变卦：泽天夬"));

        control<QCheckBox>(f.dialog, castdialog::patternBox)->click();
        QCOMPARE(picture(2), face(":/casting/y2.bmp"));
        control<QRadioButton>(f.dialog, castdialog::lineRadios[0])->click();  // 初爻 holds 一: coins 花 字 字
        QCOMPARE(picture(1), face(":/casting/y1.bmp"));

        control<QPushButton>(f.dialog, castdialog::clearButton)->click();
        QCOMPARE(control<QLabel>(f.dialog, castdialog::lineLabels[5])->text(), QStringLiteral("一"));
        QVERIFY(control<QRadioButton>(f.dialog, castdialog::lineRadios[0])->isChecked());
        QCOMPARE(control<QPlainTextEdit>(f.dialog, castdialog::rulesView)->toPlainText().count(u'\n'), 2);
    }

    void throwLabelsTakeTheHighlightUnderThePointer() {
        DialogFixture f;
        f.dialog.show();
        QLabel* label = control<QLabel>(f.dialog, castdialog::throwLabels[0]);
        const auto colour = [&] {
            label->ensurePolished();
            return label->palette().color(QPalette::WindowText);
        };
        QEvent enter(QEvent::Enter);
        QCoreApplication::sendEvent(label, &enter);
        QCOMPARE(colour(), f.dialog.palette().color(QPalette::Highlight));
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(label, &leave);
        QCOMPARE(colour(), f.dialog.palette().color(QPalette::WindowText));
    }

    void castByNameFromTheSecondTab() {
        DialogFixture f(5, QDateTime(QDate(2026, 12, 8), QTime(9, 0)));
        QString names;
        QDate date;
        QStringList symbols;
        f.recastWith([&](CastDialog& d) {
            control<QRadioButton>(d, castdialog::jingfangMethod)->click();
            control<QTabWidget>(d, castdialog::tabs)->setCurrentIndex(1);
            control<QLineEdit>(d, castdialog::nameEdit)->setText(QStringLiteral("丙寅月戊戌日 天风姤之乾为天"));
            control<QPushButton>(d, castdialog::nameCastButton)->click();
            names = control<QLabel>(d, castdialog::namesLabel)->text();
            date = control<QDateEdit>(d, castdialog::dateEdit2)->date();
            for (int l = 0; l < 6; ++l) symbols << control<QLabel>(d, castdialog::lineLabels[l])->text();
            control<QPushButton>(d, castdialog::finishManualButton)->click();
        });
        QCOMPARE(date, QDate(2024, 2, 4));
        QCOMPARE(names, QStringLiteral("2024-02-04 本卦：天风姤 变卦：乾为天"));
        QCOMPARE(symbols, (QStringList{QStringLiteral("x"), QStringLiteral("一"), QStringLiteral("一"),
                                       QStringLiteral("一"), QStringLiteral("一"), QStringLiteral("一")}));
        QCOMPARE(f.bench().chart().castDate, QDate(2024, 2, 4));
        QCOMPARE(f.bench().chart().main[0].hexagramName, QStringLiteral("天风姤"));
        QVERIFY(control<QLabel>(*f.window, mainwindow::pillarLabel)->text().contains(QStringLiteral("戊戌")));
        QCOMPARE(f.db->getFirstString(QStringLiteral("select gua_bianhao from gua_table")),
                 QStringLiteral("20240204111114京房式T:09:00:00"));
        QVERIFY(f.prompter.messages.isEmpty());
    }

    void caseNumberGoesToTheMainWindowsEntry() {
        DialogFixture f;
        bool closed = false;
        f.recastWith([&](CastDialog& d) {
            control<QTabWidget>(d, castdialog::tabs)->setCurrentIndex(1);
            QTest::keyClicks(control<QLineEdit>(d, castdialog::nameEdit), QStringLiteral("20240204311141"));
            QTest::keyClick(control<QLineEdit>(d, castdialog::nameEdit), Qt::Key_Return);
            closed = !d.isVisible();
        });
        QVERIFY(closed);
        QCOMPARE(control<QLineEdit>(*f.window, mainwindow::caseNumberEdit)->text(), QStringLiteral("20240204311141"));
        QCOMPARE(f.bench().chart().main[0].code, 3);
        QVERIFY(!f.bench().chart().main[0].hexagramName.isEmpty());
        QCOMPARE(f.storedCases(), 0);
        QVERIFY(f.prompter.messages.isEmpty());

        // The field keeps its text between showings; emptied, it asks for one.
        f.recastWith([](CastDialog& d) {
            control<QLineEdit>(d, castdialog::nameEdit)->clear();
            control<QPushButton>(d, castdialog::nameCastButton)->click();
        });
        QCOMPARE(f.prompter.messages,
                 QStringList{QStringLiteral("请输入卦例id或者卦名，卦例ID是一个14位长的数字串。")});
    }

    void chartOnlyCastStoresNothing() {
        DialogFixture f;
        QString source;
        f.recastWith([&](CastDialog& d) {
            control<QRadioButton>(d, castdialog::jingfangMethod)->click();
            control<QTabWidget>(d, castdialog::tabs)->setCurrentIndex(1);
            control<QLineEdit>(d, castdialog::subjectEdit2)->setText(QStringLiteral("求财"));
            control<QCheckBox>(d, castdialog::chartOnlyBox)->click();
            control<QPushButton>(d, castdialog::computerCastButton2)->click();
            source = control<QLabel>(d, castdialog::sourceLabel)->text();
        });
        QCOMPARE(source, QStringLiteral("电脑伪随机数可用。"));
        QCOMPARE(f.storedCases(), 0);
        // Seed 12345 draws 3 2 0 4 5 2: lines 少阴 少阳 老阴 少阳 少阴 少阳 from 初爻 up.
        QCOMPARE(f.bench().chart().main[0].hexagramName, QStringLiteral("火水未济"));
        QCOMPARE(control<QLineEdit>(*f.window, mainwindow::caseNumberEdit)->text(), QStringLiteral("20240204121412"));
        QCOMPARE(f.bench().caseHeader(), QStringLiteral("性别:未知 出生: 占事:(电脑卦)求财"));

        bool boxAfterwards = true;
        f.recastWith([&](CastDialog& d) {
            boxAfterwards = control<QCheckBox>(d, castdialog::chartOnlyBox)->isChecked();
            control<QPushButton>(d, castdialog::computerCastButton1)
                ->click();  // first tab: its empty subject is copied over
        });
        QVERIFY(!boxAfterwards);
        QCOMPARE(f.storedCases(), 1);
    }

    // 占类 beside 占事 on both tabs, empty until chosen, next after 占事 for Tab; the choice of the
    // first tab goes with its cast.
    void questionTypeBesideTheSubject() {
        DialogFixture f;
        QString copied;
        f.recastWith([&](CastDialog& d) {
            const QList<QComboBox*> boxes = d.findChildren<QComboBox*>(QString::fromLatin1(castdialog::questionBox));
            QCOMPARE(boxes.size(), 2);
            for (QComboBox* box : boxes) {
                QCOMPARE(box->currentText(), QString());
                QCOMPARE(box->itemText(0), QString());
                QStringList listed;
                for (int i = 1; i < box->count(); ++i) listed << box->itemText(i);
                QCOMPARE(listed, reading::questionTypes());
            }
            auto* subject = control<QLineEdit>(d, castdialog::subjectEdit1);
            QComboBox* first =
                subject->parentWidget()->findChild<QComboBox*>(QString::fromLatin1(castdialog::questionBox));
            QVERIFY(first);
            d.activateWindow();
            subject->setFocus();
            QTest::keyClick(subject, Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), first);
            // Any listed type; the list is the reading library's.
            first->addItem(QStringLiteral("求财"));
            first->setCurrentIndex(first->count() - 1);
            control<QPushButton>(d, castdialog::computerCastButton1)->click();
            copied = d.session().secondTab.question;
        });
        QCOMPARE(copied, QStringLiteral("求财"));
        QCOMPARE(f.storedCases(), 1);
    }

    void cancelAndCloseLeaveTheChart() {
        DialogFixture f;
        f.bench().enterCaseNumber(QStringLiteral("20240204311141京房式T:10:00:00"));
        const chart::ChartState before = f.bench().chart();
        const QString entry = control<QLineEdit>(*f.window, mainwindow::caseNumberEdit)->text();
        f.recastWith([](CastDialog& d) {
            for (int k = 0; k < 6; ++k) clickLabel(control<QLabel>(d, castdialog::throwLabels[k]));
            control<QPushButton>(d, castdialog::cancelButton)->click();
        });
        QCOMPARE(control<QLineEdit>(*f.window, mainwindow::caseNumberEdit)->text(), entry);
        QCOMPARE(f.bench().chart().main[0].hexagramName, before.main[0].hexagramName);
        QCOMPARE(f.bench().chart().castTime, QTime(10, 0));
        QCOMPARE(control<QLabel>(*f.window, mainwindow::pillarLabel)->text(), before.pillarLabel);
        QCOMPARE(f.storedCases(), 0);

        // "关闭" keeps the chart but takes the time picker's time as the cast time.
        f.recastWith([](CastDialog& d) {
            control<QTabWidget>(d, castdialog::tabs)->setCurrentIndex(1);
            control<QTimeEdit>(d, castdialog::timeEdit2)->setTime(QTime(9, 30, 15));
            control<QPushButton>(d, castdialog::closeButton)->click();
        });
        QCOMPARE(f.bench().chart().main[0].hexagramName, before.main[0].hexagramName);
        QCOMPARE(f.bench().chart().castTime, QTime(9, 30, 15));
        QCOMPARE(f.storedCases(), 0);
    }

    // Space on a focused throw, line or coin changes it exactly as a left click does.
    void throwsLinesAndCoinsWorkFromTheKeyboard() {
        const auto press = [](QLabel* label, bool byKey) {
            if (byKey)
                QTest::keyClick(label, Qt::Key_Space);
            else
                QTest::mouseClick(label, Qt::LeftButton);
        };
        QStringList results[2];
        for (const bool byKey : {false, true}) {
            DialogFixture f;
            QStringList& seen = results[byKey ? 1 : 0];
            f.recastWith([&](CastDialog& d) {
                QLabel* firstThrow = control<QLabel>(d, castdialog::throwLabels[0]);
                QVERIFY(firstThrow->focusPolicy() & Qt::TabFocus);
                press(firstThrow, byKey);
                seen << firstThrow->text();
                control<QTabWidget>(d, castdialog::tabs)->setCurrentIndex(1);
                QLabel* bottomLine = control<QLabel>(d, castdialog::lineLabels[0]);
                press(bottomLine, byKey);
                seen << bottomLine->text();
                press(control<QLabel>(d, castdialog::coinImages[0]), byKey);
                seen << bottomLine->text();
            });
        }
        QCOMPARE(results[1], results[0]);
        QCOMPARE(results[0].size(), 3);
        QVERIFY(results[0][1] != results[0][2]);  // the coin changed the line
    }

    // Page 数字/时间: 3 离 above, 5 巽 below, 3 + 5 + 9 (申) = 17 → line 5; the same by keys as by mouse.
    void numbersCastWorksByKeyboardAsByMouse() {
        QStringList stored;
        for (const bool byKey : {false, true}) {
            DialogFixture f(7, QDateTime(QDate(2025, 1, 16), QTime(15, 30)));
            f.recastWith([&](CastDialog& d) {
                control<QRadioButton>(d, castdialog::jingfangMethod)->click();
                control<QTabWidget>(d, castdialog::tabs)->setCurrentIndex(2);
                auto* numbers = control<QLineEdit>(d, castdialog::numbersEdit);
                auto* addHour = control<QCheckBox>(d, castdialog::addHourBox);
                if (byKey) {
                    numbers->setFocus();
                    QTest::keyClicks(numbers, QStringLiteral("3 5"));
                    addHour->setFocus();
                    QTest::keyClick(addHour, Qt::Key_Space);
                    QTest::keyClick(numbers, Qt::Key_Return);
                } else {
                    numbers->setText(QStringLiteral("3 5"));
                    QTest::mouseClick(addHour, Qt::LeftButton);
                    QTest::mouseClick(control<QPushButton>(d, castdialog::plumNumbersButton), Qt::LeftButton);
                }
            });
            stored << f.db->getFirstString(QStringLiteral("select gua_bianhao from gua_table"));
            QVERIFY(f.prompter.messages.isEmpty());
        }
        QCOMPARE(stored, QStringList(2, QStringLiteral("20250116141112京房式T:15:30:00")));
    }

    // 20:30 in Vancouver on 5 January 2024 is 12:30 on the 6th in Beijing: 癸卯年十一月廿五午时,
    // 4 + 11 + 25 = 40 → 8 坤, 47 → 7 艮, 47 → 5: 地山谦. The case keeps its civil time and its place.
    void timeCastAtAPlaceKeepsThePlace() {
        DialogFixture f(7, QDateTime(QDate(2024, 1, 5), QTime(20, 30)));
        f.recastWith([&](CastDialog& d) {
            control<QRadioButton>(d, castdialog::jingfangMethod)->click();
            control<QTabWidget>(d, castdialog::tabs)->setCurrentIndex(2);
            control<QDoubleSpinBox>(d, placefields::longitudeBox)->setValue(-123.1);
            control<QComboBox>(d, placefields::timeZoneBox)->setCurrentText(QStringLiteral("America/Vancouver"));
            QVERIFY(control<QLabel>(d, castdialog::numberTimeHeader)
                        ->text()
                        .contains(QStringLiteral("北京时间 2024-01-06 12:30")));
            control<QPushButton>(d, castdialog::plumTimeButton)->click();
        });
        QCOMPARE(f.db->getFirstString(QStringLiteral("select gua_bianhao||'|'||didian||'|'||shizhi from gua_table")),
                 QStringLiteral("20240105242122京房式T:20:30:00|-123.1,America/Vancouver|beijing"));
        QCOMPARE(f.bench().chart().secondSlot, QStringLiteral("己巳日"));
        QVERIFY(control<QLabel>(*f.window, mainwindow::pillarLabel)->text().contains(QStringLiteral("北京时间")));
    }

    void unsavedPromptCancelledOpensNoDialog() {
        DialogFixture f;
        bool ran = false;
        QObject::connect(&f.bench(), &workbench::Workbench::castRequested, [&] { ran = true; });
        control<QPlainTextEdit>(*f.window, mainwindow::judgmentEdit)->setPlainText(QStringLiteral("未保存"));
        control<QPushButton>(*f.window, mainwindow::recastButton)->click();  // the save prompt answers 取消
        QCOMPARE(f.prompter.savePrompts, 1);
        QVERIFY(!ran);
        QCOMPARE(control<QPlainTextEdit>(*f.window, mainwindow::judgmentEdit)->toPlainText(), QStringLiteral("未保存"));
    }

    void methodOptionIsStoredInRow86() {
        DialogFixture f;
        const auto stored = [&] {
            return f.db->getFirstInteger(QStringLiteral("select value15 from zhi where id=86"));
        };
        f.dialog.show();
        control<QRadioButton>(f.dialog, castdialog::zangshanMethod)->click();
        QCOMPARE(stored(), 2);
        control<QRadioButton>(f.dialog, castdialog::jingfangMethod)->click();
        QCOMPARE(stored(), 1);
        control<QRadioButton>(f.dialog, castdialog::randomMethod)->click();
        QCOMPARE(stored(), 0);
        control<QRadioButton>(f.dialog, castdialog::zangshanMethod)->click();

        // A dialog made later (the next run) starts with the stored option; its cast checks the
        // main window's 藏山卜.
        app::ProgramWindows next({*f.db, f.clock, f.prompter, f.dir.path(), {}, {}, seeded(7)});
        QVERIFY(control<QRadioButton>(next.castDialog, castdialog::zangshanMethod)->isChecked());
        QTimer::singleShot(0, &next.castDialog, [&next] {
            control<QPushButton>(next.castDialog, castdialog::computerCastButton2)->click();
        });
        control<QPushButton>(next.mainWindow, mainwindow::recastButton)->click();
        QVERIFY(control<QRadioButton>(next.mainWindow, mainwindow::zangshanRadio)->isChecked());
        QCOMPARE(next.bench.chart().method, chart::ArrangementMethod::Zangshan);
        QVERIFY(f.db->getFirstString(QStringLiteral("select gua_bianhao from gua_table"))
                    .contains(QStringLiteral("藏山卜")));
    }

    void datePickersShowTheDateAndItsTerm() {
        DialogFixture f(5, QDateTime(QDate(2024, 2, 3), QTime(8, 0, 5)));
        QString term, header, time;
        f.recastWith([&](CastDialog& d) {
            control<QTabWidget>(d, castdialog::tabs)->setCurrentIndex(1);
            time = control<QTimeEdit>(d, castdialog::timeEdit2)->text();
            control<QDateEdit>(d, castdialog::dateEdit2)->setDate(QDate(2024, 2, 4));
            term = control<QLabel>(d, castdialog::termLabel)->text();
            header = control<QLabel>(d, castdialog::dateHeaderLabel)->text();
        });
        QCOMPARE(time, QStringLiteral("08:00:05"));
        QVERIFY2(term.contains(QStringLiteral("立春")), qPrintable(term));
        QVERIFY2(header.contains(QStringLiteral("戊戌")), qPrintable(header));
    }
};

QTEST_MAIN(CastDialogTest)
#include "cast_dialog_test.moc"
