// The casting dialog over the real main window and database: casts made as a user makes them,
// through "重新起卦", and what they leave in the chart and in gua_table.
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
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

#include "casting/cast_dialog.h"
#include "test_support/main_window_fixture.h"

namespace {

using casting::CastDialog;

// The pseudo generator with a fixed seed and no pause between draws.
casting::RandomSource seeded(quint32 seed) {
    casting::RandomPlatform platform;
    platform.seed = [seed] { return seed; };
    platform.wait = [] {};
    return casting::RandomSource(casting::SourceKind::Pseudo, platform);
}

struct DialogFixture : MainWindowFixture {
    explicit DialogFixture(quint32 seed = 12345, QDateTime now = QDateTime(QDate(2024, 2, 4), QTime(16, 24)))
        : MainWindowFixture(std::move(now)), dialog(*window, *db, clock, prompter, seeded(seed), window.get()) {
        window->setCastDialogRunner([this] { return dialog.run(); });
    }

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
        window->recastButton->click();
    }

    qint64 storedCases() const { return db->getFirstInteger(QStringLiteral("select count(*) from gua_table")); }

    CastDialog dialog;
};

void clickLabel(QLabel* label, int times = 1) {
    for (int i = 0; i < times; ++i) QTest::mouseClick(label, Qt::LeftButton);
}

