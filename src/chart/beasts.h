#pragma once
#include <QString>

#include "chart/chart_state.h"

namespace chart {

// Group key of a stem character ("甲乙", "丙丁", "戊日", "己日", "庚辛", "壬癸"); empty for none.
QString beastGroupOfStem(QChar stem);
// Writes the beasts of the group of the stem into the main and changed lines (top first).
// Returns false, leaving the beasts unchanged, when the group's row is missing or not six names.
bool attachBeasts(const DivinationData& data, QChar stem, ChartState& state);
// The stem the beast option chooses: year stem from the pillar label, month stem from the
// first slot, day stem from the second slot.
QChar beastStem(const ChartState& state, BeastPillar pillar);

inline const QString kBeastsIncomplete = QStringLiteral("数据库内六兽不全");

}  // namespace chart
