// 青岚: the desktop program.
#include <QApplication>
#include <QMessageBox>
#include <QProcessEnvironment>
#include <cstdio>
#include <optional>

#include "app/command_line.h"
#include "app/interface_language.h"
#include "app/program_windows.h"
#include "app/startup.h"
#include "app/termination_signals.h"
#include "cloud/service_address.h"
#include "ui/common/dialog_prompter.h"
#include "ui/common/splash.h"
#include "workbench/clock.h"

namespace {

// --help and --version answer on the terminal, without a display; the arguments are read again
// once the toolkit has taken its own options (-platform and the like) out of them.
std::optional<int> answerWithoutWindow(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    const app::ProgramCommandLine line = app::parseProgramCommandLine(arguments);
    if (line.action != app::ProgramCommandLine::Action::Help && line.action != app::ProgramCommandLine::Action::Version)
        return std::nullopt;
    std::fputs(line.text.toLocal8Bit().constData(), stdout);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (const auto status = answerWithoutWindow(argc, argv)) return *status;
    QApplication application(argc, argv);
    const app::ProgramCommandLine line = app::parseProgramCommandLine(QApplication::arguments());
    if (line.action == app::ProgramCommandLine::Action::Refuse) {
        std::fprintf(stderr, "qinglan: %s (see qinglan --help)\n", line.text.toLocal8Bit().constData());
        return 2;
    }
    const app::TerminationSignals terminationSignals;
    // The language is known at once from --lang or the system; a choice stored in 设置 is read
    // once the database is open, before the first window.
    const language::Language firstLanguage = line.interfaceLanguage.value_or(language::systemLanguage());
    app::setUpInterface(application, firstLanguage);
    // Command-line faults found at start end the program before any window, as a wrong option
    // does; their message is in the interface's language.
    const cloud::ServiceAddress service =
        cloud::resolveServiceAddress(line.arguments, QProcessEnvironment::systemEnvironment());
    if (!service.error.isEmpty()) {
        std::fprintf(stderr, "qinglan: %s\n", service.error.toLocal8Bit().constData());
        return 2;
    }

    ui::Splash splash;
    splash.show();
    application.processEvents();

    app::OpenedData data = app::openData(line.arguments, line.createDataRoot);
    if (!data.db) {
        splash.close();
        std::fprintf(stderr, "qinglan: %s\n", data.error.toLocal8Bit().constData());
        if (data.exitStatus == app::OpenedData::kUsageError) return data.exitStatus;
        QMessageBox::critical(nullptr, QCoreApplication::translate("app::Startup", "青岚"), data.error);
        return app::TerminationSignals::exitStatus() ? app::TerminationSignals::exitStatus() : data.exitStatus;
    }
    if (const language::Language chosen = app::chooseInterfaceLanguage(
            line.interfaceLanguage, app::storedInterfaceLanguageCode(*data.db), firstLanguage);
        chosen != firstLanguage)
        app::setUpInterface(application, chosen);
    workbench::Clock clock;
    ui::DialogPrompter prompter;
    app::ProgramWindows windows(
        {*data.db, clock, prompter, data.dataRoot, service.url, QApplication::applicationFilePath()});
    prompter.setParent(&windows.mainWindow);
    windows.mainWindow.show();
    splash.finish(&windows.mainWindow);

    if (!line.caseText.isEmpty())
        windows.bench.enterCaseNumber(line.caseText);
    else
        windows.bench.requestDeferredCast();
    const int status = QApplication::exec();
    // The session ends at the service before the program does: the loop runs again (not inside
    // the first) until the service has answered or the request's time is up.
    if (windows.cloud.logOut([] { QCoreApplication::quit(); })) QApplication::exec();
    return status;
}
