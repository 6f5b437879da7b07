#include "cli/analyse_command.h"

#include "analysis/analysis_report.h"
#include "cli/built_chart.h"
#include "cli/chart_invocation.h"
#include "cli/command_parsing.h"
#include "language/generated_text.h"

namespace cli {

int runAnalyse(const QStringList& args, std::ostream& out, std::ostream& err) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Prints the analysis report (卦象分析) of the chart of a case number: the whole chart, or\n"
                       "with --line and --column one item followed by its 18 highlight flags."));
    addChartOptions(parser, false);
    const QString lineOption = QStringLiteral("line"), columnOption = QStringLiteral("column");
    parser.addOptions(
        {{lineOption, QStringLiteral("The item's line, 1..6 (1 = top line)."), QStringLiteral("N")},
         {columnOption, QStringLiteral("The item's column: 1 hidden spirit, 2 main line, 3 changed line."),
          QStringLiteral("C")}});
    if (const auto status = parseCommand(parser, QStringLiteral("analyse"), args, 1, out, err)) return *status;
    ChartInvocation call;
    if (const auto problem = readChartInvocation(parser, call)) {
        err << "qinglan-cli analyse: " << problem->toStdString() << "\n";
        return 2;
    }
    int line = 0, column = 0;
    if (parser.isSet(lineOption) || parser.isSet(columnOption)) {
        const auto n = numberOption(parser, lineOption, 6);
        const auto c = numberOption(parser, columnOption, 3);
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
    if (line > 0 && result.lines.isEmpty() && result.message.isEmpty()) {
        // The report of an item is empty only when the chart has no such item.
        static constexpr const char* kColumns[] = {"hidden spirit", "main line", "changed line"};
        err << "qinglan-cli analyse: line " << line << " has no " << kColumns[column - 1]
            << " to analyse (a changed line only on a moving line, or one moving in hiding with --hidden-changes;"
               " a hidden spirit only where the chart shows one)\n";
        return 2;
    }
    for (const QString& text : result.lines) out << language::localized(text, call.language).toStdString() << "\n";
    if (line > 0) {
        for (int col = 0; col < 3; ++col) {
            for (int p = 0; p < 6; ++p) out << (p ? " " : "") << result.highlight[analysis::flagIndex(col, p)];
            out << "\n";
        }
    }
    if (!result.message.isEmpty()) {
        err << "qinglan-cli analyse: " << result.message.toStdString() << "\n";
        return 1;
    }
    return 0;
}

}  // namespace cli