QString fieldsOfOnlyRow(const store::Database& db) {
    QSqlQuery q = db.select(QStringLiteral(
        "select gua_ming,gua_bianhao,lei_id,nian,yue,ri,xingbie,chusheng,shiyou from gua_table"));
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
        f.window->judgmentEdit->setPlainText(QStringLiteral("旧断语"));
        f.prompter.saveAnswers = {app::Prompter::Answer::No};
        QStringList captions;
        QString names;
        f.recastWith([&](CastDialog& d) {
            d.jingfangMethod->click();
            d.subjectEdit1->setText(QStringLiteral("求财"));
            QTest::keyClicks(d.birthYearEdit1, QStringLiteral("1980"));
            d.sexBox1->setCurrentIndex(0);
            // 初爻 four clicks: 一 - - o x; every other throw once: 一. The fourth is left for now.
            clickLabel(d.throwLabels[0], 4);
            for (int k : {1, 2, 4, 5}) clickLabel(d.throwLabels[std::size_t(k)]);
            d.manualCastButton->click();
            clickLabel(d.throwLabels[3]);
            for (QLabel* l : d.throwLabels) captions << l->text();
            names = d.namesLabel->text();
            d.manualCastButton->click();
        });
        QCOMPARE(f.prompter.savePrompts, 1);
        QCOMPARE(f.prompter.messages, QStringList{QStringLiteral("“第四次摇得”位置请用鼠标点击来更改爻值。")});
        QCOMPARE(captions, (QStringList{QStringLiteral("x"), QStringLiteral("一"), QStringLiteral("一"),
                                        QStringLiteral("一"), QStringLiteral("一"), QStringLiteral("一")}));
        QCOMPARE(names, QStringLiteral("主卦：天风姤 变卦：乾为天"));

        QVERIFY(!f.dialog.isVisible());
        QCOMPARE(f.window->chartState().main[0].hexagramName, QStringLiteral("天风姤"));
        QCOMPARE(f.window->chartState().main[5].code, 4);
        QCOMPARE(f.window->caseNumberEdit->text(), QStringLiteral("20240204111114"));
        QCOMPARE(f.window->caseHeader(), QStringLiteral("性别:男 出生:1980 占事:(手摇)求财"));
        QVERIFY(f.window->judgmentEdit->toPlainText().isEmpty());
        QVERIFY(!f.window->saveJudgmentButton->isEnabled());
        const QString category =
            f.db->getFirstString(QStringLiteral("select lei_id from fenlei_table where lei_mingcheng='杂类'"));
        QVERIFY(!category.isEmpty());
        QCOMPARE(fieldsOfOnlyRow(*f.db), QStringLiteral("主卦：天风姤 变卦：乾为天|20240204111114京房式T:16:24:00|") +
                                             category + QStringLiteral("|2024|2|4|男|1980|(手摇)求财"));
    }

    void throwsAndLinesResetOnEveryShowing() {
        DialogFixture f;
        f.recastWith([](CastDialog& d) { clickLabel(d.throwLabels[2], 2); });
        QString caption;
        f.recastWith([&](CastDialog& d) { caption = d.throwLabels[2]->text(); });
        QCOMPARE(caption, QStringLiteral("第三次摇得"));
        QCOMPARE(f.storedCases(), 0);
    }

    void linesCoinsAndTheirPictures() {
        DialogFixture f;
        f.dialog.show();
        f.dialog.tabs->setCurrentIndex(1);
        const auto picture = [&](int coin) { return f.dialog.coinImages[std::size_t(coin)]->pixmap().toImage(); };
        const auto face = [](const char* file) { return QPixmap(QString::fromLatin1(file)).toImage(); };
        // After 清空: every line 一, 初爻 checked, coins 花 字 字.
        QCOMPARE(f.dialog.lineLabels[0]->text(), QStringLiteral("一"));
        QVERIFY(f.dialog.lineRadios[0]->isChecked());
        QCOMPARE(picture(0), face(":/casting/q2.bmp"));
        QCOMPARE(picture(1), face(":/casting/q1.bmp"));

        clickLabel(f.dialog.lineLabels[5]);  // 上爻: 一 → - -, checked, coins 花 花 字
        QCOMPARE(f.dialog.lineLabels[5]->text(), QStringLiteral("- -"));
        QVERIFY(f.dialog.lineRadios[5]->isChecked());
        QCOMPARE(picture(1), face(":/casting/q2.bmp"));
        QTest::mouseClick(f.dialog.coinImages[2], Qt::LeftButton);  // three 花: 老阳
        QCOMPARE(f.dialog.lineLabels[5]->text(), QStringLiteral("o"));
        QCOMPARE(f.dialog.namesLabel->text(), QStringLiteral("主卦：乾为天 变卦：泽天夬"));

        f.dialog.patternBox->click();
        QCOMPARE(picture(2), face(":/casting/y2.bmp"));
        f.dialog.lineRadios[0]->click();  // 初爻 holds 一: coins 花 字 字
        QCOMPARE(picture(1), face(":/casting/y1.bmp"));

        f.dialog.clearButton->click();
        QCOMPARE(f.dialog.lineLabels[5]->text(), QStringLiteral("一"));
        QVERIFY(f.dialog.lineRadios[0]->isChecked());
        QCOMPARE(f.dialog.rulesView->toPlainText().count(u'\n'), 2);
    }

    void throwLabelsTakeTheHighlightUnderThePointer() {
        DialogFixture f;
        f.dialog.show();
        QLabel* label = f.dialog.throwLabels[0];
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
            d.jingfangMethod->click();
            d.tabs->setCurrentIndex(1);
            d.nameEdit->setText(QStringLiteral("丙寅月戊戌日 天风姤之乾为天"));
            d.nameCastButton->click();
            names = d.namesLabel->text();
            date = d.dateEdit2->date();
            for (QLabel* l : d.lineLabels) symbols << l->text();
            d.finishManualButton->click();
        });
        QCOMPARE(date, QDate(2024, 2, 4));
        QCOMPARE(names, QStringLiteral("2024-02-04 本卦：天风姤 变卦：乾为天"));
        QCOMPARE(symbols, (QStringList{QStringLiteral("x"), QStringLiteral("一"), QStringLiteral("一"),
                                       QStringLiteral("一"), QStringLiteral("一"), QStringLiteral("一")}));
        QCOMPARE(f.window->chartState().castDate, QDate(2024, 2, 4));
        QCOMPARE(f.window->chartState().main[0].hexagramName, QStringLiteral("天风姤"));
        QVERIFY(f.window->pillarLabel->text().contains(QStringLiteral("戊戌")));
        QCOMPARE(f.db->getFirstString(QStringLiteral("select gua_bianhao from gua_table")),
                 QStringLiteral("20240204111114京房式T:09:00:00"));
        QVERIFY(f.prompter.messages.isEmpty());
    }

    void caseNumberGoesToTheMainWindowsEntry() {
        DialogFixture f;
        bool closed = false;
        f.recastWith([&](CastDialog& d) {
            d.tabs->setCurrentIndex(1);
            QTest::keyClicks(d.nameEdit, QStringLiteral("20240204311141"));
            QTest::keyClick(d.nameEdit, Qt::Key_Return);
            closed = !d.isVisible();
        });
        QVERIFY(closed);
        QCOMPARE(f.window->caseNumberEdit->text(), QStringLiteral("20240204311141"));
        QCOMPARE(f.window->chartState().main[0].code, 3);
        QVERIFY(!f.window->chartState().main[0].hexagramName.isEmpty());
        QCOMPARE(f.storedCases(), 0);
        QVERIFY(f.prompter.messages.isEmpty());

        // The field keeps its text between showings; emptied, it asks for one.
        f.recastWith([](CastDialog& d) {
            d.nameEdit->clear();
            d.nameCastButton->click();
        });
        QCOMPARE(f.prompter.messages,
                 QStringList{QStringLiteral("请输入卦例id或者卦名，卦例ID是一个14位长的数字串。")});
    }

    void chartOnlyCastStoresNothing() {
        DialogFixture f;
        QString source;
        f.recastWith([&](CastDialog& d) {
            d.jingfangMethod->click();
            d.tabs->setCurrentIndex(1);
            d.subjectEdit2->setText(QStringLiteral("求财"));
            d.chartOnlyBox->click();
            d.computerCastButton2->click();
            source = d.sourceLabel->text();
        });
        QCOMPARE(source, QStringLiteral("电脑伪随机数可用。"));
        QCOMPARE(f.storedCases(), 0);
        // Seed 12345 draws 3 2 0 4 5 2: lines 少阴 少阳 老阴 少阳 少阴 少阳 from 初爻 up.
        QCOMPARE(f.window->chartState().main[0].hexagramName, QStringLiteral("火水未济"));
        QCOMPARE(f.window->caseNumberEdit->text(), QStringLiteral("20240204121412"));
        QCOMPARE(f.window->caseHeader(), QStringLiteral("性别:未知 出生: 占事:(电脑卦)求财"));

        bool boxAfterwards = true;
        f.recastWith([&](CastDialog& d) {
            boxAfterwards = d.chartOnlyBox->isChecked();
            d.computerCastButton1->click();  // first tab: its empty subject is copied over
        });
        QVERIFY(!boxAfterwards);
        QCOMPARE(f.storedCases(), 1);
    }

    void cancelAndCloseLeaveTheChart() {
        DialogFixture f;
        f.window->enterCaseNumber(QStringLiteral("20240204311141京房式T:10:00:00"));
        const chart::ChartState before = f.window->chartState();
        const QString entry = f.window->caseNumberEdit->text();
        f.recastWith([](CastDialog& d) {
            for (QLabel* l : d.throwLabels) clickLabel(l);
            d.cancelButton->click();
        });
        QCOMPARE(f.window->caseNumberEdit->text(), entry);
        QCOMPARE(f.window->chartState().main[0].hexagramName, before.main[0].hexagramName);
        QCOMPARE(f.window->chartState().castTime, QTime(10, 0));
        QCOMPARE(f.window->pillarLabel->text(), before.pillarLabel);
        QCOMPARE(f.storedCases(), 0);

        // "关闭" keeps the chart but takes the time picker's time as the cast time.
        f.recastWith([](CastDialog& d) {
            d.tabs->setCurrentIndex(1);
            d.timeEdit2->setTime(QTime(9, 30, 15));
            d.closeButton->click();
        });
        QCOMPARE(f.window->chartState().main[0].hexagramName, before.main[0].hexagramName);
        QCOMPARE(f.window->chartState().castTime, QTime(9, 30, 15));
        QCOMPARE(f.storedCases(), 0);
    }

    void unsavedPromptCancelledOpensNoDialog() {
        DialogFixture f;
        bool ran = false;
        f.window->setCastDialogRunner([&] {
            ran = true;
            return false;
        });
        f.window->judgmentEdit->setPlainText(QStringLiteral("未保存"));
        f.window->recastButton->click();  // the save prompt answers 取消
        QCOMPARE(f.prompter.savePrompts, 1);
        QVERIFY(!ran);
        QCOMPARE(f.window->judgmentEdit->toPlainText(), QStringLiteral("未保存"));
    }

    void methodOptionIsStoredInRow86() {
        DialogFixture f;
        const auto stored = [&] { return f.db->getFirstInteger(QStringLiteral("select value15 from zhi where id=86")); };
        f.dialog.show();
        f.dialog.zangshanMethod->click();
        QCOMPARE(stored(), 2);
        f.dialog.jingfangMethod->click();
        QCOMPARE(stored(), 1);
        f.dialog.randomMethod->click();
        QCOMPARE(stored(), 0);
        f.dialog.zangshanMethod->click();

        // A dialog made later (the next run) starts with the stored option; its cast checks the
        // main window's 藏山卜.
        CastDialog next(*f.window, *f.db, f.clock, f.prompter, seeded(7));
        QVERIFY(next.zangshanMethod->isChecked());
        f.window->setCastDialogRunner([&next] { return next.run(); });
        QTimer::singleShot(0, &next, [&next] { next.computerCastButton2->click(); });
        f.window->recastButton->click();
        QVERIFY(f.window->zangshanRadio->isChecked());
        QCOMPARE(f.window->chartState().method, chart::ArrangementMethod::Zangshan);
        QVERIFY(f.db->getFirstString(QStringLiteral("select gua_bianhao from gua_table")).contains(QStringLiteral("藏山卜")));
    }

    void datePickersShowTheDateAndItsTerm() {
        DialogFixture f(5, QDateTime(QDate(2024, 2, 3), QTime(8, 0, 5)));
        QString term, header, time;
        f.recastWith([&](CastDialog& d) {
            d.tabs->setCurrentIndex(1);
            time = d.timeEdit2->text();
            d.dateEdit2->setDate(QDate(2024, 2, 4));
            term = d.termLabel->text();
            header = d.dateHeaderLabel->text();
        });
        QCOMPARE(time, QStringLiteral("08:00:05"));
        QVERIFY2(term.contains(QStringLiteral("立春")), qPrintable(term));
        QVERIFY2(header.contains(QStringLiteral("戊戌")), qPrintable(header));
    }
};

QTEST_MAIN(CastDialogTest)
#include "cast_dialog_test.moc"
