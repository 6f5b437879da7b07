#include "cli/chart_command.h"

#include <QJsonDocument>

#include "chart/chart_json.h"
#include "chart/text_forms.h"
#include "cli/built_chart.h"
#include "cli/chart_invocation.h"
#include "cli/command_parsing.h"
#include "language/generated_text.h"

namespace cli {

int runChart(const QStringList& args, std::ostream& out, std::ostream& err) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Prints the chart of a case number as its text copy (13 lines)."));
    addChartOptions(parser, true);
    if (const auto status = parseCommand(parser, QStringLiteral("chart"), args, 1, out, err)) return *status;
    ChartInvocation call;
    if (const auto problem = readChartInvocation(parser, call)) {
        err << "qinglan-cli chart: " << problem->toStdString() << "\n";
        return 2;
    }
    return printChart(call, "chart", out, err);
}

int printChart(const ChartInvocation& call, const char* command, std::ostream& out, std::ostream& err) {
    BuiltChart built;
    if (const auto status = buildChart(call, command, built, err)) return *status;
    const chart::ChartState& state = built.state;

    if (call.json) {
        out << QJsonDocument(chart::chartToJson(state)).toJson(QJsonDocument::Indented).toStdString();
    } else {
        // The case number in the first line is kept as it is: it is read back as input.
        QStringList lines = chart::chartTextLines(state, state.caseNumber);
        for (QString& line : lines) line = language::localizedKeeping(line, {state.caseNumber}, call.language);
        if (!lines.isEmpty()) out << lines.join(u'\n').toStdString() << "\n";
    }
    return 0;
}

}  // namespace cli
