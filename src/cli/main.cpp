// qinglan-cli: the calendar (and, as they arrive, the chart and its analysis) on the command line.
#include <iostream>
#include <string>
#include <vector>

#include "cli/calendar_command.h"

namespace {

constexpr const char* kUsage =
    "usage: qinglan-cli COMMAND ...\n"
    "\n"
    "commands:\n"
    "  calendar days FROM TO    one TSV row per civil day of the years FROM..TO (1899..2100):\n"
    "                           date, year/month/day pillars, lunar month (negative = leap), lunar day\n"
    "  calendar terms FROM TO   the 24 solar-term moments of each year FROM..TO (1..9999)\n"
    "  --help                   this text\n";

}  // namespace

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) {
        std::cerr << kUsage;
        return 2;
    }
    if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        std::cout << kUsage;
        return 0;
    }
    if (args[0] == "calendar")
        return cli::run_calendar({args.begin() + 1, args.end()}, std::cout, std::cerr);
    std::cerr << "qinglan-cli: unknown command '" << args[0] << "' (see qinglan-cli --help)\n";
    return 2;
}
