#pragma once

namespace app {

class MainWindow;

// Connects the analysis (strength notes, the report) to the main window.
void installReportHooks(MainWindow& window);

}  // namespace app
