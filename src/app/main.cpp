// 青岚: the desktop program.
#include <QApplication>
#include <QMessageBox>
#include <QProcessEnvironment>

#include "app/program_windows.h"
#include "app/startup.h"
#include "cloud/service_address.h"
#include "ui/common/dialog_prompter.h"
#include "ui/common/splash.h"
#include "workbench/clock.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    app::setUpInterface(application);

    ui::Splash splash;
    splash.show();
    application.processEvents();

    app::OpenedData data = app::openData(QApplication::arguments());
    if (!data.db) {
        splash.close();
        QMessageBox::critical(nullptr, QStringLiteral("青岚"), data.error);
        return 1;
    }
    workbench::Clock clock;
    ui::DialogPrompter prompter;
    const cloud::ServiceAddress service =
        cloud::resolveServiceAddress(QApplication::arguments(), QProcessEnvironment::systemEnvironment());
    app::ProgramWindows windows(
        {*data.db, clock, prompter, data.dataRoot, service.url, QApplication::applicationFilePath()});
    prompter.setParent(&windows.mainWindow);
    if (!service.error.isEmpty()) prompter.message(service.error);
    windows.mainWindow.show();
    splash.finish(&windows.mainWindow);

    const QString caseText = app::optionValue(QApplication::arguments(), QStringLiteral("--case"));
    if (!caseText.isEmpty())
        windows.bench.enterCaseNumber(caseText);
    else
        windows.bench.requestDeferredCast();
    QObject::connect(&application, &QCoreApplication::aboutToQuit, [&windows] { windows.cloud.logOut(); });
    return QApplication::exec();
}
