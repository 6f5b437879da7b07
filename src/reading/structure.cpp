#include "reading/reading.h"

namespace reading {

Structure chartStructure(const chart::ChartState&, const Schools&) { return {}; }

}  // namespace reading
