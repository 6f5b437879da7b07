#pragma once
#include <ostream>
#include <string>
#include <vector>

namespace cli {

// `calendar days FROM TO` and `calendar terms FROM TO`, optionally with
// `--calendar formula|astronomical`. Writes the table to out, or a one-line message to err;
// returns the exit status (0, or 2 for bad arguments). Years the astronomical calendar does not
// serve use the formulas, with a line on err saying so.
int runCalendar(std::vector<std::string> args, std::ostream& out, std::ostream& err);

}  // namespace cli
