#pragma once
#include <QJsonObject>

#include "chart/chart_state.h"

namespace chart {

// Every field of the chart as JSON (names documented in the README): what `qinglan-cli chart --json`
// prints and what the case service's web page draws.
QJsonObject chartToJson(const ChartState& state);

}  // namespace chart
