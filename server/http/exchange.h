// The transport's record of one request, shared by the front end and the web hand-over.
#pragma once

#include "http/http_frontend.h"
#include "http/web_route.h"

#include <atomic>
#include <chrono>
#include <memory>
#include <string>

namespace qinglan::caseservice {

// One request, from its first call to its completion.
struct HttpFrontend::Exchange {
    std::string endpoint;
    std::string body;
    bool tooLarge = false;
    bool handedOver = false;
    std::atomic<bool> ready{false};
    unsigned status = 200;
    std::string reply;
    std::string sessionToken;
    std::string address;
    std::size_t reserved = 0;  // of the body budget
    bool overBudget = false;
    // For the access log: what was asked, when, by whom, and the status it was answered with (0: none).
    std::string method;
    std::string path;
    std::string client;
    std::chrono::steady_clock::time_point started = std::chrono::steady_clock::now();
    unsigned answered = 0;
    std::unique_ptr<WebExchange> web;  // a request under /app/ or /api/
};

}  // namespace qinglan::caseservice
