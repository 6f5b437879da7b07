#pragma once
#include <QStringList>
#include <ostream>

namespace cli {

// `cast --time [MOMENT] | --numbers A B [C] [--hour] | --yarrow`, each with [--at MOMENT] and
// [--method 京房式|藏山卜]: casts by 梅花 or by the yarrow odds and prints the case number (with
// the method's word) on one line; with --chart its chart follows as `chart` prints it. Returns
// the exit status (2 for bad input).
int runCast(const QStringList& args, std::ostream& out, std::ostream& err);

}  // namespace cli
