// qinglan-cli: the calendar, the chart and its analysis, and the case library on the command line.
#include <QCoreApplication>
#include <iostream>
#include <string>
#include <vector>

#include "cli/analyse_command.h"
#include "cli/backup_command.h"
#include "cli/calendar_command.h"
#include "cli/cases_command.h"
#include "cli/chart_command.h"

namespace {

constexpr const char* kUsage =
    "usage: qinglan-cli COMMAND ...\n"
    "\n"
    "commands:\n"
    "  calendar days FROM TO    one TSV row per civil day of the years FROM..TO (1899..2100):\n"
    "                           date, year/month/day pillars, lunar month (negative = leap), lunar day\n"
    "  calendar terms FROM TO   the 24 solar-term moments of each year FROM..TO (1..9999)\n"
    "      --calendar formula|astronomical   terms and new moons from the formulas (default) or\n"
    "                           from the ephemeris (1900..2100; other years use the formulas)\n"
    "  chart TEXT [options]     the chart of a case number as its text copy:\n"
    "                           TEXT is 14 digits (yyyymmdd + six line codes, top first),\n"
    "                           optionally followed by 京房式/藏山卜 and T:hh:mm:ss\n"
    "      --all-changed        show the changed line under every line (显示全部变爻)\n"
    "      --hidden-changes     let lines moving in hiding change (显示暗动变爻)\n"
    "      --beasts year|month|day      pillar whose stem sets the six beasts (default day)\n"
    "      --basis 月日|年月|日时|时分  strength basis chosen after the build (default 月日)\n"
    "      --ordinal 先天|后天  --direction 先天|后天   palace ordinal and direction\n"
    "      --today yyyy-mm-dd   today's date for the clock\n"
    "      --calendar formula|astronomical   the pillars' solar terms (default formula)\n"
    "      --data-dir DIR       the data root holding qinglan.db\n"
    "      --json               every field of the chart as JSON instead of the text copy\n"
    "  analyse TEXT [options]   the analysis report (卦象分析) of the chart, whole-chart mode;\n"
    "                           takes the chart options above except --json\n"
    "      --line N --column C  item mode: N 1..6 counted from the top line, C 1 hidden spirit,\n"
    "                           2 main line, 3 changed line; the report is followed by the 18\n"
    "                           highlight flags (hidden spirit, main, changed; top line first)\n"
    "  backup FILE              a consistent copy of the whole database, also while it is in use\n"
    "  restore FILE             check FILE and put it in place of the database; the replaced one\n"
    "                           is kept beside it as qinglan.db.<date-time>.bak\n"
    "  cases export [--category NAME] [--from DATE --to DATE] FILE|-\n"
    "                           the cases as JSON Lines (one case per line, UTF-8)\n"
    "  cases import [--dry-run] [--skip-refused] FILE|-\n"
    "                           merge cases from JSON Lines in one transaction\n"
    "  cases search [--limit N] [--category NAME] KEYWORD\n"
    "                           the cases holding KEYWORD, newest first, as JSON Lines\n"
    "  (backup, restore and cases take --data-dir DIR and --help)\n"
    "  --help                   this text\n"
    "  --version                the program's version\n";

}  // namespace

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    QCoreApplication app(argc, argv);  // the database driver is loaded as a plugin
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) {
        std::cerr << kUsage;
        return 2;
    }
    if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        std::cout << kUsage;
        return 0;
    }
    if (args[0] == "--version") {
        std::cout << "qinglan-cli 3.9\n";
        return 0;
    }
    const QStringList rest = QCoreApplication::arguments().mid(2);
    if (args[0] == "backup") return cli::run_backup(rest, std::cout, std::cerr);
    if (args[0] == "restore") return cli::run_restore(rest, std::cout, std::cerr);
    if (args[0] == "cases") return cli::run_cases(rest, std::cout, std::cerr);
    if (args[0] == "calendar") return cli::run_calendar({args.begin() + 1, args.end()}, std::cout, std::cerr);
    if (args[0] == "analyse") return cli::run_analyse(QCoreApplication::arguments().mid(2), std::cout, std::cerr);
    if (args[0] == "chart") return cli::run_chart(QCoreApplication::arguments().mid(2), std::cout, std::cerr);
    std::cerr << "qinglan-cli: unknown command '" << args[0] << "' (see qinglan-cli --help)\n";
    return 2;
}
