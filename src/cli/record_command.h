#pragma once
// `qinglan-cli cases stats`: the record of outcomes; `qinglan-cli cases outcome`: sets one.
#include <QStringList>
#include <ostream>

namespace cli {

int runCaseStats(const QStringList& args, std::ostream& out, std::ostream& err);
int runCaseOutcome(const QStringList& args, std::ostream& out, std::ostream& err);

}  // namespace cli
