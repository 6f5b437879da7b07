#include "cli/analyse_command.h"

#include "analysis/analysis_report.h"
#include "cli/built_chart.h"
#include "cli/chart_invocation.h"

namespace cli {
namespace {

// The value of --line (1..6) or --column (1..3); nullopt when missing or out of range.
std::optional<int> numberOption(const QStringList& rest, const QString& name, int last) {
    const qsizetype i = rest.indexOf(name);
    if (i < 0 || i + 1 >= rest.size()) return std::nullopt;
    bool ok = false;
    const int n = rest[i + 1].toInt(&ok);
    if (!ok || n < 1 || n > last) return std::nullopt;
    return n;
}

}  // namespace

int run_analyse(const QStringList& args, std::ostream& out, std::ostream& err) {
    ChartInvocation call;
    const QString lineOption = QStringLiteral("--line"), columnOption = QStringLiteral("--column");
    if (const auto problem = parseChartInvocation(args, {lineOption, columnOption}, call)) {
        err << "qinglan-cli analyse: " << problem->toStdString() << "\n";
        return 2;
    }
    int line = 0, column = 0;
    if (call.rest.contains(lineOption) || call.rest.contains(columnOption)) {
        const auto n = numberOption(call.rest, lineOption, 6);
        const auto c = numberOption(call.rest, columnOption, 3);
        if (!n || !c) {
            err << "qinglan-cli analyse: --line needs 1..6 (1 = top line) and --column 1..3 "
                   "(1 hidden spirit, 2 main line, 3 changed line)\n";
            return 2;
        }
        line = *n;
        column = *c;
    }
    BuiltChart built;
    if (const auto status = buildChart(call, "analyse", built, err)) return *status;

    const analysis::ReportSettings settings{false, call.options.showHiddenChanges};
    const analysis::AnalysisResult result = analysis::AnalysisReport(built.state, *built.data, settings, line, column);
    for (const QString& text : result.lines) out << text.toStdString() << "\n";
    if (line > 0) {
        for (int col = 0; col < 3; ++col) {
            for (int p = 0; p < 6; ++p) out << (p ? " " : "") << result.highlight[analysis::flagIndex(col, p)];
            out << "\n";
        }
    }
    if (!result.message.isEmpty()) {
        err << result.message.toStdString() << "\n";
        return 1;
    }
    return 0;
}

}  // namespace cli
