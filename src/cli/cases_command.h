#pragma once
// qinglan-cli cases export|import: the cases as JSON Lines.
#include <QStringList>
#include <ostream>

namespace cli {

// args: "export" or "import" and its options. FILE "-" is standard output or input.
int runCases(const QStringList& args, std::ostream& out, std::ostream& err);

}  // namespace cli
