#pragma once
// qinglan-cli check and qinglan-cli repair.
#include <QStringList>
#include <ostream>

namespace cli {

// Prints the database's integrity, keyword index, schema version and counts; 0 only when all hold.
int runCheck(const QStringList& args, std::ostream& out, std::ostream& err);
// Rebuilds the keyword index, or copies what can be read from a damaged file into a new one.
int runRepair(const QStringList& args, std::ostream& out, std::ostream& err);

}  // namespace cli
