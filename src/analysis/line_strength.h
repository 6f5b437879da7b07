#pragma once
// The strength state of a line item against the two pillar slots, the return influence of a
// moving line and the season qi of a branch.
#include <QString>

#include "chart/chart_state.h"

namespace analysis {

// The season state of an item's element against the month's element, by the classical names
// 旺 相 休 囚 死 (the program's own words for the last three are 衰 休 囚); None when either is no
// element.
enum class SeasonState { None, Prosperous, Supported, Resting, Confined, Dead };

struct LineStrength {
    QString text;  // e.g. 囚月破日冲; empty when nothing holds
    SeasonState season = SeasonState::None;
};

// Strength of an item text (relative, branch, element; a main line is passed with two filler
// characters before its branch and element) against the month and day of the slots.
LineStrength DescribeLineStrength(const chart::ChartState& state, const QString& itemText);

// "回头生", "回头克" or empty: how the changed line's element acts back on the main line's.
QString DescribeReturnInfluence(QChar mainElement, QChar changedElement);

// "进化" or "退化" from a main branch to a changed branch; empty for any other pair.
// sevenPairs leaves out 戌↔丑, as the schools counting seven pairs do.
QString advanceNote(QChar mainBranch, QChar changedBranch, bool sevenPairs = false);

// 得气: the month branch of the first slot closes the season of the branch.
bool GainsSeasonQi(const chart::ChartState& state, QChar branch);

}  // namespace analysis
