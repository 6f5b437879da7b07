#include "reading/reading.h"

namespace reading {

QList<TimingCandidate> timingCandidates(const chart::ChartState&, const UseGod&, const ReadingRequest&) { return {}; }

}  // namespace reading
