#pragma once
#include <ostream>
#include <string>
#include <vector>

namespace cli {

// `calendar days FROM TO` and `calendar terms FROM TO`. Writes the table to out, or a
// one-line message to err; returns the exit status (0, or 2 for bad arguments).
int run_calendar(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace cli
