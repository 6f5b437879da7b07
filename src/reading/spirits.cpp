#include "reading/reading.h"

namespace reading {

QList<Spirit> spiritsOf(const chart::ChartState&, const Schools&) { return {}; }

}  // namespace reading
