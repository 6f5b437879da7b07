#pragma once
// The strength state of a line item against the two pillar slots, the return influence of a
// moving line and the season qi of a branch.
#include <QColor>
#include <QString>

#include "chart/chart_state.h"

namespace analysis {

struct LineStrength {
    QString text;   // e.g. 囚月破日冲; empty when nothing holds
    QColor colour;  // the season state's colour; invalid when the item has no season state
};

// Strength of an item text (relative, branch, element; a main line is passed with two filler
// characters before its branch and element) against the month and day of the slots.
LineStrength DescribeLineStrength(const chart::ChartState& state, const QString& itemText);

// "回头生", "回头克" or empty: how the changed line's element acts back on the main line's.
QString DescribeReturnInfluence(QChar mainElement, QChar changedElement);

// 得气: the month branch of the first slot closes the season of the branch.
bool GainsSeasonQi(const chart::ChartState& state, QChar branch);

}  // namespace analysis
