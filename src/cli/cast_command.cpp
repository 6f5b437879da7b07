#include "cli/cast_command.h"

#include <QDateTime>

#include "calendar/supported_range.h"
#include "casting/cast_handover.h"
#include "casting/plum_cast.h"
#include "casting/random_source.h"
#include "chart/cast_place.h"
#include "cli/chart_command.h"
#include "cli/chart_invocation.h"
#include "cli/command_parsing.h"

namespace cli {
namespace {

const QString kMomentFormat = QStringLiteral("yyyy-MM-ddThh:mm:ss");

// The cast moment of a yyyy-mm-ddThh:mm:ss text; the problem when it is none or outside the calendar.
std::optional<QDateTime> readMoment(const QString& text, QString& problem) {
    const QDateTime moment = QDateTime::fromString(text, kMomentFormat);
    if (!moment.isValid()) {
        problem = QStringLiteral("the cast moment needs yyyy-mm-ddThh:mm:ss, not ") + text;
        return std::nullopt;
    }
    const QDate d = moment.date();
    if (!cal::isSupportedDate(d.year(), d.month(), d.day())) {
        problem = text + QStringLiteral(": ") + QString::fromStdString(cal::unsupportedDateMessage());
        return std::nullopt;
    }
    return moment;
}

}  // namespace

int runCast(const QStringList& args, std::ostream& out, std::ostream& err) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Casts by 梅花 (by the time, or by two or three numbers) or by the yarrow odds and prints the case\n"
        "number (yyyymmdd, six line codes top first, the method word, T:hh:mm:ss); nothing is stored."));
    parser.addPositionalArgument(QStringLiteral("[MOMENT | A B [C]]"),
                                 QStringLiteral("With --time the moment (yyyy-mm-ddThh:mm:ss, default now); with "
                                                "--numbers two or three numbers of any length."));
    addChartOptions(parser, true, false);
    parser.addOptions({
        {QStringLiteral("time"),
         QStringLiteral("梅花 by the time: year branch + lunar month + lunar day, and the hour.")},
        {QStringLiteral("numbers"),
         QStringLiteral(
             "梅花 by numbers: A above, B below, the moving line from A + B, or from C (school plum-third).")},
        {QStringLiteral("hour"), QStringLiteral("With two numbers, add the hour's branch number (子 1 .. 亥 12).")},
        {QStringLiteral("yarrow"),
         QStringLiteral("Six lines by the yarrow odds (老阳 3/16, 少阴 7/16, 少阳 5/16, 老阴 1/16).")},
        {QStringLiteral("at"), QStringLiteral("The cast moment, yyyy-mm-ddThh:mm:ss (default now)."),
         QStringLiteral("MOMENT")},
        {QStringLiteral("chart"), QStringLiteral("Print the chart after the case number.")},
        {QStringLiteral("method"),
         QStringLiteral("The arrangement method, the word a case number carries: 京房式 (default) or 藏山卜."),
         QStringLiteral("METHOD")},
    });
    if (const auto status = parseCommand(parser, QStringLiteral("cast"), args, -1, out, err)) return *status;
    const auto fail = [&err](const QString& problem) {
        err << "qinglan-cli cast: " << problem.toStdString() << "\n";
        return 2;
    };
    ChartInvocation call;
    if (const auto problem = readChartInvocation(parser, call, false)) return fail(*problem);

    const bool byTime = parser.isSet(QStringLiteral("time")), byNumbers = parser.isSet(QStringLiteral("numbers")),
               byYarrow = parser.isSet(QStringLiteral("yarrow"));
    if (int(byTime) + int(byNumbers) + int(byYarrow) != 1)
        return fail(QStringLiteral("give one of --time, --numbers and --yarrow (see --help)"));
    QStringList words = parser.positionalArguments();
    QString momentText = parser.value(QStringLiteral("at"));
    if (byTime && !words.isEmpty()) {
        if (words.size() > 1 || parser.isSet(QStringLiteral("at")))
            return fail(QStringLiteral("--time takes one moment (or --at), not ") + words.join(u' '));
        momentText = words.takeFirst();
    }
    auto method = chart::ArrangementMethod::Jingfang;
    if (parser.isSet(QStringLiteral("method"))) {
        const QString word = parser.value(QStringLiteral("method"));
        if (word == chart::methodWord(chart::ArrangementMethod::Zangshan))
            method = chart::ArrangementMethod::Zangshan;
        else if (word != chart::methodWord(chart::ArrangementMethod::Jingfang))
            return fail(QStringLiteral("--method needs 京房式 or 藏山卜, not ") + word);
    }
    if (byYarrow && !words.isEmpty()) return fail(QStringLiteral("--yarrow takes no numbers: ") + words.join(u' '));
    if (parser.isSet(QStringLiteral("hour")) && !(byNumbers && words.size() == 2))
        return fail(QStringLiteral("--hour goes with two numbers (with three the third gives the moving line)"));

    QDateTime moment = QDateTime::currentDateTime();
    moment.setTime(QTime(moment.time().hour(), moment.time().minute(), moment.time().second()));
    if (!momentText.isEmpty()) {
        QString problem;
        const auto given = readMoment(momentText, problem);
        if (!given) return fail(problem);
        moment = *given;
    } else if (!cal::isSupportedDate(moment.date().year(), moment.date().month(), moment.date().day())) {
        return fail(QString::fromStdString(cal::unsupportedDateMessage()));
    }

    // The 梅花 numbers follow the clock the pillars follow.
    const chart::PillarMoment pillars = chart::pillarMoment(moment.date(), moment.time(), call.place);
    if (!pillars.problem.isEmpty()) return fail(pillars.problem);
    std::array<int, 6> codes{};
    if (byTime) {
        const auto cast = casting::castByTime(pillars.date, pillars.time, call.options.calendarSource, call.schools);
        if (!cast) return fail(QString::fromStdString(cal::unsupportedDateMessage()));
        codes = cast->hexagram.codesTopFirst();
    } else if (byNumbers) {
        const int hour = parser.isSet(QStringLiteral("hour")) ? casting::hourBranchNumber(pillars.time) : 0;
        const auto cast = casting::castByNumbers(words, hour, call.schools);
        if (const QString* problem = std::get_if<QString>(&cast)) return fail(*problem);
        codes = std::get<casting::PlumHexagram>(cast).codesTopFirst();
    } else {
        casting::RandomSource random;
        if (!random.available()) return fail(random.sourceText());
        for (int line = 5; line >= 0; --line) codes[std::size_t(line)] = random.drawYarrowValue();
    }
    call.text = casting::makeCaseString(moment.date(), codes, method, moment.time());
    out << call.text.toStdString() << "\n";
    if (!parser.isSet(QStringLiteral("chart"))) return 0;
    return printChart(call, "cast", out, err);
}

}  // namespace cli
