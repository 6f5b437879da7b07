// The 断卦辅助 panel of the main window: shown from the chart's popup menu and remembered, the
// window kept on the screen, its 用神 lines pointing at the chart by mouse and keyboard.
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QScreen>
#include <QTest>

#include "reading/reading.h"
#include "test_support/program_fixture.h"
#include "ui/common/object_names.h"
#include "ui/main/object_names.h"

namespace {

namespace mainwindow = objectnames::mainwindow;
namespace readingpanel = objectnames::readingpanel;

QAction* panelAction(const ui::MainWindow& window) {
    for (QAction* a : control<QMenu>(window, mainwindow::popupMenu)->actions())
        if (a->objectName() == QLatin1String(mainwindow::readingPanelAction)) return a;
    qFatal("no 断卦辅助 action");
}

QWidget* panel(const ui::MainWindow& window) { return control<QWidget>(window, readingpanel::panel); }

// The controls Tab visits from the first, as the focus chain runs.
QList<QWidget*> tabChain(QWidget* window) {
    QList<QWidget*> chain;
    for (QWidget* w = window->nextInFocusChain(); w != window; w = w->nextInFocusChain())
        if (w->isVisible() && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus) == Qt::TabFocus) chain.append(w);
    return chain;
}

}  // namespace

class ReadingPanelTest : public QObject {
    Q_OBJECT
private slots:
    void popupShowsThePanelAndItIsRemembered() {
        ProgramFixture f;
        f.window->show();
        const int usualWidth = control<QWidget>(*f.window, objectnames::client)->width();
        QVERIFY(!panel(*f.window)->isVisible());
        QVERIFY(!panelAction(*f.window)->isChecked());

        panelAction(*f.window)->trigger();
        QVERIFY(panel(*f.window)->isVisible());
        QVERIFY(panelAction(*f.window)->isChecked());
        // The client widens by the panel, right of everything else; the window stays on the screen.
        QCOMPARE(control<QWidget>(*f.window, objectnames::client)->width(), usualWidth + panel(*f.window)->width());
        QCOMPARE(panel(*f.window)->x(), usualWidth);
        QVERIFY(f.window->screen()->availableGeometry().contains(f.window->geometry()));

        f.restart();
        f.window->show();
        QVERIFY(panel(*f.window)->isVisible());
        QVERIFY(panelAction(*f.window)->isChecked());

        panelAction(*f.window)->trigger();
        QVERIFY(!panel(*f.window)->isVisible());
        QCOMPARE(control<QWidget>(*f.window, objectnames::client)->width(), usualWidth);
        f.restart();
        f.window->show();
        QVERIFY(!panel(*f.window)->isVisible());
    }

    // The question type chosen in the panel is the case's; the case's gender is shown.
    void questionTypeAndGenderOfTheCase() {
        ProgramFixture f;
        f.window->show();
        panelAction(*f.window)->trigger();
        QVERIFY(f.bench().enterCaseNumber(QStringLiteral("20240204111112T:16:24:00")));
        f.bench().setCaseHeader(QStringLiteral("性别:女 出生:1990 占事:问事"));
        QCOMPARE(control<QLabel>(*f.window, readingpanel::genderLabel)->text(), QStringLiteral("女"));
        auto* box = control<QComboBox>(*f.window, readingpanel::questionBox);
        QCOMPARE(box->currentText(), QString());
        if (box->count() > 1) {
            box->setCurrentIndex(box->count() - 1);
            QCOMPARE(f.bench().questionType(), box->itemText(box->count() - 1));
        }
    }

    void panelIsReachedByTab() {
        ProgramFixture f;
        f.window->show();
        auto* box = control<QComboBox>(*f.window, readingpanel::questionBox);
        auto* lines = control<QListWidget>(*f.window, readingpanel::lines);
        QVERIFY(!tabChain(f.window).contains(box));
        panelAction(*f.window)->trigger();
        const QList<QWidget*> chain = tabChain(f.window);
        const qsizetype history = chain.indexOf(control<QWidget>(*f.window, mainwindow::historyButton));
        QVERIFY(history >= 0);
        QCOMPARE(chain.indexOf(box), history + 1);
        QCOMPARE(chain.indexOf(lines), history + 2);
    }

    // A line pointed at is drawn in the click colour, in the main column or the hidden spirits'.
    void highlightedLineOnTheChart() {
        ProgramFixture f;
        QVERIFY(f.bench().enterCaseNumber(QStringLiteral("20240204111112T:16:24:00")));
        f.bench().highlightLine(2);
        std::array<int, 18> expected{};
        expected[6 + 4] = 1;  // main column, top first: 二爻 is the fifth row
        QCOMPARE(f.bench().chart().highlight, expected);
        f.bench().highlightLine(6, true);
        expected = {};
        expected[0] = 1;
        QCOMPARE(f.bench().chart().highlight, expected);
    }

    // 20260909113312T:17:28:00 asking 求财: no 妻财 in the main hexagram; the 伏神 妻财寅木 lies
    // under 二爻. Choosing its line, by click or Enter, marks 二爻 in the hidden spirits' column.
    void useGodLineChosenByClickAndEnter() {
        if (reading::questionTypes().isEmpty()) QSKIP("the reading engine is not part of this build");
        ProgramFixture f;
        f.window->show();
        panelAction(*f.window)->trigger();
        QVERIFY(f.bench().enterCaseNumber(QStringLiteral("20260909113312T:17:28:00")));
        f.bench().setQuestionType(QStringLiteral("求财"));
        auto* lines = control<QListWidget>(*f.window, readingpanel::lines);
        QListWidgetItem* chosen = nullptr;
        for (int i = 0; i < lines->count(); ++i)
            if (lines->item(i)->flags() & Qt::ItemIsSelectable) chosen = chosen ? chosen : lines->item(i);
        QVERIFY(chosen);
        const QString chosenText = chosen->text();  // the panel fills its list again on every redraw
        std::array<int, 18> expected{};
        expected[4] = 1;
        QTest::mouseClick(lines->viewport(), Qt::LeftButton, {}, lines->visualItemRect(chosen).center());
        QCOMPARE(f.bench().chart().highlight, expected);

        f.bench().refresh();
        const std::array<int, 18> none{};
        QCOMPARE(f.bench().chart().highlight, none);
        lines->setFocus();
        lines->setCurrentItem(lines->findItems(chosenText, Qt::MatchExactly).value(0));
        QTest::keyClick(lines, Qt::Key_Return);
        QCOMPARE(f.bench().chart().highlight, expected);
    }
};

QTEST_MAIN(ReadingPanelTest)
#include "reading_panel_test.moc"
