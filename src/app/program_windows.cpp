#include "app/program_windows.h"

#include "language/language.h"

namespace app {

ProgramWindows::ProgramWindows(ProgramSetup setup)
    : bench(setup.db, setup.clock, setup.prompter, setup.dataRoot),
      mainWindow(bench),
      castDialog(bench, std::move(setup.random), &mainWindow),
      caseBrowser(bench, &mainWindow),
      calendarViewer(bench, &mainWindow),
      cloud(setup.db, bench, mainWindow, setup.serviceAddress, setup.programPath) {
    QObject::connect(&bench, &workbench::Workbench::castRequested, &castDialog, [this] {
        if (castDialog.run()) bench.rebuildFromCast();
    });
    QObject::connect(&bench, &workbench::Workbench::recordRequested, &mainWindow, [this, &db = setup.db] {
        if (!recordWindow)
            recordWindow = std::make_unique<ui::RecordWindow>(db, bench, &mainWindow);
        else
            recordWindow->refresh();
        recordWindow->exec();
    });
    QObject::connect(&bench, &workbench::Workbench::caseBrowserRequested, &caseBrowser, [this] {
        caseBrowser.prepareFirstShowing();
        caseBrowser.exec();
    });
    QObject::connect(&mainWindow, &ui::MainWindow::calendarRequested, &calendarViewer,
                     [this] { calendarViewer.showModeless(); });
    castDialog.setCalendarViewer([this] { return calendarViewer.pickModally(); });
    castDialog.setLoginOffer([this] { cloud.offerLogin(); });
    if (language::currentLanguage() != language::Language::SimplifiedChinese) mainWindow.fitTranslatedCaptions();
}

}  // namespace app
