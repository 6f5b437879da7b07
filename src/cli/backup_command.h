#pragma once
// qinglan-cli backup FILE and qinglan-cli restore FILE.
#include <QStringList>
#include <ostream>

namespace cli {

int run_backup(const QStringList& args, std::ostream& out, std::ostream& err);
int run_restore(const QStringList& args, std::ostream& out, std::ostream& err);

}  // namespace cli
