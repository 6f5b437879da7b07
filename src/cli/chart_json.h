#pragma once
#include <QJsonObject>

#include "chart/chart_state.h"

namespace cli {

// Every field of the chart as JSON (names documented in the README).
QJsonObject chartToJson(const chart::ChartState& state);

}  // namespace cli
