#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <cmath>

#include <QTimer>

#include "chart/cast_pillars.h"
#include "chart/text_forms.h"
#include "chart_drawing/chart_geometry.h"
#include "chart_drawing/chart_painter.h"
#include "test_support/program_fixture.h"
#include "ui/common/dialog_prompter.h"
#include "ui/main/object_names.h"

namespace {

namespace mainwindow = objectnames::mainwindow;

bool isDark(const QImage& image, int x, int y) { return qGray(image.pixel(x, y)) < 60; }

using chart::geometry::rowTop;

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT
private slots:
    // The case service's message shows whole where the row has room; a longer one shows its
    // start, the whole text in its hint, and never runs under the "设置" button.
    void serviceMessageShowsItsWholeText() {
        ProgramFixture f;
        auto* label = control<QLabel>(*f.window, mainwindow::messageLabel);
        const auto* settings = control<QPushButton>(*f.window, mainwindow::settingsButton);
        const auto fitsWhole = [&] {
            return label->fontMetrics().horizontalAdvance(label->text()) <= label->contentsRect().width();
        };
        const QString medium = QStringLiteral("新版本3.10已发布，点击查看更新说明");
        f.window->showServiceMessage(medium, QStringLiteral("https://example.org/a"));
        QCOMPARE(label->text(), medium);
        QVERIFY(fitsWhole());
        QVERIFY(label->toolTip().isEmpty());
        QVERIFY(label->geometry().right() < settings->geometry().left());

        const QString longer = medium.repeated(4);
        f.window->showServiceMessage(longer, QStringLiteral("https://example.org/b"));
        QVERIFY(label->text().endsWith(QChar(0x2026)));
        QVERIFY(longer.startsWith(label->text().chopped(1)));
        QVERIFY(fitsWhole());
        QCOMPARE(label->toolTip(), longer);
        QVERIFY(label->geometry().right() < settings->geometry().left());
        QVERIFY(label->geometry().left() >=
                control<QPlainTextEdit>(*f.window, mainwindow::judgmentEdit)->geometry().left());
    }

    void typedCaseNumberIsDrawn() {
        ProgramFixture f;
        QVERIFY(f.bench().enterCaseNumber(QStringLiteral("20240204111112T:16:24:00")));  // 天风姤
        const QImage image = control<QWidget>(*f.window, mainwindow::chartArea)->grab().toImage();
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
        QCOMPARE(control<QLabel>(*f.window, mainwindow::mainDescLabel)->text(),
                 QStringLiteral("乾宫属金 一世卦 序数:1 方位:西北"));
        QVERIFY(!control<QPushButton>(*f.window, mainwindow::showChangedButton)->isEnabled());
    }

    void zangshanWithStemsMovesTheBars() {
        ProgramFixture f;
        f.bench().setShowAnnotations(false);  // the bottom line's void note stands over its bar's end
        QVERIFY(f.bench().enterCaseNumber(QStringLiteral("20240204111112藏山卜T:16:24:00")));
        QVERIFY(control<QRadioButton>(*f.window, mainwindow::zangshanRadio)->isChecked());
        QImage image = control<QWidget>(*f.window, mainwindow::chartArea)->grab().toImage();
        // Main bars move right by 44: the yin gap of the bottom line is now at 341..347.
        QVERIFY(isDark(image, 330, rowTop(5) + 12));
        QVERIFY(!isDark(image, 344, rowTop(5) + 12));
        QVERIFY(isDark(image, 360, rowTop(5) + 12));
        control<QCheckBox>(*f.window, mainwindow::stemsBox)->click();  // stems off: no shift
        image = control<QWidget>(*f.window, mainwindow::chartArea)->grab().toImage();
        QVERIFY(!isDark(image, 300, rowTop(5) + 12));
        QVERIFY(isDark(image, 320, rowTop(5) + 12));
    }

