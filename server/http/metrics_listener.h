// GET /metrics on a listener of its own, for a scraper on this machine: the text comes from a
// function called for each request. Only loopback addresses are served.
#pragma once

#include <functional>
#include <string>

struct MHD_Daemon;

namespace qinglan::caseservice {

class MetricsListener {
public:
    using Text = std::function<std::string()>;

    explicit MetricsListener(Text text) : text_(std::move(text)) {}
    ~MetricsListener();
    MetricsListener(const MetricsListener&) = delete;
    MetricsListener& operator=(const MetricsListener&) = delete;

    // Binds host:port and serves from its own thread: the bound port, or -1 with the reason
    // (a host that is not a loopback address is refused).
    int bind(const std::string& host, int port, std::string& error);

private:
    friend struct MetricsCallbacks;
    Text text_;
    MHD_Daemon* daemon_ = nullptr;
    int socket_ = -1;
};

}  // namespace qinglan::caseservice
