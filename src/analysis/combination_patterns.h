#pragma once
// The three-harmony combinations, the earth self-combination and the two three-punishment
// patterns formed by the moving and hidden-moving lines, alone or helped by the month, the day
// or a static line, with the dates that break or complete them.
#include <QString>
#include <QStringList>

#include "chart/chart_state.h"

namespace analysis {

// The seven pattern texts in the order they are examined; each starts with its branches and
// the second character is the middle branch.
const QStringList& combinationPatternTexts();

// The result lines of one pattern text, each ending in "\r\n", in the order of the five checks:
// lines 4 and 6, lines 1 and 3, the active lines, the active lines with the month or the day,
// the active lines with a static line.
QString MatchCombinationPattern(const chart::ChartState& state, const QString& pattern);

// The texts of the seven patterns joined with a blank, empty ones included (six blanks at least).
QString CombinationPatterns(const chart::ChartState& state);

}  // namespace analysis
