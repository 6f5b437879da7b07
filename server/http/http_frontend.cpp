#include "http/http_frontend.h"

#include "audit/audit_log.h"
#include "http/client_address.h"
#include "http/exchange.h"
#include "http/listen_socket.h"
#include "http/web_route.h"
#include "http/worker_pool.h"

#include <microhttpd.h>

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <iostream>
#include <stdexcept>

namespace qinglan::caseservice {

namespace {

constexpr const char* kTextType = "text/plain; charset=utf-8";

using SteadyClock = std::chrono::steady_clock;

bool queueText(MHD_Connection* connection, unsigned status, const std::string& text,
               const std::string& sessionToken = {}) {
    MHD_Response* response =
        MHD_create_response_from_buffer(text.size(), const_cast<char*>(text.data()), MHD_RESPMEM_MUST_COPY);
    if (!response) return false;
    MHD_add_response_header(response, MHD_HTTP_HEADER_CONTENT_TYPE, kTextType);
    if (!sessionToken.empty()) MHD_add_response_header(response, kSessionHeader, sessionToken.c_str());
    const MHD_Result queued = MHD_queue_response(connection, status, response);
    MHD_destroy_response(response);
    return queued == MHD_YES;
}

// Queues a text reply and notes its status for the access log.
bool answerText(MHD_Connection* connection, HttpFrontend::Exchange& exchange, unsigned status, const std::string& text,
                const std::string& sessionToken = {}) {
    exchange.answered = status;
    return queueText(connection, status, text, sessionToken);
}

// A request's method or path as the log shows it: printable ASCII only, at most 200 characters,
// so a request cannot forge or flood log lines.
std::string loggable(std::string_view text) {
    std::string out;
    for (const char c : text.substr(0, 200)) out += c > ' ' && c < 0x7f ? c : '?';
    if (text.size() > 200) out += "...";
    return out;
}

// One line per request: method, path (never the query or the body, which carry passwords and
// case texts), status, and the time from its first byte to its end.
void logAccess(const HttpFrontend::Exchange& exchange, MHD_RequestTerminationCode why) {
    const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(SteadyClock::now() - exchange.started);
    std::string line = "qinglan-caseservice: " + exchange.method + " " + exchange.path + " ";
    line += exchange.answered ? std::to_string(exchange.answered) : std::string("-");
    line += " " + std::to_string(elapsed.count()) + " ms";
    if (why != MHD_REQUEST_TERMINATED_COMPLETED_OK) line += " (connection ended early)";
    if (!exchange.client.empty()) line += " client=" + exchange.client;
    line += '\n';
    std::fwrite(line.data(), 1, line.size(), stderr);  // one write: lines of parallel requests never mix
}

}  // namespace

struct FrontendCallbacks {
    static MHD_Result request(void* self, MHD_Connection* connection, const char* url, const char* method,
                              const char* /*version*/, const char* uploadData, std::size_t* uploadSize,
                              void** context) {
        auto*& exchange = *reinterpret_cast<HttpFrontend::Exchange**>(context);
        return static_cast<HttpFrontend*>(self)->request(connection, url, method, uploadData, uploadSize, exchange)
                   ? MHD_YES
                   : MHD_NO;
    }
    static void completed(void* self, MHD_Connection* connection, void** context, enum MHD_RequestTerminationCode why) {
        auto* frontend = static_cast<HttpFrontend*>(self);
        auto* exchange = *reinterpret_cast<HttpFrontend::Exchange**>(context);
        if (exchange && frontend->settings_.accessLog) logAccess(*exchange, why);
        if (exchange) frontend->freeBody(*exchange);
        delete exchange;
        *context = nullptr;
        frontend->admission_.requestDone(connection);
    }
    // The network a peer is counted in, and whether the cap per network applies to it.
    static std::pair<std::string, bool> networkOfPeer(const HttpFrontend& frontend, const sockaddr* peer) {
        return {networkOf(addressKey(peer)), !(frontend.settings_.trustForwardedFor && isLoopback(peer))};
    }
    static MHD_Result accept(void* self, const sockaddr* peer, socklen_t /*length*/) {
        auto* frontend = static_cast<HttpFrontend*>(self);
        const auto [network, capped] = networkOfPeer(*frontend, peer);
        return frontend->admission_.mayOpen(network, capped) ? MHD_YES : MHD_NO;
    }
    static void connection(void* self, MHD_Connection* connection, void** /*socketContext*/,
                           enum MHD_ConnectionNotificationCode what) {
        auto* frontend = static_cast<HttpFrontend*>(self);
        if (what != MHD_CONNECTION_NOTIFY_STARTED) {
            // Called before the library closes the socket: from here on the descriptor may be reused.
            frontend->admission_.closed(connection);
            return;
        }
        const auto* fd = MHD_get_connection_info(connection, MHD_CONNECTION_INFO_CONNECTION_FD);
        const auto* peer = MHD_get_connection_info(connection, MHD_CONNECTION_INFO_CLIENT_ADDRESS);
        const auto [network, capped] = networkOfPeer(*frontend, peer ? peer->client_addr : nullptr);
        frontend->admission_.opened(connection, fd ? fd->connect_fd : -1, network, capped);
    }
};

namespace {

AdmissionLimits admissionLimits(const FrontendSettings& settings) {
    return {settings.unfinishedPerNetwork, settings.unfinishedConnections, settings.headDeadline,
            settings.requestDeadline};
}

}  // namespace

HttpFrontend::HttpFrontend(CaseService& service, FrontendSettings settings)
    : service_(service),
      settings_(std::move(settings)),
      admission_(admissionLimits(settings_)),
      bodies_(settings_.bodyBudget) {
    const int processors = std::max(1u, std::thread::hardware_concurrency());
    const int passwordThreads = settings_.passwordThreads > 0 ? settings_.passwordThreads : processors;
    passwordPool_ = std::make_unique<WorkerPool>(static_cast<std::size_t>(passwordThreads), settings_.queuedRequests,
                                                 settings_.queuedPasswordChecksPerNetwork);
    casePool_ = std::make_unique<WorkerPool>(static_cast<std::size_t>(std::max(1, settings_.threads)),
                                             settings_.queuedRequests);
}

HttpFrontend::~HttpFrontend() {
    passwordPool_->stop();
    casePool_->stop();
    if (daemon_) MHD_stop_daemon(daemon_);
    if (settings_.tls && listeningSocket_ >= 0) settings_.tls->stopServing(listeningSocket_);
    if (listeningSocket_ >= 0) ::close(listeningSocket_);
}

int HttpFrontend::bind(const std::string& host, int port, std::string& error) {
    listeningSocket_ = listenOn(host, port, error);
    if (listeningSocket_ < 0) return -1;
    const int bound = boundPort(listeningSocket_);
    const bool tls = settings_.tls != nullptr;
    if (!tls) {
        sockaddr_storage address{};
        socklen_t length = sizeof address;
        const bool loopback = getsockname(listeningSocket_, reinterpret_cast<sockaddr*>(&address), &length) == 0 &&
                              isLoopback(reinterpret_cast<const sockaddr*>(&address));
        if (!loopback && !settings_.plainHttpBeyondLoopback) {
            error = kPlainHttpBeyondLoopback;
            ::close(listeningSocket_);
            listeningSocket_ = -1;
            return -1;
        }
        if (!loopback)
            std::cerr << "qinglan-caseservice: warning: plain HTTP beyond this machine (--insecure-http): "
                         "passwords and session tokens cross the network readable\n";
    }
    unsigned flags = MHD_USE_INTERNAL_POLLING_THREAD | MHD_USE_EPOLL | MHD_ALLOW_SUSPEND_RESUME;
    if (tls) flags |= MHD_USE_TLS;
    std::vector<MHD_OptionItem> options = {
        {MHD_OPTION_LISTEN_SOCKET, listeningSocket_, nullptr},
        {MHD_OPTION_CONNECTION_LIMIT, settings_.connectionLimit, nullptr},
        {MHD_OPTION_PER_IP_CONNECTION_LIMIT, settings_.perAddressConnections, nullptr},
        {MHD_OPTION_CONNECTION_TIMEOUT, static_cast<intptr_t>(settings_.idleTimeout.count()), nullptr},
        {MHD_OPTION_CONNECTION_MEMORY_LIMIT, static_cast<intptr_t>(settings_.headerMemory), nullptr},
        {MHD_OPTION_THREAD_POOL_SIZE, 2, nullptr},
        {MHD_OPTION_NOTIFY_COMPLETED, reinterpret_cast<intptr_t>(&FrontendCallbacks::completed), this},
        {MHD_OPTION_NOTIFY_CONNECTION, reinterpret_cast<intptr_t>(&FrontendCallbacks::connection), this},
    };
    if (tls) {
        // Each handshake asks the credentials for the pair in use, so that a reload reaches new connections.
        settings_.tls->serveOn(listeningSocket_);
        options.push_back({MHD_OPTION_HTTPS_CERT_CALLBACK2, 0, TlsCredentials::handshakeCallback()});
        options.push_back({MHD_OPTION_HTTPS_PRIORITIES, 0, const_cast<char*>(settings_.tlsPriorities.c_str())});
    }
    options.push_back({MHD_OPTION_END, 0, nullptr});
    daemon_ = MHD_start_daemon(flags, 0, &FrontendCallbacks::accept, this, &FrontendCallbacks::request, this,
                               MHD_OPTION_ARRAY, options.data(), MHD_OPTION_END);
    if (!daemon_) {
        if (tls) settings_.tls->stopServing(listeningSocket_);
        error = tls ? "the HTTP library could not start (are the TLS priorities usable?)"
                    : "the HTTP library could not start";
        return -1;
    }
    return bound;
}

bool HttpFrontend::run() {
    std::unique_lock lock(stopMutex_);
    while (!stopRequested_) {
        stopWake_.wait_for(lock, std::chrono::seconds(1), [this] { return stopRequested_; });
        lock.unlock();
        tick();
        lock.lock();
    }
    lock.unlock();
    // Stop taking connections, let the workers finish (the store has cut their statements
    // short), answer what is still queued, then close everything.
    if (daemon_) MHD_quiesce_daemon(daemon_);
    passwordPool_->stop();
    casePool_->stop();
    if (daemon_) {
        MHD_stop_daemon(daemon_);
        daemon_ = nullptr;
    }
    return true;
}

void HttpFrontend::stop() {
    {
        std::lock_guard lock(stopMutex_);
        stopRequested_ = true;
    }
    stopWake_.notify_all();
}

void HttpFrontend::tick() {
    admission_.cutOverdue();
    // Each connection may hold its buffers of request head memory too.
    const std::size_t buffers = admission_.openCount() * settings_.headerMemory;
    memoryReturn_.tick(bodies_.takePeak() + buffers, bodies_.inFlight() + buffers);
}

std::string HttpFrontend::metrics() const {
    std::string gauges;
    const auto gauge = [&gauges](const char* name, const char* help, std::size_t value) {
        gauges += std::string("# HELP ") + name + ' ' + help + "\n# TYPE " + name + " gauge\n" + name + ' ' +
                  std::to_string(value) + '\n';
    };
    gauge("qinglan_caseservice_connections_open", "Connections open now.", admission_.openCount());
    gauge("qinglan_caseservice_connections_unfinished", "Connections still sending their request.",
          admission_.unfinishedCount());
    gauge("qinglan_caseservice_body_bytes_in_flight", "Bytes of request bodies held or reserved now.",
          bodies_.inFlight());
    return metricsText(gauges);
}

std::string HttpFrontend::clientAddress(MHD_Connection* connection) const {
    const auto* info = MHD_get_connection_info(connection, MHD_CONNECTION_INFO_CLIENT_ADDRESS);
    const sockaddr* peer = info ? info->client_addr : nullptr;
    if (settings_.trustForwardedFor && isLoopback(peer)) {
        if (const char* forwarded = MHD_lookup_connection_value(connection, MHD_HEADER_KIND, "X-Forwarded-For"))
            if (auto address = forwardedAddress(forwarded)) return *address;
    }
    return addressKey(peer);
}

bool HttpFrontend::answerDownload(MHD_Connection* connection, Exchange& exchange) {
    const char* filename = MHD_lookup_connection_value(connection, MHD_GET_ARGUMENT_KIND, "filename");
    std::string path;
    if (filename && std::strcmp(filename, "g.zip") == 0)
        path = settings_.updateFile;
    else if (filename && std::strcmp(filename, "g.zip.sig") == 0 && !settings_.updateFile.empty())
        path = settings_.updateFile + ".sig";
    const int fd = path.empty() ? -1 : ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat info {};
    if (fd < 0 || ::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        if (fd >= 0) ::close(fd);
        return answerText(connection, exchange, MHD_HTTP_NOT_FOUND, "not found");
    }
    // Sent from the file as it goes, never read whole into memory.
    MHD_Response* response = MHD_create_response_from_fd(static_cast<std::uint64_t>(info.st_size), fd);
    if (!response) {
        ::close(fd);
        return false;
    }
    MHD_add_response_header(response, MHD_HTTP_HEADER_CONTENT_TYPE, "application/octet-stream");
    exchange.answered = MHD_HTTP_OK;
    const MHD_Result queued = MHD_queue_response(connection, MHD_HTTP_OK, response);
    MHD_destroy_response(response);
    return queued == MHD_YES;
}

bool HttpFrontend::request(MHD_Connection* connection, const char* url, const char* method, const char* uploadData,
                           std::size_t* uploadSize, Exchange*& exchange) {
    if (!exchange) {
        exchange = new Exchange;
        admission_.headComplete(connection);
        const bool queued = startRequest(connection, url, method, *exchange);
        if (exchange->answered) admission_.answering(connection);
        return queued;
    }
    if (*uploadSize > 0) {
        takeBody(connection, uploadData, *uploadSize, *exchange);
        *uploadSize = 0;
        return true;
    }
    admission_.answering(connection);
    if (exchange->web) return continueWeb(connection, *exchange);
    if (exchange->tooLarge) return answerText(connection, *exchange, MHD_HTTP_CONTENT_TOO_LARGE, "request too large");
    if (exchange->overBudget) return answerText(connection, *exchange, MHD_HTTP_SERVICE_UNAVAILABLE, kBusy);
    if (exchange->ready)
        return answerText(connection, *exchange, exchange->status, exchange->reply, exchange->sessionToken);
    if (exchange->handedOver) return true;

    exchange->handedOver = true;
    exchange->address = clientAddress(connection);
    MHD_suspend_connection(connection);
    Exchange* handed = exchange;
    WorkerPool::Job job = [this, connection, handed](bool cancelled) { work(connection, *handed, cancelled); };
    if (!checksPasswords(exchange->endpoint)) {
        if (!casePool_->submit(std::move(job))) work(connection, *handed, true);
    } else if (const auto refused = passwordPool_->submitFairly(networkOf(exchange->address), std::move(job));
               !refused.empty()) {
        recordAuditEvent(AuditEvent::PasswordQueueFull, refused);
    }
    return true;
}

// The first call, once the request line and headers are in.
bool HttpFrontend::startRequest(MHD_Connection* connection, const char* url, const char* method, Exchange& exchange) {
    const std::string_view path(url);
    exchange.method = loggable(method);
    exchange.path = loggable(path);
    if (settings_.logClientAddress) exchange.client = clientAddress(connection);
    if (settings_.web && isWebPath(path)) return startWeb(connection, method, path, exchange);
    if (std::strcmp(method, MHD_HTTP_METHOD_GET) == 0 && path == "/qinglan/down.asp")
        return answerDownload(connection, exchange);
    if (std::strcmp(method, MHD_HTTP_METHOD_POST) == 0 && path.starts_with('/')) {
        for (const auto endpoint : endpointNames())
            if (endpoint == path.substr(1)) exchange.endpoint = std::string(endpoint);
    }
    if (exchange.endpoint.empty()) return answerText(connection, exchange, MHD_HTTP_NOT_FOUND, "not found");
    const char* length = MHD_lookup_connection_value(connection, MHD_HEADER_KIND, MHD_HTTP_HEADER_CONTENT_LENGTH);
    const auto declared = length ? std::strtoull(length, nullptr, 10) : 0;
    if (declared > kMaxBodyBytes)
        return answerText(connection, exchange, MHD_HTTP_CONTENT_TOO_LARGE, "request too large");
    // The whole declared body is reserved before any of it is read: refused now, it costs nothing.
    if (declared > 0 && !reserveBody(connection, exchange, declared))
        return answerText(connection, exchange, MHD_HTTP_SERVICE_UNAVAILABLE, kBusy);
    exchange.body.reserve(declared);
    return true;
}

void HttpFrontend::takeBody(MHD_Connection* connection, const char* data, std::size_t size, Exchange& exchange) {
    if (exchange.tooLarge || exchange.overBudget)
        return;  // the rest is read and dropped (the deadline bounds how long)
    const std::size_t needed = exchange.body.size() + size;
    exchange.tooLarge = needed > kMaxBodyBytes;
    exchange.overBudget = !exchange.tooLarge && needed > exchange.reserved &&
                          !reserveBody(connection, exchange, needed - exchange.reserved);
    if (exchange.tooLarge || exchange.overBudget)
        freeBody(exchange);
    else
        exchange.body.append(data, size);
}

bool HttpFrontend::reserveBody(MHD_Connection* connection, Exchange& exchange, std::size_t bytes) {
    if (bodies_.reserve(bytes)) {
        exchange.reserved += bytes;
        return true;
    }
    recordAuditEvent(AuditEvent::BodyBudgetRefused, networkOf(clientAddress(connection)));
    return false;
}

void HttpFrontend::freeBody(Exchange& exchange) {
    exchange.body.clear();
    exchange.body.shrink_to_fit();
    bodies_.release(exchange.reserved);
    exchange.reserved = 0;
}

void HttpFrontend::work(MHD_Connection* connection, Exchange& exchange, bool cancelled) {
    if (cancelled) {
        exchange.status = MHD_HTTP_SERVICE_UNAVAILABLE;
        exchange.reply = kBusy;
    } else {
        try {
            auto answer = service_.reply(exchange.endpoint, exchange.body, exchange.address);
            exchange.reply = std::move(answer.body);
            exchange.sessionToken = std::move(answer.sessionToken);
        } catch (const std::exception& error) {
            // A store failure (disk full, database missing, a statement past its time) is
            // answered as a failure, so the client never takes it for a success.
            std::cerr << "qinglan-caseservice: /" << exchange.endpoint << ": " << error.what() << '\n';
            exchange.status = MHD_HTTP_INTERNAL_SERVER_ERROR;
            exchange.reply = "server error";
            exchange.sessionToken.clear();
        }
    }
    freeBody(exchange);
    exchange.ready = true;
    MHD_resume_connection(connection);
}

}  // namespace qinglan::caseservice
