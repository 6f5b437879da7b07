#pragma once
#include <QStringList>
#include <ostream>

namespace cli {

struct ChartInvocation;

// `chart TEXT [options]`: reads TEXT as the entry box does and prints the text copy of the
// chart (or, with --json, every field of the chart). Returns the exit status (2 for bad input).
int runChart(const QStringList& args, std::ostream& out, std::ostream& err);

// Builds the chart of call.text and prints it as `chart` does; the exit status.
int printChart(const ChartInvocation& call, const char* command, std::ostream& out, std::ostream& err);

}  // namespace cli
