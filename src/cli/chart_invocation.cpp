#include "cli/chart_invocation.h"

#include "calendar/calendar_source.h"
#include "cli/command_parsing.h"

namespace cli {
namespace {

std::optional<chart::TrigramBasis> trigramBasis(const QString& v) {
    if (v == u"先天") return chart::TrigramBasis::Xiantian;
    if (v == u"后天") return chart::TrigramBasis::Houtian;
    return std::nullopt;
}

}  // namespace

void addChartOptions(QCommandLineParser& parser, bool withJson, bool withText) {
    if (withText)
        parser.addPositionalArgument(
        QStringLiteral("TEXT"),
        QStringLiteral("The case number: 14 digits (cast date yyyymmdd, then the six line codes, top line first:\n"
                       "1 young yang, 2 young yin, 3 old yang, 4 old yin), optionally followed by 藏山卜 and\n"
                       "T:hh:mm:ss."));
    const QString value = QStringLiteral("VALUE");
    parser.addOptions({
        {QStringLiteral("all-changed"), QStringLiteral("Show the changed line under every line (显示全部变爻).")},
        {QStringLiteral("hidden-changes"), QStringLiteral("Let lines moving in hiding change (显示暗动变爻).")},
        {QStringLiteral("beasts"),
         QStringLiteral("Pillar whose stem sets the six beasts: year, month or day (default day)."), value},
        {QStringLiteral("basis"),
         QStringLiteral("Strength basis chosen after the build: 月日, 年月, 日时 or 时分 (default 月日)."), value},
        {QStringLiteral("ordinal"), QStringLiteral("Palace ordinal: 先天 or 后天 (default 先天)."), value},
        {QStringLiteral("direction"), QStringLiteral("Direction: 先天 or 后天 (default 后天)."), value},
        {QStringLiteral("today"), QStringLiteral("Today's date for the clock, yyyy-mm-dd."), QStringLiteral("DATE")},
        {QStringLiteral("calendar"),
         QStringLiteral("Source of the pillars' solar terms: formula (default) or astronomical."), value},
        {QStringLiteral("place"),
         QStringLiteral("Where the cast was made: LONGITUDE[,ZONE], degrees east positive and an IANA zone\n"
                        "(default Asia/Shanghai); the case number's time is the civil time there."),
         QStringLiteral("LONGITUDE[,ZONE]")},
        {QStringLiteral("time-rule"),
         QStringLiteral("The clock of the pillars: beijing (Beijing time converted from the place's civil time)\n"
                        "or solar (the place's true solar time). Without --place and --time-rule the clock is\n"
                        "read as Beijing time as it stands."),
         QStringLiteral("RULE")},
        {QStringLiteral("school"),
         QStringLiteral("A school choice, KEY=VALUE, repeatable; the first value is the default:\n") +
             reading::schoolChoices().join(QLatin1Char('\n')),
         QStringLiteral("KEY=VALUE")},
    });
    if (withJson) parser.addOption({QStringLiteral("json"), QStringLiteral("Every field of the chart as JSON.")});
}

std::optional<QString> readChartInvocation(const QCommandLineParser& parser, ChartInvocation& out, bool withText) {
    if (withText) out.text = parser.positionalArguments().value(0);
    out.options.showAllChanged = parser.isSet(QStringLiteral("all-changed"));
    out.options.showHiddenChanges = parser.isSet(QStringLiteral("hidden-changes"));
    out.json = parser.optionNames().contains(QStringLiteral("json"));
    out.language = outputLanguage(parser);
    if (parser.isSet(QStringLiteral("beasts"))) {
        const QString v = parser.value(QStringLiteral("beasts"));
        if (v == u"year")
            out.options.beastPillar = chart::BeastPillar::Year;
        else if (v == u"month")
            out.options.beastPillar = chart::BeastPillar::Month;
        else if (v == u"day")
            out.options.beastPillar = chart::BeastPillar::Day;
        else
            return QStringLiteral("--beasts needs year, month or day, not ") + v;
    }
    if (parser.isSet(QStringLiteral("basis"))) {
        const QString v = parser.value(QStringLiteral("basis"));
        if (v == u"月日")
            out.basis = chart::StrengthBasis::MonthDay;
        else if (v == u"年月")
            out.basis = chart::StrengthBasis::YearMonth;
        else if (v == u"日时")
            out.basis = chart::StrengthBasis::DayHour;
        else if (v == u"时分")
            out.basis = chart::StrengthBasis::HourQuarter;
        else
            return QStringLiteral("--basis needs 月日, 年月, 日时 or 时分, not ") + v;
    }
    for (const QString& name : {QStringLiteral("ordinal"), QStringLiteral("direction")}) {
        if (!parser.isSet(name)) continue;
        const auto basis = trigramBasis(parser.value(name));
        if (!basis)
            return QStringLiteral("--") + name + QStringLiteral(" needs 先天 or 后天, not ") + parser.value(name);
        (name == u"ordinal" ? out.options.ordinalBasis : out.options.directionBasis) = *basis;
    }
    if (parser.isSet(QStringLiteral("calendar"))) {
        const QString v = parser.value(QStringLiteral("calendar"));
        const auto source = cal::parseCalendarSource(v.toStdString());
        if (!source) return QStringLiteral("--calendar needs formula or astronomical, not ") + v;
        out.options.calendarSource = *source;
    }
    if (parser.isSet(QStringLiteral("place"))) {
        if (const auto problem = chart::applyPlaceText(parser.value(QStringLiteral("place")), out.place))
            return QStringLiteral("--place: ") + *problem;
    }
    if (parser.isSet(QStringLiteral("time-rule"))) {
        const QString v = parser.value(QStringLiteral("time-rule"));
        const auto rule = chart::parseTimeRule(v);
        if (!rule) return QStringLiteral("--time-rule needs beijing or solar, not ") + v;
        out.place.rule = *rule;
    }
    for (const QString& choice : parser.values(QStringLiteral("school"))) {
        if (const auto problem = reading::applySchool(choice, out.schools)) return QStringLiteral("--school: ") + *problem;
    }
    out.options.schools = reading::chartSchools(out.schools);
    if (parser.isSet(QStringLiteral("today"))) {
        const QString v = parser.value(QStringLiteral("today"));
        out.today = QDate::fromString(v, QStringLiteral("yyyy-MM-dd"));
        if (!out.today.isValid()) return QStringLiteral("--today needs a date yyyy-mm-dd, not ") + v;
    }
    if (parser.isSet(QStringLiteral("data-dir")))
        out.dataDirArgs = {QStringLiteral("--data-dir"), parser.value(QStringLiteral("data-dir"))};
    if (const QString problem = lineCodeProblem(out.text); !problem.isEmpty()) return problem;
    return std::nullopt;
}

QString lineCodeProblem(const QString& text) {
    if (text.size() < 14) return {};
    if (text.size() > 14 && text[14].isDigit() && text[14].unicode() < 128)
        return QStringLiteral("TEXT ") + text +
               QStringLiteral(
                   ": a case number has 14 digits (yyyymmdd and six line codes), then optionally "
                   "藏山卜 and T:hh:mm:ss");
    const QString codes = text.mid(8, 6);
    for (const QChar c : codes) {
        if (!c.isDigit() || c.unicode() >= 128) return {};  // the build names a non-digit itself
        if (c < u'1' || c > u'4')
            return QStringLiteral("TEXT ") + text +
                   QStringLiteral(": the line codes (9th to 14th digits) must each be ") +
                   QStringLiteral("1..4 (1 young yang, 2 young yin, 3 old yang, 4 old yin), not ") + codes;
    }
    return {};
}

}  // namespace cli
