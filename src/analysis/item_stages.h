#pragma once
// The twelve-palace stages of a report item against the month and the day, as the stage rows
// of the divination data name them.
#include <QStringList>

#include "chart/chart_state.h"
#include "chart/divination_data.h"

namespace analysis {

// The lines the report writes for one item: header and item with the stage at the month, the
// same with the stage at the day, " 得气" when it holds, and for a hidden spirit the stage
// against its flying line, for an item of a moving line the stage against the changed branch.
// position is the line index, top line first.
QStringList DescribeItemStages(const chart::ChartState& state, const chart::DivinationData& data, const QString& header,
                               const QString& itemText, int position);

}  // namespace analysis
