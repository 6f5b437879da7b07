// Using the windows from the keyboard alone: Tab through the case texts, the chart's cursor,
// the focus marks of the casting dialog's labels, the case browser's keys and the recent list.
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>

#include "chart_drawing/chart_cursor.h"
#include "test_support/program_fixture.h"
#include "ui/browser/object_names.h"
#include "ui/casting/object_names.h"
#include "ui/common/object_names.h"
#include "ui/main/chart_area.h"
#include "ui/main/object_names.h"

namespace {

namespace casebrowser = objectnames::casebrowser;
namespace castdialog = objectnames::castdialog;
namespace mainwindow = objectnames::mainwindow;

void showActive(QWidget* window) {
    window->show();
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));
}

QString focusName() { return QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString(); }

// Whether the widget, painted as it stands, shows the highlight colour along its left edge.
bool markedAtEdge(QWidget* w) {
    const QImage image = w->grab().toImage();
    const QColor highlight = w->palette().color(QPalette::Highlight);
    int marked = 0;
    for (int y = 2; y < image.height() - 2; ++y) marked += image.pixelColor(0, y) == highlight ? 1 : 0;
    return marked > (image.height() - 4) / 2;
}

void addCase(store::CaseStore& cases, const char16_t* number, const char16_t* category, QDate date) {
    store::CastCase c;
    c.hexagramName = QStringLiteral("乾为天");
    c.caseNumber = QString::fromUtf16(number);
    c.category = QString::fromUtf16(category);
    c.subject = QStringLiteral("事");
    c.castDate = date;
    cases.createCase(c);
}

QStringList texts(const QListWidget* list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i) out << list->item(i)->text();
    return out;
}

QStringList texts(const QComboBox* box) {
    QStringList out;
    for (int i = 0; i < box->count(); ++i) out << box->itemText(i);
    return out;
}

void pickEndingWith(QListWidget* list, const QString& end) {
    const QList<QListWidgetItem*> found = list->findItems(end, Qt::MatchEndsWith);
    QVERIFY2(!found.isEmpty(), qPrintable(end));
    list->setCurrentItem(found.first());
}

}  // namespace

class KeyboardUseTest : public QObject {
    Q_OBJECT
private slots:
    // Tab leaves the judgment and feedback boxes as it leaves any control, in the window's tab
    // order (the save buttons are skipped while there is nothing to save, the outcome follows the
    // feedback); no tab is typed.
    void tabLeavesTheCaseTexts() {
        ProgramFixture f;
        showActive(f.window);
        auto* judgment = control<QPlainTextEdit>(*f.window, mainwindow::judgmentEdit);
        auto* feedback = control<QPlainTextEdit>(*f.window, mainwindow::feedbackEdit);
        judgment->setFocus(Qt::OtherFocusReason);
        QTest::keyClick(judgment, Qt::Key_Tab);
        QCOMPARE(focusName(), QLatin1String(mainwindow::feedbackEdit));
        QTest::keyClick(feedback, Qt::Key_Tab, Qt::ControlModifier);
        QCOMPARE(focusName(), QLatin1String(objectnames::outcomeeditor::outcomeBox));
        feedback->setFocus(Qt::OtherFocusReason);
        QTest::keyClick(feedback, Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(focusName(), QLatin1String(mainwindow::judgmentEdit));
        QTest::keyClick(judgment, Qt::Key_Tab, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(focusName(), QLatin1String(mainwindow::hiddenChangesBox));
        QVERIFY(judgment->toPlainText().isEmpty());
        QVERIFY(feedback->toPlainText().isEmpty());
        QVERIFY(!f.bench().judgmentUnsaved());
        QVERIFY(!f.bench().feedbackUnsaved());
    }

    // The chart with the focus: a frame and a cursor; the arrows move over the items drawn,
    // Enter does what a click on the item does, Escape clears the colours.
    void theChartTakesTheKeyboard() {
        ProgramFixture f;
        // 乾为天, its top line moving.
        QVERIFY(f.bench().enterCaseNumber(QStringLiteral("20240204311111T:16:24:00")));
        showActive(f.window);
        auto* chart = control<ui::ChartArea>(*f.window, mainwindow::chartArea);
        control<QPushButton>(*f.window, mainwindow::calendarButton)->setFocus();
        QVERIFY(!markedAtEdge(chart));
        const QImage pictureUnfocused = f.window->chartPicture();
        chart->setFocus(Qt::TabFocusReason);
        QVERIFY(markedAtEdge(chart));
        QCOMPARE(f.window->chartPicture(), pictureUnfocused);  // the copy carries no focus marks

        const auto at = [&] { return std::pair(chart->cursor().row, chart->cursor().column); };
        QCOMPARE(at(), std::pair(1, 2));
        QTest::keyClick(chart, Qt::Key_Right);
        QCOMPARE(at(), std::pair(1, 3));  // the changed line of the moving top line
        QTest::keyClick(chart, Qt::Key_Down);
        QCOMPARE(at(), std::pair(2, 2));  // a static line draws no changed line
        QTest::keyClick(chart, Qt::Key_Right);
        QCOMPARE(at(), std::pair(2, 2));
        QTest::keyClick(chart, Qt::Key_Up);

        // A click on the top line's main item, then the same by Enter and by Space.
        QTest::mouseClick(chart, Qt::LeftButton, {}, chart::itemPoint({1, 2}));
        const QString clickedReport = f.bench().judgment();
        const auto clickedColours = f.bench().chart().highlight;
        QVERIFY(!clickedReport.isEmpty());
        QVERIFY(std::any_of(clickedColours.begin(), clickedColours.end(), [](int flag) { return flag != 0; }));
        QTest::keyClick(chart, Qt::Key_Escape);
        QVERIFY(std::all_of(f.bench().chart().highlight.begin(), f.bench().chart().highlight.end(),
                            [](int flag) { return flag == 0; }));
        for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Space}) {
            f.bench().editJudgment({});
            QTest::keyClick(chart, key);
            QCOMPARE(f.bench().judgment(), clickedReport);
            QVERIFY(f.bench().chart().highlight == clickedColours);
            QTest::keyClick(chart, Qt::Key_Escape);
        }
    }

