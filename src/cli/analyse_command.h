#pragma once
#include <QStringList>
#include <ostream>

namespace cli {

// `analyse TEXT [--line N --column C] [chart options]`: builds the chart as `chart` does and
// prints the analysis report, whole-chart or, with --line (1 = top line) and --column (1 hidden
// spirit, 2 main line, 3 changed line), of one item followed by its 18 highlight flags as three
// lines of six (hidden spirit, main, changed; top line first). The report's message goes to
// stderr with status 1. Returns the exit status (2 for bad input).
int runAnalyse(const QStringList& args, std::ostream& out, std::ostream& err);

}  // namespace cli
