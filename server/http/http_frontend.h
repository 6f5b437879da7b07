// The case service on HTTP (and HTTPS), on GNU libmicrohttpd: every endpoint as a POST at the
// root, the update download at GET qinglan/down.asp. The library reads requests without a
// thread per connection, bounds the memory of a connection's headers, the connections per
// client address and in all, and closes idle ones; admission (admission.h) caps the connections
// still sending their request and the memory their bodies hold (body_budget.h). The replies
// are worked out by two pools of our own: password checks (login, registration, password
// change) in one, everything else in the other, so a flood of logins never holds up the case
// requests. Password checks wait in a line per client network, taken in turn, so a flood from
// many networks never holds up a login from another. A request that takes longer than the
// deadline from its first byte, however slowly it trickles in, is cut off.
#pragma once

#include "http/admission.h"
#include "http/body_budget.h"
#include "http/tls_credentials.h"
#include "http/web_exchange.h"
#include "service/case_service.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

struct MHD_Daemon;
struct MHD_Connection;

namespace qinglan::caseservice {

class WorkerPool;
struct WebExchange;

// The answer of a request refused for want of a worker or of room for its body.
inline constexpr const char* kBusy = "busy, try again later";

// Why plain HTTP is refused on an address other than loopback without --insecure-http.
inline constexpr const char* kPlainHttpBeyondLoopback =
    "plain HTTP on an address other than loopback would carry passwords and session tokens readable "
    "on the network; serve HTTPS (--tls-cert and --tls-key), listen on 127.0.0.1 behind a proxy "
    "that ends TLS, or accept the risk with --insecure-http";

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
    std::chrono::seconds headDeadline{5};      // opening (or the previous request's end) to a complete head
    unsigned unfinishedPerNetwork = 32;        // connections still sending a request, per network
    unsigned unfinishedConnections = 512;      // the same in all; the other connections are kept for answers
    std::size_t bodyBudget = 64u << 20;        // request bodies in flight, in bytes; more are answered 503
    std::size_t headerMemory = 32 * 1024;      // request line and headers of one request
    std::size_t queuedRequests = 256;          // per pool; more are answered 503 at once
    std::shared_ptr<TlsCredentials> tls;       // when set: HTTPS only
    std::string tlsPriorities = kDefaultTlsPriorities;
    // Plain HTTP on an address other than loopback; refused by bind() unless set.
    bool plainHttpBeyondLoopback = false;
    // Behind a reverse proxy on this machine: the client address is the last one in
    // X-Forwarded-For of requests that come from a loopback address.
    bool trustForwardedFor = false;
    // A line on standard error for every request: method, path, status, time.
    bool accessLog = false;
    // Password checks waiting from one /24 (IPv4) or /64 (IPv6) network; the networks' lines
    // are taken in turn.
    std::size_t queuedPasswordChecksPerNetwork = 16;
    bool logClientAddress = false;  // the client's address in that line too
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
    // the reason in error (plain HTTP beyond loopback without plainHttpBeyondLoopback, too).
    int bind(const std::string& host, int port, std::string& error);
    // Waits until stop(), then finishes: running requests end (their statements are cut
    // short by the store), queued ones are answered 503, connections are closed.
    bool run();
    void stop();
    // The transport's gauges after the audit counters, in the Prometheus text format.
    std::string metrics() const;

    struct Exchange;

private:
    friend struct FrontendCallbacks;
    bool request(MHD_Connection* connection, const char* url, const char* method, const char* uploadData,
                 std::size_t* uploadSize, Exchange*& exchange);
    bool answerDownload(MHD_Connection* connection, Exchange& exchange);
    // A request under /app/ or /api/ (web_route.cpp): its first call, and the calls after it.
    bool startWeb(MHD_Connection* connection, const char* method, std::string_view path, Exchange& exchange);
    bool continueWeb(MHD_Connection* connection, Exchange& exchange);
    void work(MHD_Connection* connection, Exchange& exchange, bool cancelled);
    bool startRequest(MHD_Connection* connection, const char* url, const char* method, Exchange& exchange);
    void takeBody(MHD_Connection* connection, const char* data, std::size_t size, Exchange& exchange);
    bool reserveBody(MHD_Connection* connection, Exchange& exchange, std::size_t bytes);
    void freeBody(Exchange& exchange);
    std::string clientAddress(MHD_Connection* connection) const;
    void tick();

    CaseService& service_;
    FrontendSettings settings_;
    std::unique_ptr<WorkerPool> passwordPool_;
    std::unique_ptr<WorkerPool> casePool_;
    MHD_Daemon* daemon_ = nullptr;
    int listeningSocket_ = -1;

    Admission admission_;
    BodyBudget bodies_;
    MemoryReturn memoryReturn_;

    std::mutex stopMutex_;
    std::condition_variable stopWake_;
    bool stopRequested_ = false;
};

}  // namespace qinglan::caseservice