    void changedBarsAndViewSwitch() {
        ProgramFixture f;
        QVERIFY(f.bench().enterCaseNumber(QStringLiteral("20240204311111T:16:24:00")));
        QImage image = control<QWidget>(*f.window, mainwindow::chartArea)->grab().toImage();
        // The top line moves: the changed bar (507..556) is yin, with its gap at 529..535.
        QVERIFY(isDark(image, 515, rowTop(0) + 12));
        QVERIFY(!isDark(image, 532, rowTop(0) + 12));
        QVERIFY(isDark(image, 515, rowTop(1) + 12));
        QVERIFY(isDark(image, 532, rowTop(1) + 12));
        QVERIFY(control<QPushButton>(*f.window, mainwindow::showChangedButton)->isEnabled());
        control<QPushButton>(*f.window, mainwindow::showChangedButton)->click();
        QCOMPARE(control<QPushButton>(*f.window, mainwindow::showChangedButton)->text(), QStringLiteral("显示主卦"));
        image = control<QWidget>(*f.window, mainwindow::chartArea)->grab().toImage();
        QVERIFY(!isDark(image, 300, rowTop(0) + 12));  // 泽天夬 drawn alone: its top line is yin
        QVERIFY(!isDark(image, 515, rowTop(0) + 12));
        control<QPushButton>(*f.window, mainwindow::invertButton)->click();
        QVERIFY(control<QLabel>(*f.window, mainwindow::invertedLabel)->isVisibleTo(f.window));
        QCOMPARE(control<QPushButton>(*f.window, mainwindow::invertButton)->text(), QStringLiteral("显示本卦"));
        QCOMPARE(f.bench().chart().main[0].hexagramName, QStringLiteral("坤为地"));
        QVERIFY(f.bench().enterCaseNumber(QStringLiteral("20240204111111")));
        QVERIFY(!control<QLabel>(*f.window, mainwindow::invertedLabel)->isVisibleTo(f.window));
        QCOMPARE(control<QPushButton>(*f.window, mainwindow::invertButton)->text(), QStringLiteral("显示综卦"));
    }

    void trigramOptionsKeepTheMethodAndTime() {
        ProgramFixture f;
        QVERIFY(f.bench().enterCaseNumber(QStringLiteral("20240204311121藏山卜T:09:05:00")));
        control<QRadioButton>(*f.window, mainwindow::directionXiantian)->click();
        control<QRadioButton>(*f.window, mainwindow::ordinalHoutian)->click();
        QCOMPARE(f.bench().chart().method, chart::ArrangementMethod::Zangshan);
        QCOMPARE(f.bench().chart().castTime, QTime(9, 5));
        QCOMPARE(control<QLabel>(*f.window, mainwindow::mainDescLabel)->text(),
                 QStringLiteral("离宫属火 归魂卦 序数:9 方位:东"));
    }

    void badCaseNumberShowsItsMessage() {
        ProgramFixture f;
        QVERIFY(!f.bench().enterCaseNumber(QStringLiteral("2024")));
        QCOMPARE(f.prompter.messages, QStringList{QStringLiteral("六爻ID必须是14位，长度不对")});
        QVERIFY(f.bench().chart().isEmpty());
    }

    void textCopyGoesToTheClipboard() {
        ProgramFixture f;
        QVERIFY(f.bench().enterCaseNumber(QStringLiteral("20240204311121藏山卜T:09:05:00")));
        control<QPushButton>(*f.window, mainwindow::copyTextButton)->click();
        const QString expected = chart::chartTextLines(f.bench().chart(), QStringLiteral("20240204311121")).join(u'\n');
        QCOMPARE(QApplication::clipboard()->text(), expected);
        QVERIFY(expected.startsWith(QStringLiteral("卦例ID=20240204311121 藏山卜\n")));
        control<QPushButton>(*f.window, mainwindow::copyPictureButton)->click();
        QCOMPARE(QApplication::clipboard()->image().size(), QSize(680, 425));
    }

