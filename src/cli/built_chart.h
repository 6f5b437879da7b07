#pragma once
// The steps every chart command shares: open the database of the data root, enter the case
// number as the entry box does and choose the strength basis after the build.
#include <memory>
#include <optional>
#include <ostream>

#include "chart/chart_state.h"
#include "cli/chart_invocation.h"
#include "store/database.h"
#include "store/sqlite_divination_data.h"

namespace cli {

struct BuiltChart {
    std::unique_ptr<store::Database> db;
    std::unique_ptr<store::SqliteDivinationData> data;
    chart::ChartState state;
};

// Builds the chart of call.text. On failure writes one line on err (prefixed by the command
// name where it is ours) and returns the exit status: 1 for the database, 2 for the text.
// The build's own messages go to err as well.
std::optional<int> buildChart(const ChartInvocation& call, const char* command, BuiltChart& out, std::ostream& err);

}  // namespace cli
