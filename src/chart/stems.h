#pragma once
// Stems of a hexagram under both arrangement methods, and the palace element of a chart.
#include <QString>

#include "chart/chart_state.h"

namespace chart {

// 京房式 stem pair: outer (upper trigram) stem, then inner stem; two blanks for an unknown name.
QString jingfangStems(const QString& name);
// 藏山卜: six stems, top line first; "此卦名称不对" for a name of two characters or fewer.
QString zangshanStems(const QString& name);
// Stores the pair of a hexagram into stem pair 1 (hidden-spirit source), 2 (main) or 3 (changed).
void storeStemPair(ChartState& state, const QString& name, int pair);

// Palace element of the main hexagram: the fourth character of its palace description under
// 京房式; under 藏山卜 derived from the laid-out main lines. Blank when none.
QChar palaceElement(const ChartState& state, const QString& mainDescription);
QChar zangshanPalaceElement(const Hexagram& mainLines);

}  // namespace chart