    // The throw labels, line labels and coins, which act as buttons, show when they have the focus.
    void castingLabelsShowTheFocus() {
        ProgramFixture f;
        ui::CastDialog& dialog = f.program->castDialog;
        showActive(&dialog);
        auto* pages = dialog.findChild<QTabWidget*>();
        for (const auto& [page, name] :
             {std::pair(0, castdialog::throwLabels[0]), std::pair(1, castdialog::lineLabels[0]),
              std::pair(1, castdialog::coinImages[0])}) {
            pages->setCurrentIndex(page);
            auto* label = control<QLabel>(dialog, name);
            pages->setFocus();
            QVERIFY2(!markedAtEdge(label), name);
            label->setFocus(Qt::TabFocusReason);
            QVERIFY2(markedAtEdge(label), name);
        }
    }

    // A month with one case: Tab into the list and one arrow (which cannot move) pick the case
    // the list shows, and Enter opens it.
    void enterOpensTheCaseReachedByTabAndOneArrow() {
        for (const Qt::Key arrow : {Qt::Key_Down, Qt::Key_Up}) {
            ProgramFixture f;
            addCase(f.bench().caseStore(), u"20240206411111京房式T:08:00:00", u"事业", QDate(2024, 2, 6));
            ui::CaseBrowser& browser = f.program->caseBrowser;
            browser.prepareFirstShowing();
            showActive(&browser);
            pickEndingWith(control<QListWidget>(browser, casebrowser::categoryList), QStringLiteral("事业"));
            pickEndingWith(control<QListWidget>(browser, casebrowser::yearList), QStringLiteral("2024"));
            pickEndingWith(control<QListWidget>(browser, casebrowser::monthList), QStringLiteral("2"));
            auto* cases = control<QListWidget>(browser, casebrowser::caseList);
            QCOMPARE(cases->count(), 1);
            cases->setFocus(Qt::TabFocusReason);
            QTest::keyClick(cases, arrow);
            QTest::keyClick(cases, Qt::Key_Return);
            QCOMPARE(browser.result(), int(QDialog::Accepted));
            QCOMPARE(f.bench().caseNumberText().left(14), QStringLiteral("20240206411111"));
        }
    }

