#include "cli/chart_invocation.h"

#include "calendar/calendar_source.h"

namespace cli {
namespace {

std::optional<chart::TrigramBasis> trigramBasis(const QString& v) {
    if (v == u"先天") return chart::TrigramBasis::Xiantian;
    if (v == u"后天") return chart::TrigramBasis::Houtian;
    return std::nullopt;
}

}  // namespace

std::optional<QString> parseChartInvocation(const QStringList& args, const QStringList& ownOptions,
                                            ChartInvocation& out) {
    bool haveText = false;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        auto value = [&](QString& v) -> bool {
            if (i + 1 >= args.size()) return false;
            v = args[++i];
            return true;
        };
        QString v;
        if (a == u"--all-changed") {
            out.options.showAllChanged = true;
        } else if (a == u"--hidden-changes") {
            out.options.showHiddenChanges = true;
        } else if (a == u"--json") {
            out.json = true;
        } else if (a == u"--beasts") {
            if (!value(v)) return QStringLiteral("--beasts needs year, month or day");
            if (v == u"year")
                out.options.beastPillar = chart::BeastPillar::Year;
            else if (v == u"month")
                out.options.beastPillar = chart::BeastPillar::Month;
            else if (v == u"day")
                out.options.beastPillar = chart::BeastPillar::Day;
            else
                return QStringLiteral("--beasts needs year, month or day, not ") + v;
        } else if (a == u"--basis") {
            if (!value(v)) return QStringLiteral("--basis needs 月日, 年月, 日时 or 时分");
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
        } else if (a == u"--ordinal" || a == u"--direction") {
            if (!value(v) || !trigramBasis(v)) return a + QStringLiteral(" needs 先天 or 后天");
            (a == u"--ordinal" ? out.options.ordinalBasis : out.options.directionBasis) = *trigramBasis(v);
        } else if (a == u"--calendar") {
            const auto source = value(v) ? cal::parse_calendar_source(v.toStdString()) : std::nullopt;
            if (!source) return QStringLiteral("--calendar needs formula or astronomical");
            out.options.calendarSource = *source;
        } else if (a == u"--today") {
            if (!value(v)) return QStringLiteral("--today needs a date yyyy-mm-dd");
            out.today = QDate::fromString(v, QStringLiteral("yyyy-MM-dd"));
            if (!out.today.isValid()) return QStringLiteral("--today needs a date yyyy-mm-dd, not ") + v;
        } else if (a == u"--data-dir") {
            if (!value(v)) return QStringLiteral("--data-dir needs a folder");
            out.dataDirArgs = {a, v};
        } else if (ownOptions.contains(a)) {
            out.rest << a;
            if (i + 1 < args.size()) out.rest << args[++i];
        } else if (a.startsWith(u"--")) {
            return QStringLiteral("unknown option ") + a;
        } else if (!haveText) {
            out.text = a;
            haveText = true;
        } else {
            return QStringLiteral("only one case number text is read, got also ") + a;
        }
    }
    if (!haveText) return QStringLiteral("a case number text is needed");
    return std::nullopt;
}

}  // namespace cli
