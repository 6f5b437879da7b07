#include "cli/calendar_command.h"

#include <charconv>
#include <cstdio>
#include <map>
#include <optional>
#include <string_view>

#include <QRegularExpression>

#include "calendar/calendar_source.h"
#include "calendar/civil_date.h"
#include "calendar/ganzhi.h"
#include "calendar/lunar.h"
#include "calendar/pillars.h"
#include "calendar/solar_terms.h"
#include "cli/command_parsing.h"
#include "language/generated_text.h"

namespace cli {
namespace {

// The term formula is meant for the common era; years beyond four digits would not fit the
// yyyy-mm-dd column.
constexpr int kTermsFirstYear = 1;
constexpr int kTermsLastYear = 9999;

std::optional<int> parseYear(const std::string& text) {
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc{} || ptr != end || text.empty()) return std::nullopt;
    return value;
}

std::string twoDigits(int v) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "%02d", v);
    return buf;
}

std::string isoDate(int y, int m, int d) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", y, m, d);
    return buf;
}

// The pillar and term names as printed in the language asked for, each converted once.
class ShownNames {
public:
    explicit ShownNames(language::Language language) : language_(language) {}
    std::string_view operator()(std::string_view name) {
        if (language_ == language::Language::SimplifiedChinese) return name;
        auto [it, added] = shown_.try_emplace(std::string(name));
        if (added)
            it->second =
                language::localized(QString::fromUtf8(name.data(), qsizetype(name.size())), language_).toStdString();
        return it->second;
    }

private:
    language::Language language_;
    std::map<std::string, std::string> shown_;
};

void printDays(int from, int to, cal::CalendarSource source, ShownNames& shown, std::ostream& out) {
    out << "date\tyear_gz\tmonth_gz\tday_gz\tlunar_month\tlunar_day\n";
    for (cal::CivilDate date{from, 1, 1}; date.year <= to; date = cal::nextDay(date)) {
        const auto [y, m, d] = date;
        const cal::LunarDate lunar = cal::lunarDate(y, m, d, source);
        out << isoDate(y, m, d) << '\t' << shown(cal::ganzhiName(cal::yearGanzhi(y, m, d, source))) << '\t'
            << shown(cal::ganzhiName(cal::monthGanzhi(y, m, d, source))) << '\t'
            << shown(cal::ganzhiName(cal::dayGanzhi(y, m, d))) << '\t' << (lunar.leap ? -lunar.month : lunar.month)
            << '\t' << lunar.day << '\n';
    }
}

void printTerms(int from, int to, cal::CalendarSource source, ShownNames& shown, std::ostream& out) {
    out << "year\tname\tmoment\n";
    for (int y = from; y <= to; ++y) {
        for (int j = 0; j < 24; ++j) {
            const cal::TermMoment t = cal::termMoment(y, j, source);
            out << y << '\t' << shown(cal::termName(cal::termNameIndexOf(j))) << '\t' << isoDate(y, t.month, t.day)
                << ' ' << twoDigits(t.hour) << ':' << twoDigits(t.minute) << '\n';
        }
    }
}

}  // namespace

int runCalendar(std::vector<std::string> words, std::ostream& out, std::ostream& err) {
    QStringList args;
    for (const std::string& word : words) args << QString::fromStdString(word);
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("days: one TSV row per civil day of the years FROM..TO (1899..2100): date, year, month and day\n"
                       "pillars, lunar month (negative = leap), lunar day.\n"
                       "terms: the 24 solar-term moments of each year FROM..TO (1..9999), 小寒 first."));
    parser.addPositionalArgument(QStringLiteral("days|terms"), QStringLiteral("What to list."));
    parser.addPositionalArgument(QStringLiteral("FROM"), QStringLiteral("First year."));
    parser.addPositionalArgument(QStringLiteral("TO"), QStringLiteral("Last year."));
    parser.addOption({QStringLiteral("calendar"),
                      QStringLiteral("Terms and new moons from the formulas (formula, the default) or from the\n"
                                     "ephemeris (astronomical: 1900..2100; other years use the formulas)."),
                      QStringLiteral("SOURCE")});
    // A negative year would be taken for an option ("-5"): name it as the wrong year it is.
    for (const QString& arg : args) {
        static const QRegularExpression negative(QStringLiteral("^-[0-9]+$"));
        if (negative.match(arg).hasMatch()) {
            const bool terms = args.value(0) == u"terms";
            err << "qinglan-cli calendar: years must lie within " << (terms ? kTermsFirstYear : cal::kLunarFirstYear)
                << ".." << (terms ? kTermsLastYear : cal::kLunarLastYear) << ", not " << arg.toStdString() << "\n";
            return 2;
        }
    }
    if (const auto status = parseArguments(parser, QStringLiteral("calendar"), args, 3, out, err)) return *status;
    cal::CalendarSource source = cal::CalendarSource::Formula;
    if (parser.isSet(QStringLiteral("calendar"))) {
        const auto parsed = cal::parseCalendarSource(parser.value(QStringLiteral("calendar")).toStdString());
        if (!parsed) {
            err << "qinglan-cli calendar: --calendar needs formula or astronomical\n";
            return 2;
        }
        source = *parsed;
    }
    args = parser.positionalArguments();
    words.assign({args[0].toStdString(), args[1].toStdString(), args[2].toStdString()});
    if (words[0] != "days" && words[0] != "terms") {
        err << "qinglan-cli calendar: the first argument is days or terms, not '" << words[0] << "'\n";
        return 2;
    }
    const bool days = words[0] == "days";
    const std::optional<int> from = parseYear(words[1]);
    const std::optional<int> to = parseYear(words[2]);
    if (!from || !to) {
        err << "qinglan-cli calendar: years must be whole numbers, got '" << words[1] << "' '" << words[2] << "'\n";
        return 2;
    }
    const int first = days ? cal::kLunarFirstYear : kTermsFirstYear;
    const int last = days ? cal::kLunarLastYear : kTermsLastYear;
    if (*from < first || *to > last) {
        err << "qinglan-cli calendar " << words[0] << ": years must lie within " << first << ".." << last << "\n";
        return 2;
    }
    if (*from > *to) {
        err << "qinglan-cli calendar: FROM (" << *from << ") is after TO (" << *to << ")\n";
        return 2;
    }
    if (cal::sourceForYear(source, *from) != source || cal::sourceForYear(source, *to) != source)
        err << "qinglan-cli calendar: the astronomical calendar covers " << cal::kAstronomicalFirstYear << ".."
            << cal::kAstronomicalLastYear << "; the years outside it use the formulas\n";
    ShownNames shown(outputLanguage(parser));
    if (days)
        printDays(*from, *to, source, shown, out);
    else
        printTerms(*from, *to, source, shown, out);
    return 0;
}

}  // namespace cli
