#pragma once
// qinglan-cli backup FILE and qinglan-cli restore FILE.
#include <QStringList>
#include <ostream>

namespace cli {

int runBackup(const QStringList& args, std::ostream& out, std::ostream& err);
int runRestore(const QStringList& args, std::ostream& out, std::ostream& err);

}  // namespace cli