    void notesGoToTheMonthlyFile() {
        ProgramFixture f;
        QVERIFY(f.bench().enterCaseNumber(QStringLiteral("20240204311111T:09:05:00")));
        f.prompter.inputs = {QStringLiteral("abc")};
        control<QPushButton>(*f.window, mainwindow::saveNoteButton)->click();
        QVERIFY(f.bench().enterCaseNumber(QStringLiteral("20240204311111藏山卜T:09:05:00")));
        f.prompter.inputs = {QString()};  // a cancelled remark still saves
        control<QPushButton>(*f.window, mainwindow::saveNoteButton)->click();
        QCOMPARE(f.prompter.inputTitles, (QStringList{QStringLiteral("备注"), QStringLiteral("备注")}));
        QCOMPARE(f.prompter.messages, (QStringList{QStringLiteral("保存完成。"), QStringLiteral("保存完成。")}));
        QFile file(f.dir.filePath(QStringLiteral("save/202402.txt")));  // today is 2024-02-04
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(file.readAll()),
                 QStringLiteral("20240204311111abcT:09:05:00\n20240204311111[藏山卜] \n"));
    }

    void optionBoxesWriteTheSettingsRow() {
        ProgramFixture f;
        auto column = [&](const char* name) {
            return f.db->getFirstString(QStringLiteral("select %1 from zhi where id=85").arg(QLatin1String(name)));
        };
        QVERIFY(control<QCheckBox>(*f.window, mainwindow::stemsBox)->isChecked());
        control<QCheckBox>(*f.window, mainwindow::stemsBox)->click();
        QCOMPARE(column("value4"), QStringLiteral("0"));
        control<QCheckBox>(*f.window, mainwindow::allChangedBox)->click();
        QCOMPARE(column("value3"), QStringLiteral("1"));
        control<QCheckBox>(*f.window, mainwindow::annotationsBox)->click();  // unticked: stored inverted as 1
        QCOMPARE(column("value15"), QStringLiteral("1"));
        control<QCheckBox>(*f.window, mainwindow::annotationsBox)->click();
        QCOMPARE(column("value15"), QStringLiteral("0"));
        control<QCheckBox>(*f.window, mainwindow::highlightBox)->click();
        QCOMPARE(column("value1"), QStringLiteral("0"));
        // A new window reads them back.
        workbench::Workbench bench(*f.db, f.clock, f.prompter, f.dir.path());
        ui::MainWindow again(bench);
        QVERIFY(!control<QCheckBox>(again, mainwindow::stemsBox)->isChecked());
        QVERIFY(control<QCheckBox>(again, mainwindow::allChangedBox)->isChecked());
        QVERIFY(!control<QCheckBox>(again, mainwindow::highlightBox)->isChecked());
    }

    void cancelledStartLeavesAnEmptyChartWithTodaysLabel() {
        ProgramFixture f(QDateTime(QDate(2000, 1, 1), QTime(23, 30)));
        bool asked = false;
        QTimer closer;
        QObject::connect(&closer, &QTimer::timeout, [&] {
            if (!f.program->castDialog.isVisible()) return;
            asked = true;
            f.program->castDialog.reject();
            closer.stop();
        });
        closer.start(0);
        f.bench().requestDeferredCast();
        QTRY_VERIFY(asked);
        QVERIFY(f.bench().chart().isEmpty());
        QCOMPARE(control<QLabel>(*f.window, mainwindow::pillarLabel)->text(),
                 QStringLiteral("己卯年 丙子月 戊午日(子丑空) 2000-01-01 23:30:00（时辰:甲子 刻:丁卯）"));
    }

    void clickBetweenRowBandsSelectsNothing() {
        ProgramFixture f;
        QVERIFY(f.bench().enterCaseNumber(QStringLiteral("20240204311111T:16:24:00")));
        control<QCheckBox>(*f.window, mainwindow::highlightBox)->setChecked(true);
        QTest::mouseClick(control<QWidget>(*f.window, mainwindow::chartArea), Qt::LeftButton, {},
                          QPoint(300, 99));  // border of rows 1 and 2
        QVERIFY(control<QPlainTextEdit>(*f.window, mainwindow::judgmentEdit)->toPlainText().isEmpty());
        QTest::mouseClick(control<QWidget>(*f.window, mainwindow::chartArea), Qt::LeftButton, {},
                          QPoint(300, 110));  // main line, second row
        QVERIFY(!control<QPlainTextEdit>(*f.window, mainwindow::judgmentEdit)->toPlainText().isEmpty());
        QVERIFY(control<QPushButton>(*f.window, mainwindow::saveJudgmentButton)
                    ->isEnabled());  // a report counts as an edit
        control<QCheckBox>(*f.window, mainwindow::highlightBox)->setChecked(false);
        const QString before = control<QPlainTextEdit>(*f.window, mainwindow::judgmentEdit)->toPlainText();
        QTest::mouseClick(control<QWidget>(*f.window, mainwindow::chartArea), Qt::LeftButton, {}, QPoint(300, 145));
        QCOMPARE(control<QPlainTextEdit>(*f.window, mainwindow::judgmentEdit)->toPlainText(),
                 before);  // click mode is off
    }

    void wholeChartReportReplacesTheJudgment() {
        ProgramFixture f;
        QVERIFY(f.bench().enterCaseNumber(QStringLiteral("20240204311111T:16:24:00")));
        control<QPlainTextEdit>(*f.window, mainwindow::judgmentEdit)->setPlainText(QStringLiteral("旧的断语"));
        control<QAction>(*f.window, mainwindow::reportAction)->trigger();
        const QString report = control<QPlainTextEdit>(*f.window, mainwindow::judgmentEdit)->toPlainText();
        QVERIFY(!report.contains(QStringLiteral("旧的断语")));
        QVERIFY(!report.isEmpty());
    }

    // The popup's "刷新显示" redraws keeping the colours of a click; the refresh button clears them.
    void popupRefreshKeepsTheHighlights() {
        ProgramFixture f;
        QVERIFY(f.bench().enterCaseNumber(QStringLiteral("20240204311111T:16:24:00")));
        control<QCheckBox>(*f.window, mainwindow::highlightBox)->setChecked(true);
        QTest::mouseClick(control<QWidget>(*f.window, mainwindow::chartArea), Qt::LeftButton, {}, QPoint(300, 110));
        const auto highlight = f.bench().chart().highlight;
        QVERIFY(highlight != decltype(highlight){});
        QAction* refresh = nullptr;
        for (QAction* a : control<QMenu>(*f.window, mainwindow::popupMenu)->actions())
            if (a->text() == QStringLiteral("刷新显示")) refresh = a;
        QVERIFY(refresh);
        refresh->trigger();
        QCOMPARE(f.bench().chart().highlight, highlight);
        control<QPushButton>(*f.window, mainwindow::refreshButton)->click();
        QCOMPARE(f.bench().chart().highlight, decltype(highlight){});
    }

    // Each main action has a key, named in its button's hint; hidden buttons answer theirs too.
    void keysReachTheMainActions() {
        ProgramFixture f;
        f.window->show();
        QVERIFY(QTest::qWaitForWindowActive(f.window));
        QVERIFY(f.bench().enterCaseNumber(QStringLiteral("20240204311111T:16:24:00")));
        QVERIFY(control<QPushButton>(*f.window, mainwindow::copyTextButton)
                    ->toolTip()
                    .endsWith(QStringLiteral("(Ctrl+Shift+C)")));
        QVERIFY(control<QPushButton>(*f.window, mainwindow::recastButton)->toolTip().endsWith(QStringLiteral("(F2)")));
        QTest::keyClick(f.window, Qt::Key_F5);  // the whole-chart report
        QVERIFY(control<QPlainTextEdit>(*f.window, mainwindow::judgmentEdit)
                    ->toPlainText()
                    .contains(QStringLiteral("贵人-")));
        QTest::keyClick(f.window, Qt::Key_F6);  // the changed hexagram
        QVERIFY(f.bench().view().showingChanged);
        auto* menu = control<QMenu>(*f.window, mainwindow::popupMenu);
        QTest::keyClick(f.window, Qt::Key_F10, Qt::ShiftModifier);
        QVERIFY(menu->isVisible());
        menu->close();
        // The Menu key reaches the focused area as a keyboard context-menu event.
        auto* area = control<QWidget>(*f.window, mainwindow::chartArea);
        QCOMPARE(area->focusPolicy(), Qt::StrongFocus);
        QContextMenuEvent menuKey(QContextMenuEvent::Keyboard, area->rect().center(),
                                  area->mapToGlobal(area->rect().center()));
        QApplication::sendEvent(area, &menuKey);
        QVERIFY(menu->isVisible());
        menu->close();
    }

    void chartPictureSavedAsPng() {
        ProgramFixture f;
        QVERIFY(f.bench().enterCaseNumber(QStringLiteral("20240204311111T:16:24:00")));
        const QString path = f.dir.filePath(QStringLiteral("卦图.png"));
        f.prompter.saveFiles = {path};
        control<QAction>(*f.window, mainwindow::savePictureAction)->trigger();
        QImage saved(path, "PNG");
        QCOMPARE(saved.size(), QSize(680, 425));
        QCOMPARE(saved.convertToFormat(QImage::Format_RGB32),
                 f.window->chartPicture().convertToFormat(QImage::Format_RGB32));
        // Cancelled: nothing written; a folder that does not exist: a message, no file.
        control<QAction>(*f.window, mainwindow::savePictureAction)->trigger();
        const QString nowhere = f.dir.filePath(QStringLiteral("no/such/folder/x.png"));
        QVERIFY(!f.window->saveChartPicture(nowhere));
        QVERIFY(f.prompter.messages.last().contains(nowhere));
        QVERIFY(!QFile::exists(nowhere));
    }

    void chartPrintedToPdf() {
        ProgramFixture f;
        QVERIFY(f.bench().enterCaseNumber(QStringLiteral("20240204311111T:16:24:00")));
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        const QString path = f.dir.filePath(QStringLiteral("chart.pdf"));
        printer.setOutputFileName(path);
        QVERIFY(f.window->printChart(printer));
        QFile pdf(path);
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        const QByteArray bytes = pdf.readAll();
        QVERIFY(bytes.startsWith("%PDF"));
        QVERIFY(bytes.contains("/Image"));  // the picture is on the page
        QVERIFY(bytes.size() > 10000);
    }

    // The test screen (800 × 600) is smaller than the client area: the window fits the screen,
    // sits centred on it, and the client scrolls; a window larger than the client centres it.
    void smallScreenScrollsAndLargeWindowCentres() {
        ProgramFixture f;
        f.window->show();
        const QRect available = f.window->screen()->availableGeometry();
        QVERIFY(available.width() < 1124);
        QVERIFY(f.window->frameGeometry().width() <= available.width());
        QVERIFY(f.window->frameGeometry().height() <= available.height());
        QVERIFY((f.window->frameGeometry().center() - available.center()).manhattanLength() <= 2);
        auto* scroll = qobject_cast<QScrollArea*>(f.window->centralWidget());
        QVERIFY(scroll);
        QCOMPARE(scroll->horizontalScrollBar()->maximum(), 1124 - scroll->viewport()->width());
        QCOMPARE(scroll->verticalScrollBar()->maximum(), 581 - scroll->viewport()->height());
        QCOMPARE(control<QWidget>(*f.window, mainwindow::chartArea)->size(), QSize(665, 337));

        f.window->resize(1400, 800);
        QCoreApplication::processEvents();
        const QWidget* client = scroll->widget();
        QVERIFY(std::abs(2 * client->x() - (scroll->viewport()->width() - 1124)) <= 1);
        QVERIFY(std::abs(2 * client->y() - (scroll->viewport()->height() - 581)) <= 1);
    }

    // The frame is whole at every scale factor: each edge covers device pixels on all sides.
    void frameWholeAtEveryScale() {
        ProgramFixture f;
        QVERIFY(f.bench().enterCaseNumber(QStringLiteral("20240204311111T:16:24:00")));
        for (const double scale : {1.0, 1.2, 1.25, 1.5, 1.75}) {
            QImage image(int(std::ceil(665 * scale)), int(std::ceil(337 * scale)), QImage::Format_RGB32);
            image.setDevicePixelRatio(scale);
            image.fill(Qt::white);
            {
                QPainter painter(&image);
                chart::paintChart(painter, f.bench().paintInputs());
            }
            const int right = int(664.5 * scale), bottom = int(336.5 * scale);
            const QString at = QString::number(scale);
            for (int y : {10, image.height() / 2, image.height() - 10}) {
                QVERIFY2(isDark(image, 0, y), qPrintable(at));
                QVERIFY2(isDark(image, right, y), qPrintable(at));
            }
            for (int x : {10, image.width() / 2, image.width() - 10}) {
                QVERIFY2(isDark(image, x, 0), qPrintable(at));
                QVERIFY2(isDark(image, x, bottom), qPrintable(at));
            }
        }
    }

    // A text's position is the top of its character cell: the ink of the top row's beast (18
    // points, 24 pixels) starts within its cell's first few pixels, not a line box lower.
    void textsStartAtTheirCellTop() {
        ProgramFixture f;
        QVERIFY(f.bench().enterCaseNumber(QStringLiteral("20240204311111T:16:24:00")));
        const QImage image = control<QWidget>(*f.window, mainwindow::chartArea)->grab().toImage();
        int inkTop = -1;
        for (int y = rowTop(0) - 10; y < rowTop(0) + 30 && inkTop < 0; ++y)
            for (int x = 8; x < 56 && inkTop < 0; ++x)
                if (isDark(image, x, y)) inkTop = y;
        QVERIFY(inkTop >= rowTop(0));
        QVERIFY2(inkTop <= rowTop(0) + 4, qPrintable(QString::number(inkTop - rowTop(0))));
    }

    // Questions (the rename question, the update offer) are captioned "提示".
    void questionsAreCaptioned() {
        ui::DialogPrompter prompter;
        QString caption;
        QTimer::singleShot(0, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                caption = box->windowTitle();
                box->button(QMessageBox::No)->click();
            }
        });
        QVERIFY(!prompter.askYesNo(QStringLiteral("是否将已选(2)求财 更改为财运")));
        QCOMPARE(caption, QStringLiteral("提示"));
    }

    // Every control the keyboard can reach carries a name a screen reader can say.
    void reachableControlsAreNamed() {
        ProgramFixture f;
        for (QWidget* window : std::initializer_list<QWidget*>{f.window, &f.program->caseBrowser,
                                                               &f.program->calendarViewer, &f.program->castDialog}) {
            for (QWidget* w : window->findChildren<QWidget*>()) {
                if (w->focusPolicy() == Qt::NoFocus || w->isHidden() || qobject_cast<QMenu*>(w) ||
                    qobject_cast<QScrollBar*>(w))
                    continue;
                if (!w->isVisibleTo(window)) continue;
                if (w->objectName().startsWith(QStringLiteral("qt_"))) continue;  // parts of a Qt control
                QVERIFY2(!w->accessibleName().isEmpty(), qPrintable(window->objectName() + u'/' + w->objectName()));
            }
        }
    }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
