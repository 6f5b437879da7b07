#pragma once
// Which hexagram the main window has on view, and the whole-hexagram actions that change it.
#include <QStringList>

#include "chart/chart_build.h"

namespace chart {

struct ChartView {
    bool showingChanged = false;  // the changed hexagram is drawn (button reads "显示主卦")
    bool inverted = false;        // the inverted hexagram is on view (label "综" shown)
};

// 显示变卦 / 显示主卦: clears the highlight flags and switches the drawn hexagram.
void toggleChangedView(ChartState& state, ChartView& view);
// 显示综卦 / 显示本卦: clears the highlight flags, inverts every main line keeping its motion
// (clearing its hidden spirit, changed line and mark) and rebuilds the chart.
QStringList toggleInvertedView(ChartState& state, ChartView& view, const BuildContext& context);
// A new beast option: the beasts are attached again and the main hexagram is put on view.
// Returns the message to show when the beast rows are incomplete.
QStringList reattachBeasts(ChartState& state, ChartView& view, const BuildContext& context);

}  // namespace chart
