#pragma once
#include <QStringList>
#include <ostream>

namespace cli {

// `chart TEXT [options]`: reads TEXT as the entry box does and prints the text copy of the
// chart (or, with --json, every field of the chart). Returns the exit status (2 for bad input).
int runChart(const QStringList& args, std::ostream& out, std::ostream& err);

}  // namespace cli
