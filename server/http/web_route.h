// The transport's side of a request under /app/ or /api/: read like any other request (the
// same body limit, deadline and pools), answered by the web handler the program sets.
#pragma once

#include "http/web_exchange.h"

#include <atomic>

namespace qinglan::caseservice {

struct WebExchange {
    WebRequest request;
    WebReply reply;
    bool tooLarge = false;
    bool handedOver = false;
    std::atomic<bool> ready{false};
};

}  // namespace qinglan::caseservice
