// 青岚: the desktop program.
#include <QApplication>
#include <QMessageBox>
#include <QProcessEnvironment>

#include "app/clock.h"
#include "app/cloud_wiring.h"
#include "app/main_window.h"
#include "app/prompter.h"
#include "app/report_hooks.h"
#include "app/splash.h"
#include "app/startup.h"
#include "browser/case_browser.h"
#include "calendar_view/calendar_viewer.h"
#include "casting/cast_dialog.h"
#include "cloud/service_address.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    app::setUpInterface(application);

    app::Splash splash;
    splash.show();
    application.processEvents();

    app::OpenedData data = app::openData(QApplication::arguments());
    if (!data.db) {
        splash.close();
        QMessageBox::critical(nullptr, QStringLiteral("青岚"), data.error);
        return 1;
    }
    app::Clock clock;
    app::DialogPrompter prompter;
    app::MainWindow window(*data.db, clock, prompter, data.dataRoot);
    prompter.setParent(&window);
    app::installReportHooks(window);
    casting::CastDialog castDialog(window, *data.db, clock, prompter, casting::RandomSource(), &window);
    window.setCastDialogRunner([&castDialog] { return castDialog.run(); });
    browser::CaseBrowser caseBrowser(window.caseLists(), prompter,
                                     [&window](qint64 id) { return window.openLocalCase(id); }, &window);
    const cloud::ServiceAddress service =
        cloud::resolveServiceAddress(QApplication::arguments(), QProcessEnvironment::systemEnvironment());
    if (!service.error.isEmpty()) prompter.message(service.error);
    app::CloudWiring cloud(*data.db, window, prompter, service.url, QApplication::applicationFilePath());
    cloud.attachBrowser(caseBrowser);
    castDialog.setLoginOffer([&cloud] { cloud.offerLogin(); });
    calendar_view::CalendarViewer calendarViewer([&clock] { return clock.today(); },
                                                 [&window](QDate date) { window.useCastDate(date); }, &window);
    window.setCalendarViewerOpener([&calendarViewer] {
        calendarViewer.show();
        calendarViewer.raise();
    });
    castDialog.setCalendarViewer([&calendarViewer]() -> std::optional<QDate> {
        if (calendarViewer.exec() != QDialog::Accepted) return std::nullopt;
        return calendarViewer.selectedDate();
    });
    window.setCaseBrowserOpener([&caseBrowser, &cloud] {
        caseBrowser.prepareFirstShowing(cloud.loggedIn());
        caseBrowser.exec();
    });
    window.show();
    splash.finish(&window);

    const QString caseText = app::optionValue(QApplication::arguments(), QStringLiteral("--case"));
    if (!caseText.isEmpty()) window.enterCaseNumber(caseText);
    else window.startDeferredCast();
    return QApplication::exec();
}
