#pragma once
#include "chart/chart_state.h"

namespace chart {

// Finds a hidden spirit (伏神) for every relative missing from the main lines among the
// hexagrams of the main hexagram's palace: fills hiddenSpirit of the main lines, the source
// name and stem pair 1.
void attachHiddenSpirits(const DivinationData& data, QChar mainPalaceElement, ChartState& state);

}  // namespace chart
