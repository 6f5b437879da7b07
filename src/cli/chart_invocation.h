#pragma once
// The chart options shared by the commands that build a chart from a typed case number.
#include <QDate>
#include <QString>
#include <QStringList>
#include <optional>

#include "chart/chart_state.h"

namespace cli {

struct ChartInvocation {
    QString text;  // the case number text
    chart::ChartOptions options;
    std::optional<chart::StrengthBasis> basis;
    QDate today = QDate::currentDate();
    QStringList dataDirArgs;  // "--data-dir DIR" when given
    bool json = false;
    QStringList rest;  // options a command reads itself
};

// Parses the chart options; unknown "--" options are left in `rest` for the command. Returns
// an error text for a bad option value.
std::optional<QString> parseChartInvocation(const QStringList& args, const QStringList& ownOptions,
                                            ChartInvocation& out);

}  // namespace cli
