#include "app/report_hooks.h"

#include "app/main_window.h"

namespace app {

void installReportHooks(MainWindow&) {}

}  // namespace app
