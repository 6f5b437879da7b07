#pragma once
// qinglan-cli cases search: the case browser's keyword search, printed as export lines.
#include <QStringList>
#include <ostream>

namespace cli {

// args: the words after "cases search".
int runCaseSearch(const QStringList& args, std::ostream& out, std::ostream& err);

}  // namespace cli
