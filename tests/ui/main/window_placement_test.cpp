// Every window on a 1024 × 600 screen, at the scale factor the run is given (QT_SCALE_FACTOR):
// the window, frame included, lies on the screen's available area, and where the client is
// larger than that area it scrolls with its scroll bars on the screen too.
#include <QAction>
#include <QMenu>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>

#include "test_support/program_fixture.h"
#include "ui/common/object_names.h"
#include "ui/common/window_fit.h"
#include "ui/main/object_names.h"

namespace {

namespace mainwindow = objectnames::mainwindow;
namespace readingpanel = objectnames::readingpanel;

QString describe(const QRect& r) {
    return QStringLiteral("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

void expectOnScreen(QWidget* window) {
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    const QRect available = window->screen()->availableGeometry();
    const QRect frame = window->frameGeometry();
    QVERIFY2(available.contains(frame), qPrintable(window->objectName() + QStringLiteral(" at ") + describe(frame) +
                                                   QStringLiteral(" on ") + describe(available)));
    const auto* scroll = window->findChild<QScrollArea*>(QString::fromLatin1(objectnames::clientScroll));
    if (!scroll) return;
    for (const QScrollBar* bar : {scroll->horizontalScrollBar(), scroll->verticalScrollBar()}) {
        if (!bar->isVisible()) continue;
        const QRect onScreen(bar->mapToGlobal(QPoint()), bar->size());
        QVERIFY2(available.contains(onScreen),
                 qPrintable(window->objectName() + QStringLiteral(" scroll bar at ") + describe(onScreen)));
    }
    // Where the screen has room, the whole client shows.
    const QSize client = scroll->widget()->size();
    if (client.width() < available.width() - 40 && client.height() < available.height() - 80)
        QCOMPARE(scroll->viewport()->size(), client);
}

}  // namespace

class WindowPlacementTest : public QObject {
    Q_OBJECT
private slots:
    void theScreenIsTheSmallOne() {
        ProgramFixture f;
        const QRect device = f.window->screen()->geometry();
        const double scale = f.window->screen()->devicePixelRatio();
        QVERIFY(std::abs(device.width() * scale - 1024) < 2);
        QVERIFY(std::abs(device.height() * scale - 600) < 2);
    }

    void everyWindowLiesOnTheScreen() {
        ProgramFixture f;
        for (QWidget* window : std::initializer_list<QWidget*>{
                 f.window, &f.program->castDialog, &f.program->caseBrowser, &f.program->calendarViewer,
                 &f.program->cloud.loginWindow(), &f.program->cloud.passwordWindow()}) {
            expectOnScreen(window);
            window->hide();
        }
    }

    // The 断卦辅助 panel widens the client, not the window past the screen; shown before or
    // while the window is up.
    void mainWindowWithTheReadingPanel() {
        ProgramFixture f;
        f.bench().setReadingPanelShown(true);
        f.restart();
        expectOnScreen(f.window);
        QVERIFY(control<QWidget>(*f.window, readingpanel::panel)->isVisible());
        f.bench().setReadingPanelShown(false);
        f.restart();
        expectOnScreen(f.window);
        for (QAction* a : control<QMenu>(*f.window, mainwindow::popupMenu)->actions())
            if (a->objectName() == QLatin1String(mainwindow::readingPanelAction)) a->trigger();
        QVERIFY(control<QWidget>(*f.window, readingpanel::panel)->isVisible());
        expectOnScreen(f.window);
    }

    // Before the window system tells the frame (as X11 does only once the window is mapped),
    // the window leaves room for a title bar: the frame is put where the window is moved to, and
    // the window below it must still end on the screen.
    void roomForATitleBarNotYetKnown() {
        ProgramFixture f;
        f.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.window));
        if (ui::knownWindowFrame(f.window)) QSKIP("this screen frames its windows");
        const QRect available = f.window->screen()->availableGeometry();
        QVERIFY(available.height() - f.window->height() >= 2 * f.window->fontMetrics().height());
        QVERIFY(f.window->geometry().top() >= available.top());
    }
};

QTEST_MAIN(WindowPlacementTest)
#include "window_placement_test.moc"
