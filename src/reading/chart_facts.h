#pragma once
// What the reading takes from a chart: the cast's own year, month and day pillars, read from the
// pillar label (the two slots hold other pillars under the other strength bases), and the main
// lines by position (1 = 初爻; the chart keeps them top first).
#include <QChar>
#include <QList>
#include <QString>
#include <QStringList>

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

inline const chart::ChartLine& lineAt(const chart::Hexagram& lines, int position) {
    return lines[std::size_t(6 - position)];
}

// The branch of the line at a position; null when the line has none.
inline QChar branchAt(const chart::Hexagram& lines, int position) {
    const QString& text = lineAt(lines, position).branchElement;
    return text.isEmpty() ? QChar() : text.at(0);
}

// The positions of the lines whose branch is one of branches, ascending.
inline QList<int> positionsCarrying(const chart::Hexagram& lines, const QString& branches) {
    QList<int> positions;
    for (int p = 1; p <= 6; ++p) {
        const QChar b = branchAt(lines, p);
        if (!b.isNull() && branches.contains(b)) positions << p;
    }
    return positions;
}

// "子卯" as {"子", "卯"}.
inline QStringList characters(const QString& text) { return text.split(QString(), Qt::SkipEmptyParts); }

}  // namespace reading
