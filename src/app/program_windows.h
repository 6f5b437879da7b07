#pragma once
// Every window of a run over one current case, and the wiring between them: the main window
// asks the current case for the casting dialog and the case browser; the casting dialog reaches
// the calendar viewer and the login through the functions installed here.
#include <QUrl>
#include <memory>

#include "app/cloud_wiring.h"
#include "casting/random_source.h"
#include "ui/browser/case_browser.h"
#include "ui/calendar/calendar_viewer.h"
#include "ui/casting/cast_dialog.h"
#include "ui/main/main_window.h"
#include "ui/record/record_window.h"
#include "workbench/workbench.h"

namespace app {

struct ProgramSetup {
    store::Database& db;
    const workbench::Clock& clock;
    workbench::Prompter& prompter;
    QString dataRoot;
    QUrl serviceAddress;  // invalid: the run stays local
    QString programPath;  // the running program file, for the update offered at login
    casting::RandomSource random = casting::RandomSource();
};

class ProgramWindows {
public:
    explicit ProgramWindows(ProgramSetup setup);

    workbench::Workbench bench;
    ui::MainWindow mainWindow;
    ui::CastDialog castDialog;
    ui::CaseBrowser caseBrowser;
    ui::CalendarViewer calendarViewer;
    CloudWiring cloud;
    // 验证统计, made when first asked for: its record is computed as it opens.
    std::unique_ptr<ui::RecordWindow> recordWindow;
};

}  // namespace app
