#include "app/report_hooks.h"

#include "analysis/analysis_report.h"
#include "analysis/line_strength.h"
#include "app/main_window.h"

namespace app {

void installReportHooks(MainWindow& window) {
    window.setStrengthNotes(
        [](const chart::ChartState& state, const QString& item) {
            const analysis::LineStrength strength = analysis::DescribeLineStrength(state, item);
            return chart::StrengthNote{strength.text, strength.colour};
        },
        &analysis::DescribeReturnInfluence);
    window.setReportWriter([&window](chart::ChartState& state, int row, int column) {
        const analysis::ReportSettings settings{window.chartView().showingChanged, window.chartOptions().showHiddenChanges};
        const analysis::AnalysisResult result =
            analysis::AnalysisReport(state, window.divinationData(), settings, row, column);
        if (row > 0) state.highlight = result.highlight;
        return MainWindow::Report{result.lines, true, result.message};
    });
}

}  // namespace app
