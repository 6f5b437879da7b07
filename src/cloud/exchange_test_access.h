#pragma once
// For tests only: a shorter time limit, so that the time-out path can be exercised without
// waiting the full limit. It never lengthens the limit.
#include "cloud/http_exchange.h"

namespace cloud {

void shortenTimeLimitForTests(HttpExchange& exchange, std::chrono::milliseconds limit);

}  // namespace cloud
