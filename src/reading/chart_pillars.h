#pragma once
// The cast's own year, month and day pillars, read from the chart's pillar label. The two slots
// hold other pillars under the other strength bases; the reading always counts from these.
#include <QChar>
#include <QString>

#include "chart/chart_state.h"

namespace reading {

struct ChartPillars {
    QChar yearStem, yearBranch, monthStem, monthBranch, dayStem, dayBranch;  // null when unknown
};

// The label starts "甲子年 丙寅月 甲子日…": the year pillar at 0, the month at 4, the day at 8.
inline ChartPillars chartPillars(const chart::ChartState& chart) {
    const QString& label = chart.pillarLabel;
    auto at = [&label](qsizetype i) { return i < label.size() ? label.at(i) : QChar(); };
    return {at(0), at(1), at(4), at(5), at(8), at(9)};
}

}  // namespace reading
