#pragma once
#include <QStringList>
#include <ostream>

namespace cli {

// `reading TEXT [chart options] [--question 占类] [--gender 男|女] [--within N] [--school KEY=VALUE]
// [--json]`: the 用神 of the question with its family and candidate dates, the chart's structure
// and 神煞. Returns the exit status (2 for bad input).
int runReading(const QStringList& args, std::ostream& out, std::ostream& err);

}  // namespace cli
