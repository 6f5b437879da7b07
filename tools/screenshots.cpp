// Renders the windows with sample charts to PNG files (run offscreen by scripts/screenshot).
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QPlainTextEdit>
#include <QTabWidget>

#include "app/clock.h"
#include "app/main_window.h"
#include "app/prompter.h"
#include "app/report_hooks.h"
#include "app/startup.h"
#include "casting/cast_dialog.h"
#include "cloud/account.h"
#include "cloud/cloud_session.h"
#include "cloud/http_exchange.h"
#include "cloud/self_update.h"
#include "cloud_view/login_window.h"
#include "cloud_view/password_window.h"

namespace {

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    app::setUpInterface(application);
    const QStringList args = QApplication::arguments();
    const QString out = app::optionValue(args, QStringLiteral("--out"));
    app::OpenedData data = app::openData(args);
    if (!data.db) {
        qWarning("%s", qPrintable(data.error));
        return 1;
    }
    app::FixedClock clock(QDateTime(QDate(2024, 2, 4), QTime(16, 24)));
    app::UnattendedPrompter prompter;
    app::MainWindow window(*data.db, clock, prompter, data.dataRoot);
    app::installReportHooks(window);
    window.show();
    const struct {
        const char* file;
        const char16_t* text;
    } shots[] = {{"main-jingfang.png", u"20240204311141T:16:24:00"},
                 {"main-zangshan.png", u"20240204311121藏山卜T:09:05:00"}};
    for (const auto& shot : shots) {
        window.enterCaseNumber(QString::fromUtf16(shot.text));
        window.setCaseHeader(QStringLiteral("性别:男 出生:1980 占事:求财"));
        application.processEvents();
        window.grab().save(QDir(out).filePath(QString::fromLatin1(shot.file)));
    }
    window.chartPicture().save(QDir(out).filePath(QStringLiteral("chart-picture.png")));

    // The casting dialog: the first tab with three throws made, the second with a name read.
    casting::CastDialog dialog(window, *data.db, clock, prompter, casting::RandomSource(), &window);
    dialog.setPickersToNow();
    dialog.show();
    application.processEvents();
    for (int k = 0; k < 3; ++k) {
        QMouseEvent press(QEvent::MouseButtonRelease, QPointF(4, 4), QPointF(4, 4), Qt::LeftButton, Qt::LeftButton,
                          Qt::NoModifier);
        QApplication::sendEvent(dialog.throwLabels[std::size_t(k)], &press);
    }
    application.processEvents();
    dialog.grab().save(QDir(out).filePath(QStringLiteral("cast-dialog-common.png")));
    dialog.tabs->setCurrentIndex(1);
    dialog.nameEdit->setText(QStringLiteral("丙寅月戊戌日 天风姤之乾为天"));
    dialog.nameCastButton->click();
    application.processEvents();
    dialog.grab().save(QDir(out).filePath(QStringLiteral("cast-dialog-advanced.png")));
    // The account windows; nothing is sent anywhere.
    cloud::HttpExchange exchange;
    cloud::CloudSession session(exchange, QUrl(QStringLiteral("http://127.0.0.1:9/")));
    cloud::Account account(session, *data.db);
    cloud::SelfUpdate update(session, QApplication::applicationFilePath());
    cloud_view::LoginWindow login(account, update, prompter);
    login.fillRemembered();
    login.show();
    application.processEvents();
    login.grab().save(QDir(out).filePath(QStringLiteral("login.png")));
    QMouseEvent click(QEvent::MouseButtonRelease, QPointF(2, 2), QPointF(2, 2), Qt::LeftButton, Qt::NoButton,
                      Qt::NoModifier);
    QApplication::sendEvent(login.registerLink, &click);  // "注册新用户"
    application.processEvents();
    login.grab().save(QDir(out).filePath(QStringLiteral("login-register.png")));
    cloud_view::PasswordWindow password(account, prompter);
    password.show();
    application.processEvents();
    password.grab().save(QDir(out).filePath(QStringLiteral("password.png")));
    return 0;
}
