#pragma once
#include <QString>

#include "chart/chart_state.h"

namespace chart {

// Ordinal (序数) and direction (方位) of a trigram character (乾 .. 坤, 中) under 先天 or 后天;
// 0 and empty for any other character.
int trigramOrdinal(QChar trigram, TrigramBasis basis);
QString trigramDirection(QChar trigram, TrigramBasis basis);

}  // namespace chart
