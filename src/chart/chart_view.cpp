#include "chart/chart_view.h"

#include "chart/beasts.h"
#include "chart/catalogue.h"

namespace chart {

void toggleChangedView(ChartState& state, ChartView& view) {
    state.clearHighlights();
    view.showingChanged = !view.showingChanged;
}

QStringList toggleInvertedView(ChartState& state, ChartView& view, const BuildContext& context) {
    state.clearHighlights();
    view.inverted = !view.inverted;
    for (ChartLine& line : state.main) line.code = invertedCode(line.code);
    view.showingChanged = false;
    return zhuanggua(state, context);
}

QStringList reattachBeasts(ChartState& state, ChartView& view, const BuildContext& context) {
    view.showingChanged = false;
    if (attachBeasts(context.data, beastStem(state, context.options.beastPillar), state)) return {};
    return {kBeastsIncomplete};
}

}  // namespace chart
