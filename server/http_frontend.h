// The case service on HTTP: every endpoint as a POST at the root, the update download at
// GET qinglan/down.asp, bodies over 1 MiB refused, a worker pool of its own size.
#pragma once

#include "case_service.h"

#include <memory>
#include <string>

namespace httplib {
class Server;
}

namespace qinglan::caseservice {

struct FrontendSettings {
    int threads = 48;
    std::string updateFile;   // served as filename=g.zip; its signature beside it as g.zip.sig
};

class HttpFrontend {
public:
    HttpFrontend(CaseService& service, FrontendSettings settings);
    ~HttpFrontend();
    HttpFrontend(const HttpFrontend&) = delete;
    HttpFrontend& operator=(const HttpFrontend&) = delete;

    // Binds host:port (port 0: any free port); the bound port, or -1 when binding failed.
    int bind(const std::string& host, int port);
    // Serves until stop(); false when the listening socket failed.
    bool run();
    void stop();

private:
    CaseService& service_;
    FrontendSettings settings_;
    std::unique_ptr<httplib::Server> server_;
    int listeningSocket_ = -1;
};

}  // namespace qinglan::caseservice
