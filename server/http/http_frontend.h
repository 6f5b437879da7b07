// The case service on HTTP (and HTTPS), on GNU libmicrohttpd: every endpoint as a POST at the
// root, the update download at GET qinglan/down.asp. The library reads requests without a
// thread per connection, bounds the memory of a connection's headers, the connections per
// client address and in all, and closes idle ones. The replies are worked out by two pools
// of our own: password checks (login, registration, password change) in one, everything
// else in the other, so a flood of logins never holds up the case requests. A request that
// takes longer than the deadline from its first byte, however slowly it trickles in, is cut off.
#pragma once

#include "http/web_exchange.h"
#include "service/case_service.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <unordered_map>

struct MHD_Daemon;
struct MHD_Connection;

namespace qinglan::caseservice {

class WorkerPool;
struct WebExchange;

// The name of the reply header that carries a new session's token.
inline constexpr const char* kSessionHeader = "X-Qinglan-Session";

struct FrontendSettings {
    int threads = 16;                 // workers for the case requests
    int passwordThreads = 0;          // workers for password checks; 0: one per processor
    std::string updateFile;           // served as filename=g.zip; its signature beside it as g.zip.sig
    unsigned connectionLimit = 1024;  // open connections in all
    unsigned perAddressConnections = 64;
    std::chrono::seconds idleTimeout{10};
    std::chrono::seconds requestDeadline{30};  // first byte of a request to its reply
    std::size_t headerMemory = 32 * 1024;      // request line and headers of one request
    std::size_t queuedRequests = 256;          // per pool; more are answered 503 at once
    std::string tlsCertificate;                // PEM; with tlsKey: HTTPS only
    std::string tlsKey;
    // Behind a reverse proxy on this machine: the client address is the last one in
    // X-Forwarded-For of requests that come from a loopback address.
    bool trustForwardedFor = false;
    // A line on standard error for every request: method, path, status, time.
    bool accessLog = false;
    // Answers the requests under /app/ and /api/ (server/web); without it they are not found.
    WebHandler web;
};

class HttpFrontend {
public:
    HttpFrontend(CaseService& service, FrontendSettings settings);
    ~HttpFrontend();
    HttpFrontend(const HttpFrontend&) = delete;
    HttpFrontend& operator=(const HttpFrontend&) = delete;

    // Binds host:port (port 0: any free port) and starts serving; the bound port, or -1 with
    // the reason in error.
    int bind(const std::string& host, int port, std::string& error);
    // Waits until stop(), then finishes: running requests end (their statements are cut
    // short by the store), queued ones are answered 503, connections are closed.
    bool run();
    void stop();

    struct Exchange;

private:
    struct TrackedConnection {
        int fd = -1;
        std::chrono::steady_clock::time_point since;  // start of the request under way
        bool working = false;                         // suspended while a worker answers it
        bool cut = false;
    };
    friend struct FrontendCallbacks;
    bool request(MHD_Connection* connection, const char* url, const char* method, const char* uploadData,
                 std::size_t* uploadSize, Exchange*& exchange);
    bool answerDownload(MHD_Connection* connection, Exchange& exchange);
    // A request under /app/ or /api/ (web_route.cpp): its first call, and the calls after it.
    bool startWeb(MHD_Connection* connection, const char* method, std::string_view path,
                  std::unique_ptr<WebExchange>& web, unsigned& answered);
    bool continueWeb(MHD_Connection* connection, const char* uploadData, std::size_t* uploadSize, WebExchange& web,
                     unsigned& answered);
    void work(MHD_Connection* connection, Exchange& exchange, bool cancelled);
    std::string clientAddress(MHD_Connection* connection) const;
    void setWorking(MHD_Connection* connection, bool working);
    void cutOverdueRequests();

    CaseService& service_;
    FrontendSettings settings_;
    std::unique_ptr<WorkerPool> passwordPool_;
    std::unique_ptr<WorkerPool> casePool_;
    MHD_Daemon* daemon_ = nullptr;
    int listeningSocket_ = -1;

    std::mutex trackedMutex_;
    std::unordered_map<MHD_Connection*, TrackedConnection> tracked_;

    std::mutex stopMutex_;
    std::condition_variable stopWake_;
    bool stopRequested_ = false;
};

}  // namespace qinglan::caseservice
