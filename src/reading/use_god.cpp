#include "reading/reading.h"

namespace reading {

QStringList questionTypes() { return {}; }

UseGodReading readUseGod(const chart::ChartState&, const ReadingRequest&) { return {}; }

}  // namespace reading
