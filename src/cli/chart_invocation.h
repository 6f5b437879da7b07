#pragma once
// The chart options shared by the commands that build a chart from a typed case number.
#include <QCommandLineParser>
#include <QDate>
#include <QString>
#include <QStringList>
#include <optional>

#include "chart/chart_state.h"
#include "language/language.h"
#include "reading/schools.h"

namespace cli {

struct ChartInvocation {
    QString text;  // the case number text
    chart::ChartOptions options;  // options.schools follows `schools`
    chart::CastPlace place;       // --place LONGITUDE[,ZONE] and --time-rule beijing|solar
    reading::Schools schools;     // --school KEY=VALUE, repeatable
    std::optional<chart::StrengthBasis> basis;
    QDate today = QDate::currentDate();
    QStringList dataDirArgs;  // "--data-dir DIR" when given
    bool json = false;
    language::Language language = language::Language::SimplifiedChinese;  // of the text output (--lang)
};

// Adds TEXT (unless the command makes the case number itself) and the chart options (with --json
// when `withJson`) to a command's parser.
void addChartOptions(QCommandLineParser& parser, bool withJson, bool withText = true);

// Reads them once the parser has parsed; the problem with a value (naming the option), if any.
std::optional<QString> readChartInvocation(const QCommandLineParser& parser, ChartInvocation& out,
                                           bool withText = true);

// The problem with a case number text that the chart would show as "错误" rows: its six line
// codes (the 9th to 14th characters) must each be 1..4, and no 15th digit follows. Empty when the codes are fine or the
// text is too short or malformed otherwise (the chart build says so itself).
QString lineCodeProblem(const QString& text);

}  // namespace cli
