#pragma once
// Item mode of the report: the stages of one clicked item at the month and the day, and its
// relations to every item of the chart with the highlight flags they set.
#include <QStringList>
#include <array>

#include "chart/chart_state.h"

namespace analysis {

// Highlight flag values; the chart display colours the related items by them, and the command
// line prints them as these numbers.
enum class HighlightFlag : int {
    None = 0,
    Combine = 1,
    Clash = 2,
    Death = 4,
    Tomb = 8,
    Extinction = 16,
    Birth = 32,
};

// The 18 flags: hidden spirit, main and changed columns of six lines each, top line first.
using HighlightFlags = std::array<int, 18>;
inline std::size_t flagIndex(int column, int position) { return std::size_t(column * 6 + position); }

// The lines of one item (relative, branch, element) and the flags it sets on the items it
// relates to: its stages at the month and the day, then per line from the top the hidden
// spirit, the main line and the changed line of a moving line, each tested against the item.
QStringList itemRelationLines(const chart::ChartState& state, const QString& itemText, HighlightFlags& flags);

}  // namespace analysis
