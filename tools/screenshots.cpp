// Renders the windows with sample charts to PNG files (run offscreen by scripts/screenshot).
#include <QAction>
#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>

#include "app/interface_language.h"
#include "app/program_windows.h"
#include "app/startup.h"
#include "cloud/account.h"
#include "cloud/cloud_session.h"
#include "cloud/http_exchange.h"
#include "cloud/self_update.h"
#include "test_support/controls.h"
#include "ui/casting/object_names.h"
#include "ui/cloud/login_window.h"
#include "ui/cloud/object_names.h"
#include "ui/cloud/password_window.h"
#include "ui/main/main_window_layout.h"
#include "ui/main/object_names.h"
#include "ui/main/settings_dialog.h"
#include "ui/record/record_window.h"
#include "workbench/clock.h"
#include "workbench/prompter.h"

namespace {

namespace castdialog = objectnames::castdialog;
namespace loginwindow = objectnames::loginwindow;
namespace mainwindow = objectnames::mainwindow;

// The screen's available area (outlined in red) with the window drawn where it sits and its
// frame in grey: whether the window, title bar and scroll bars, fits the screen.
QImage onScreen(QWidget& window) {
    const int margin = 40;
    const QRect available = window.screen()->availableGeometry();
    const qreal ratio = window.devicePixelRatioF();
    QImage image((available.size() + QSize(2 * margin, 2 * margin)) * ratio, QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::white);
    QPainter p(&image);
    const QPoint origin = QPoint(margin, margin) - available.topLeft();
    p.fillRect(available.translated(origin), QColor(60, 60, 80));
    p.fillRect(window.frameGeometry().translated(origin), QColor(150, 150, 150));
    p.drawPixmap(window.geometry().topLeft() + origin, window.grab());
    p.setPen(QPen(Qt::red, 1));
    p.drawRect(available.translated(origin).adjusted(-1, -1, 0, 0));
    return image;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QCommandLineParser parser;
    parser.addOptions(
        {{QStringLiteral("out"), QStringLiteral("Folder of the pictures."), QStringLiteral("DIR")},
         {QStringLiteral("data-dir"), QStringLiteral("Data root (an existing folder)."), QStringLiteral("DIR")},
         {QStringLiteral("lang"),
          QStringLiteral("Language of the windows: %1 (default zh_CN).")
              .arg(language::acceptedCodes().join(QStringLiteral(", "))),
          QStringLiteral("CODE"), QStringLiteral("zh_CN")}});
    parser.process(application);
    const std::optional<language::Language> shown = language::languageFromCode(parser.value(QStringLiteral("lang")));
    if (!shown) {
        qWarning("--lang %s: not one of %s", qPrintable(parser.value(QStringLiteral("lang"))),
                 qPrintable(language::acceptedCodes().join(QStringLiteral(", "))));
        return 2;
    }
    app::setUpInterface(application, *shown);
    const QString out = parser.value(QStringLiteral("out"));
    app::OpenedData data = app::openData(
        {QStringLiteral("qinglan-screenshots"), QStringLiteral("--data-dir"), parser.value(QStringLiteral("data-dir"))},
        false);
    if (!data.db) {
        qWarning("%s", qPrintable(data.error));
        return 1;
    }
    workbench::FixedClock clock(QDateTime(QDate(2024, 2, 4), QTime(16, 24)));
    workbench::UnattendedPrompter prompter;
    app::ProgramWindows program({*data.db, clock, prompter, data.dataRoot, {}, {}});
    ui::MainWindow& window = program.mainWindow;
    window.show();
    application.processEvents();
    onScreen(window).save(QDir(out).filePath(QStringLiteral("main-on-screen.png")));
    // The whole client, whatever the size of the offscreen screen.
    window.resize(ui::main_layout::kClient);
    const struct {
        const char* file;
        const char16_t* text;
    } shots[] = {{"main-jingfang.png", u"20240204311141T:16:24:00"},
                 {"main-zangshan.png", u"20240204311121藏山卜T:09:05:00"}};
    for (const auto& shot : shots) {
        program.bench.enterCaseNumber(QString::fromUtf16(shot.text));
        program.bench.setCaseHeader(QStringLiteral("性别:男 出生:1980 占事:求财"));
        application.processEvents();
        window.grab().save(QDir(out).filePath(QString::fromLatin1(shot.file)));
    }
    // The chart with the keyboard: its frame and the cursor moved onto the changed line.
    window.activateWindow();
    control<QWidget>(window, mainwindow::chartArea)->setFocus(Qt::TabFocusReason);
    QKeyEvent right(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier);
    QApplication::sendEvent(control<QWidget>(window, mainwindow::chartArea), &right);
    application.processEvents();
    window.grab().save(QDir(out).filePath(QStringLiteral("main-chart-cursor.png")));
    control<QPushButton>(window, mainwindow::recastButton)->setFocus();
    // Notes over bars and marks, on their opaque cells.
    program.bench.setShowAnnotations(true);
    application.processEvents();
    window.grab().save(QDir(out).filePath(QStringLiteral("main-notes.png")));
    // Charts with stems and notes under both methods: notes stand clear of the chart texts.
    program.bench.setShowStems(true);
    for (const char16_t* lines : {u"311141", u"434343", u"443312", u"124413"}) {
        for (const char16_t* method : {u"", u"藏山卜"}) {
            program.bench.enterCaseNumber(QStringLiteral("20240204") + QString::fromUtf16(lines) +
                                          QString::fromUtf16(method) + QStringLiteral("T:16:24:00"));
            window.chartPicture().save(
                QDir(out).filePath(QStringLiteral("notes-%1-%2.png")
                                       .arg(QString::fromUtf16(lines),
                                            *method ? QStringLiteral("zangshan") : QStringLiteral("jingfang"))));
        }
    }
    program.bench.setShowAnnotations(false);
    // A screen smaller than the window: the client scrolls.
    window.resize(800, 560);
    application.processEvents();
    window.grab().save(QDir(out).filePath(QStringLiteral("main-small-screen.png")));
    window.resize(ui::main_layout::kClient);
    window.chartPicture().save(QDir(out).filePath(QStringLiteral("chart-picture.png")));
    // The 断卦辅助 panel right of the chart, the window widened by it, and on a 1024 × 600 screen.
    for (QAction* a : control<QMenu>(window, mainwindow::popupMenu)->actions())
        if (a->objectName() == QLatin1String(mainwindow::readingPanelAction)) a->trigger();
    window.resize(ui::main_layout::kClientWithPanel);
    application.processEvents();
    window.grab().save(QDir(out).filePath(QStringLiteral("main-reading-panel.png")));
    window.resize(1024, 560);
    application.processEvents();
    window.grab().save(QDir(out).filePath(QStringLiteral("main-reading-panel-small.png")));
    for (QAction* a : control<QMenu>(window, mainwindow::popupMenu)->actions())
        if (a->objectName() == QLatin1String(mainwindow::readingPanelAction)) a->trigger();
    window.resize(ui::main_layout::kClient);

    // The casting dialog: the first tab with three throws made, the second with a name read.
    ui::CastDialog& dialog = program.castDialog;
    dialog.setPickersToNow();
    dialog.show();
    application.processEvents();
    for (int k = 0; k < 3; ++k) {
        QMouseEvent press(QEvent::MouseButtonRelease, QPointF(4, 4), QPointF(4, 4), Qt::LeftButton, Qt::LeftButton,
                          Qt::NoModifier);
        QApplication::sendEvent(control<QLabel>(dialog, castdialog::throwLabels[k]), &press);
    }
    dialog.activateWindow();
    control<QLabel>(dialog, castdialog::throwLabels[3])
        ->setFocus(Qt::TabFocusReason);  // the next throw, with its focus mark
    application.processEvents();
    dialog.grab().save(QDir(out).filePath(QStringLiteral("cast-dialog-common.png")));
    control<QTabWidget>(dialog, castdialog::tabs)->setCurrentIndex(1);
    control<QLineEdit>(dialog, castdialog::nameEdit)->setText(QStringLiteral("丙寅月戊戌日 天风姤之乾为天"));
    control<QPushButton>(dialog, castdialog::nameCastButton)->click();
    application.processEvents();
    dialog.grab().save(QDir(out).filePath(QStringLiteral("cast-dialog-advanced.png")));
    control<QTabWidget>(dialog, castdialog::tabs)->setCurrentIndex(2);  // 数字/时间
    application.processEvents();
    dialog.grab().save(QDir(out).filePath(QStringLiteral("cast-dialog-numbers.png")));
    // The account windows; nothing is sent anywhere.
    cloud::HttpExchange exchange;
    cloud::CloudSession session(exchange, QUrl(QStringLiteral("http://127.0.0.1:9/")));
    cloud::Account account(session, *data.db);
    cloud::SelfUpdate update(session, QApplication::applicationFilePath());
    ui::LoginWindow login(account, update, prompter);
    login.fillRemembered();
    login.show();
    application.processEvents();
    login.grab().save(QDir(out).filePath(QStringLiteral("login.png")));
    QMouseEvent click(QEvent::MouseButtonRelease, QPointF(2, 2), QPointF(2, 2), Qt::LeftButton, Qt::NoButton,
                      Qt::NoModifier);
    QApplication::sendEvent(control<QLabel>(login, loginwindow::registerLink), &click);  // "注册新用户"
    application.processEvents();
    login.grab().save(QDir(out).filePath(QStringLiteral("login-register.png")));
    ui::PasswordWindow password(account, prompter);
    password.show();
    application.processEvents();
    password.grab().save(QDir(out).filePath(QStringLiteral("password.png")));

    // "设置…" with its 节气算法 choice, and a chart a minute before 立春 under the ephemeris.
    ui::SettingsDialog settings(program.bench, &window);
    settings.show();
    application.processEvents();
    settings.grab().save(QDir(out).filePath(QStringLiteral("settings.png")));
    settings.close();
    program.bench.setCalendarSource(cal::CalendarSource::Astronomical);
    program.bench.enterCaseNumber(QStringLiteral("20240204311141T:16:26:00"));
    application.processEvents();
    window.grab().save(QDir(out).filePath(QStringLiteral("main-astronomical.png")));

    // 验证统计 over a sample library of its own (the data root is left alone).
    auto sample = store::Database::openInMemory();
    {
        const char16_t* questions[] = {u"求财", u"工作", u"婚姻", u"疾病", u"考试", u"出行", u"失物", u""};
        const char16_t* outcomes[] = {u"hit", u"hit", u"partial", u"miss", u"pending", u"hit", u"miss"};
        store::Transaction transaction(*sample);
        for (int i = 0; i < 240; ++i) {
            const QDate cast = QDate(2022, 1, 3).addDays(i * 3 + i % 5);
            QString codes;
            for (int k = 0; k < 6; ++k) codes += QChar(u'1' + (i * (k + 3) + k) % 4 % (i % 3 ? 2 : 4));
            const QString outcome = QString::fromUtf16(outcomes[(i * 5 + i / 7) % 7]);
            const bool decided = outcome != u"pending";
            sample->execute(
                QStringLiteral("insert into gua_table(gua_bianhao,lei_id,nian,yue,ri,zhanlei,xingbie,shiyou,outcome,"
                               "outcome_date,predicted_date) values(?,?,?,?,?,?,?,?,?,?,?)"),
                {cast.toString(QStringLiteral("yyyyMMdd")) + codes + (i % 4 ? QStringLiteral("京房式") : QStringLiteral("藏山卜")) +
                     QStringLiteral("T:10:00:00"),
                 1 + i % 6, cast.year(), cast.month(), cast.day(), QString::fromUtf16(questions[i % 8]),
                 i % 2 ? QStringLiteral("男") : QStringLiteral("女"), QStringLiteral("示例卦例 %1").arg(i + 1), outcome,
                 decided ? QVariant(cast.addDays(10 + (i * 7) % 23).toString(Qt::ISODate)) : QVariant(),
                 decided || i % 3 == 0 ? QVariant(cast.addDays(12 + (i * 11) % 17).toString(Qt::ISODate)) : QVariant()});
        }
        transaction.commit();
    }
    ui::RecordWindow record(*sample, program.bench, &window);
    record.resize(1000, 900);
    record.show();
    application.processEvents();
    record.grab().save(QDir(out).filePath(QStringLiteral("record-window.png")));
    record.savePicture(QDir(out).filePath(QStringLiteral("record-whole.png")));
    record.close();
    return 0;
}