    // Enter in the new-name box adds the category; the move targets, the label of the category
    // picked and the year and month lists follow each change at once.
    void browserListsFollowEveryChange() {
        ProgramFixture f;
        addCase(f.bench().caseStore(), u"20230510111111京房式T:08:00:00", u"求财", QDate(2023, 5, 10));
        addCase(f.bench().caseStore(), u"20240204222222京房式T:08:00:00", u"求财", QDate(2024, 2, 4));
        addCase(f.bench().caseStore(), u"20240206411111京房式T:08:00:00", u"事业", QDate(2024, 2, 6));
        ui::CaseBrowser& browser = f.program->caseBrowser;
        browser.prepareFirstShowing();
        showActive(&browser);
        auto* categories = control<QListWidget>(browser, casebrowser::categoryList);
        auto* years = control<QListWidget>(browser, casebrowser::yearList);
        auto* months = control<QListWidget>(browser, casebrowser::monthList);
        auto* cases = control<QListWidget>(browser, casebrowser::caseList);
        auto* targets = control<QComboBox>(browser, casebrowser::moveTargetBox);
        auto* picked = control<QLabel>(browser, casebrowser::selectedLabel);
        auto* newName = control<QLineEdit>(browser, casebrowser::newNameEdit);

        // Added by Enter, not searched for; the category picked stays picked.
        pickEndingWith(categories, QStringLiteral("事业"));
        const QString career = categories->selectedItems().value(0)->text();
        newName->setFocus();
        newName->setText(QStringLiteral("新类"));
        QTest::keyClick(newName, Qt::Key_Return);
        QVERIFY(!f.prompter.messages.contains(QStringLiteral("请输入关键字。")));
        QVERIFY(targets->findText(QStringLiteral("新类")) >= 0);
        QVERIFY(!categories->findItems(QStringLiteral("新类"), Qt::MatchEndsWith).isEmpty());
        QCOMPARE(picked->text(), QStringLiteral("已选") + career);
        QCOMPARE(texts(years), QStringList{QStringLiteral("2024")});

        // Renamed: the list, the label and the move targets.
        newName->setText(QStringLiteral("工作"));
        f.prompter.answers = {workbench::Prompter::Answer::Yes};
        control<QPushButton>(browser, casebrowser::renameButton)->click();
        QCOMPARE(picked->text(),
                 QStringLiteral("已选") + career.left(career.indexOf(u')') + 1) + QStringLiteral("工作"));
        QVERIFY(targets->findText(QStringLiteral("工作")) >= 0);
        QCOMPARE(targets->findText(QStringLiteral("事业")), -1);

        // Moved out: the category's only case leaves its month and year.
        pickEndingWith(years, QStringLiteral("2024"));
        pickEndingWith(months, QStringLiteral("2"));
        cases->setCurrentRow(0);
        targets->setCurrentIndex(targets->findText(QStringLiteral("求财")));
        control<QPushButton>(browser, casebrowser::moveCaseButton)->click();
        QCOMPARE(cases->count(), 0);
        QCOMPARE(months->count(), 0);
        QCOMPARE(years->count(), 0);

        // Deleted: 求财 of 2023 had one case; the year goes with it.
        pickEndingWith(categories, QStringLiteral("求财"));
        QCOMPARE(texts(years), (QStringList{QStringLiteral("2023"), QStringLiteral("2024")}));
        pickEndingWith(years, QStringLiteral("2023"));
        pickEndingWith(months, QStringLiteral("5"));
        cases->setCurrentRow(0);
        f.prompter.answers = {workbench::Prompter::Answer::Yes};
        control<QPushButton>(browser, casebrowser::deleteCaseButton)->click();
        QCOMPARE(texts(years), QStringList{QStringLiteral("2024")});
        QCOMPARE(months->count(), 0);

        // A category deleted leaves the move targets and the label.
        const int targetsBefore = targets->count();
        pickEndingWith(categories, QStringLiteral("新类"));
        f.prompter.answers = {workbench::Prompter::Answer::Yes};
        control<QPushButton>(browser, casebrowser::deleteCategoryButton)->click();
        QCOMPARE(targets->count(), targetsBefore - 1);
        QCOMPARE(targets->findText(QStringLiteral("新类")), -1);
        QVERIFY(picked->text().isEmpty());
        QVERIFY(texts(targets).contains(QStringLiteral("工作")));
    }

    // Ctrl+R opens the recent list; Escape closes it.
    void recentListClosesOnEscape() {
        ProgramFixture f;
        addCase(f.bench().caseStore(), u"20240204222222京房式T:08:00:00", u"求财", QDate(2024, 2, 4));
        showActive(f.window);
        QTest::keyClick(f.window, Qt::Key_R, Qt::ControlModifier);
        auto* recent = control<QListWidget>(*f.window, mainwindow::recentList);
        QVERIFY(recent->isVisible());
        QCOMPARE(recent->count(), 1);
        QTest::keyClick(recent, Qt::Key_Escape);
        QVERIFY(!recent->isVisible());
    }
};

QTEST_MAIN(KeyboardUseTest)
#include "keyboard_use_test.moc"
