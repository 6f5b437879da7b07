// qinglan-cli: the calendar, the chart and its analysis, and the case library on the command line.
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QStringDecoder>
#include <iostream>
#include <string>
#include <vector>

#include "cli/analyse_command.h"
#include "cli/backup_command.h"
#include "cli/calendar_command.h"
#include "cli/cast_command.h"
#include "cli/cases_command.h"
#include "cli/chart_command.h"
#include "cli/check_command.h"
#include "cli/command_parsing.h"
#include "cli/reading_command.h"
#include "language/language.h"
#include "qinglan_build.h"

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
    "  reading TEXT [options]   the reading aids of the chart: the 用神 of the question, its\n"
    "                           原神/忌神/仇神 and candidate dates, the structure and 神煞;\n"
    "                           takes the chart options above\n"
    "      --question 占类      the question type (自身 他人 父母 ... 婚姻)\n"
    "      --gender 男|女       the asker's gender (婚姻 needs it)\n"
    "      --within N           candidate dates within N days, 1..400 (default 60)\n"
    "      --school KEY=VALUE   a school choice, repeatable (multi=standard|ancient, ...)\n"
    "  cast --time [MOMENT] | --numbers A B [C] [--hour] | --yarrow   [--at MOMENT] [--chart]\n"
    "                           cast by 梅花 (the time, or numbers of any length) or by the yarrow\n"
    "                           odds; prints the case number (MOMENT yyyy-mm-ddThh:mm:ss, default\n"
    "                           now); --chart adds the chart; takes the chart options above\n"
    "      --method 京房式|藏山卜   the arrangement method the case number carries (default 京房式)\n"
    "  backup [--verify] FILE   one file holding the database and the note folder save/, also\n"
    "                           while in use; --verify checks a backup file instead\n"
    "  restore FILE             check FILE and put its database and notes in place; the replaced\n"
    "                           data is backed up into backups/ first (the newest 10 are kept)\n"
    "  cases export [--category NAME] [--from DATE --to DATE] FILE|-\n"
    "                           the cases as JSON Lines (one case per line, UTF-8)\n"
    "  cases import [--dry-run] [--skip-refused] [--no-update] [--json] FILE|-\n"
    "                           merge cases from JSON Lines in one transaction\n"
    "      --json               the import's counts and refused lines as one JSON object\n"
    "      --quiet              (also for export) no progress on standard error (shown for\n"
    "                           imports and exports longer than 2 s on a terminal)\n"
    "  cases search [--limit N] [--category NAME] KEYWORD\n"
    "                           the cases holding KEYWORD, newest first, as JSON Lines\n"
    "  cases stats [--category NAME] [--from DATE --to DATE] [--by question|category|year|relative|method|moving]\n"
    "              [--json]     how often the readings came true, and how far off the dates were\n"
    "  cases outcome CASE-ID 应验|部分应验|未应验|待验 [--date DATE] [--predicted DATE]\n"
    "                           sets the outcome of a case\n"
    "  check [--json]           the database's integrity, its keyword index, schema version and\n"
    "                           counts; exit status 0 only when all are sound\n"
    "  repair                   rebuild the keyword index; when the file itself is damaged, copy\n"
    "                           every readable case into a new file beside it (the damaged file\n"
    "                           is left as it is) and name what could not be read\n"
    "  (backup, restore, cases, check, repair, chart and analyse take --data-dir DIR, an\n"
    "   existing folder, or --data-dir DIR --create to make it; every command answers --help;\n"
    "   those that only read never write the database file)\n"
    "\n"
    "options:\n"
    "  -h, --help               this text\n"
    "  -v, --version            the program's version\n"
    "  --lang zh_CN|zh_TW|en    the language of the printed texts (default: the\n"
    "                           system's, from LANGUAGE, LC_ALL, LC_MESSAGES, LANG);\n"
    "                           before the command or among its options; --json,\n"
    "                           case exports and the user's own texts stay as stored\n"
    "\n"
    "Options take --name value or --name=value. Exit status: 0 done, 1 the operation failed,\n"
    "2 wrong arguments or a malformed TEXT; messages go to standard error.\n";

}  // namespace

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    QCoreApplication app(argc, argv);  // the database driver is loaded as a plugin
    QCoreApplication::setApplicationName(QStringLiteral("qinglan-cli"));
    QCoreApplication::setApplicationVersion(QStringLiteral(QINGLAN_VERSION));

    // Options before the command are the program's; everything after it is the command's.
    QCommandLineParser parser;
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Show this help."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Show the version."));
    const QCommandLineOption lang(QStringLiteral("lang"), QStringLiteral("The language of the printed texts."),
                                  QStringLiteral("CODE"));
    parser.addOption(help);
    parser.addOption(version);
    parser.addOption(lang);
    if (!parser.parse(QCoreApplication::arguments())) {
        std::cerr << "qinglan-cli: " << parser.errorText().toStdString() << " (see qinglan-cli --help)\n";
        return 2;
    }
    // The commands print in this language unless given their own --lang.
    if (parser.isSet(lang)) {
        const auto chosen = language::languageFromCode(parser.value(lang));
        if (!chosen) {
            std::cerr << "qinglan-cli: " << cli::languageProblem(parser.value(lang))->toStdString() << "\n";
            return 2;
        }
        language::setCurrentLanguage(*chosen);
    } else {
        language::setCurrentLanguage(language::systemLanguage());
    }
    for (int i = 1; i < argc; ++i) {
        // Decoded, an invalid byte would become U+FFFD and be looked for or stored as such.
        QStringDecoder utf8(QStringDecoder::Utf8);
        const QString decoded = utf8(QByteArrayView(argv[i]));
        if (utf8.hasError()) {
            std::cerr << "qinglan-cli: argument " << i << " is not valid UTF-8 text\n";
            return 2;
        }
    }
    const QStringList words = parser.positionalArguments();
    if (parser.isSet(help) || words.value(0) == u"help") {
        std::cout << kUsage;
        return 0;
    }
    if (parser.isSet(version)) {
        std::cout << "qinglan-cli " << QINGLAN_VERSION << "\n";
        return 0;
    }
    if (words.isEmpty()) {
        std::cerr << kUsage;
        return 2;
    }
    const QString command = words[0];
    const QStringList rest = words.mid(1);
    if (command == u"backup") return cli::runBackup(rest, std::cout, std::cerr);
    if (command == u"restore") return cli::runRestore(rest, std::cout, std::cerr);
    if (command == u"cases") return cli::runCases(rest, std::cout, std::cerr);
    if (command == u"check") return cli::runCheck(rest, std::cout, std::cerr);
    if (command == u"repair") return cli::runRepair(rest, std::cout, std::cerr);
    if (command == u"analyse") return cli::runAnalyse(rest, std::cout, std::cerr);
    if (command == u"chart") return cli::runChart(rest, std::cout, std::cerr);
    if (command == u"reading") return cli::runReading(rest, std::cout, std::cerr);
    if (command == u"cast") return cli::runCast(rest, std::cout, std::cerr);
    if (command == u"calendar") {
        std::vector<std::string> calendarWords;
        for (const QString& word : rest) calendarWords.push_back(word.toStdString());
        return cli::runCalendar(calendarWords, std::cout, std::cerr);
    }
    std::cerr << "qinglan-cli: unknown command '" << command.toStdString() << "' (see qinglan-cli --help)\n";
    return 2;
}
