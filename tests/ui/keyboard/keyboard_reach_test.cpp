#include <QAbstractSpinBox>
#include <QAccessible>
#include <QComboBox>
#include <QApplication>
#include <QTabWidget>
#include <QTest>

#include "test_support/program_fixture.h"
#include "ui/browser/object_names.h"
#include "ui/main/object_names.h"

namespace {

namespace casebrowser = objectnames::casebrowser;
namespace mainwindow = objectnames::mainwindow;

// An entry field inside a spin box or date box stands for its box, which carries the name.
bool isInnerPartOfABox(const QWidget* w) {
    return qobject_cast<const QAbstractSpinBox*>(w->parentWidget()) || qobject_cast<const QComboBox*>(w->parentWidget());
}

bool takesTabFocus(const QWidget* w) {
    return w->isVisible() && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus) == Qt::TabFocus &&
           !isInnerPartOfABox(w);
}

QString spokenName(QWidget* w) {
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(w);
    return face ? face->text(QAccessible::Name) : QString();
}

QString describe(const QWidget* w) {
    const QString name =
        w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className()) : w->objectName();
    return w->window()->objectName() + QLatin1Char('/') + name;
}

// The controls Tab reaches, in order, starting from the first one of the window.
QList<QWidget*> tabChain(QWidget* window) {
    QList<QWidget*> chain;
    QWidget* w = window;
    for (int guard = 0; guard < 1000; ++guard) {
        w = w->nextInFocusChain();
        if (w == window) break;
        if (takesTabFocus(w) && w->window() == window) chain.append(w);
    }
    return chain;
}

// Every control a mouse can use is reached by Tab and has a name a screen reader can speak.
void expectReachableAndNamed(QWidget* window) {
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    const QList<QWidget*> chain = tabChain(window);
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (!takesTabFocus(w) || w->window() != window) continue;
        QVERIFY2(chain.contains(w), qPrintable(describe(w) + QStringLiteral(" is not reached by Tab")));
        QVERIFY2(!spokenName(w).trimmed().isEmpty(), qPrintable(describe(w) + QStringLiteral(" has no spoken name")));
    }
}

QPoint placeIn(QWidget* window, const QWidget* w) { return w->mapTo(window, QPoint()); }

// Controls side by side in one row are visited from left to right.
void expectRowsReadLeftToRight(QWidget* window) {
    const QList<QWidget*> chain = tabChain(window);
    for (qsizetype i = 0; i < chain.size(); ++i)
        for (qsizetype j = i + 1; j < chain.size(); ++j) {
            const QPoint a = placeIn(window, chain[i]);
            const QPoint b = placeIn(window, chain[j]);
            if (chain[i]->parentWidget() != chain[j]->parentWidget() || qAbs(a.y() - b.y()) > 5) continue;
            QVERIFY2(a.x() < b.x(), qPrintable(describe(chain[i]) + QStringLiteral(" is reached before ") +
                                               describe(chain[j]) + QStringLiteral(" to its left")));
        }
}

QStringList namesInChain(QWidget* window) {
    QStringList names;
    for (QWidget* w : tabChain(window)) names << w->objectName();
    return names;
}

}  // namespace

class KeyboardReachTest : public QObject {
    Q_OBJECT
private slots:
    void everyWindowIsReachableAndNamed() {
        ProgramFixture f;
        expectReachableAndNamed(f.window);
        expectReachableAndNamed(&f.program->caseBrowser);
        expectReachableAndNamed(&f.program->calendarViewer);
        expectReachableAndNamed(&f.program->cloud.loginWindow());
        expectReachableAndNamed(&f.program->cloud.passwordWindow());
    }

    void tabFollowsTheLayout() {
        ProgramFixture f;
        for (QWidget* window : std::initializer_list<QWidget*>{
                 f.window, &f.program->caseBrowser, &f.program->calendarViewer, &f.program->cloud.loginWindow(),
                 &f.program->cloud.passwordWindow(), &f.program->castDialog}) {
            window->show();
            expectRowsReadLeftToRight(window);
        }
        // The buttons beside the case texts come before the row of category controls below them.
        const QStringList browser = namesInChain(&f.program->caseBrowser);
        const auto at = [&](const char* name) { return browser.indexOf(QString::fromLatin1(name)); };
        QVERIFY(at(casebrowser::textsView) < at(casebrowser::openButton));
        QVERIFY(at(casebrowser::openButton) < at(casebrowser::deleteCaseButton));
        QVERIFY(at(casebrowser::deleteCaseButton) < at(casebrowser::moveTargetBox));
        QVERIFY(at(casebrowser::moveCaseButton) < at(casebrowser::newNameEdit));
        QVERIFY(at(casebrowser::newNameEdit) < at(casebrowser::renameButton));
        // In the main window the texts come before the buttons below the chart.
        const QStringList main = namesInChain(f.window);
        QVERIFY(main.indexOf(QLatin1String(mainwindow::feedbackEdit)) <
                main.indexOf(QLatin1String(mainwindow::recentButton)));
        QCOMPARE(main.first(), QLatin1String(mainwindow::chartArea));
    }

    void everyPageOfTheCastingDialog() {
        ProgramFixture f;
        ui::CastDialog& dialog = f.program->castDialog;
        auto* pages = dialog.findChild<QTabWidget*>();
        QVERIFY(pages);
        for (int page = 0; page < pages->count(); ++page) {
            pages->setCurrentIndex(page);
            expectReachableAndNamed(&dialog);
            if (QTest::currentTestFailed()) qWarning("on page %d", page);
        }
    }
};

QTEST_MAIN(KeyboardReachTest)
#include "keyboard_reach_test.moc"
