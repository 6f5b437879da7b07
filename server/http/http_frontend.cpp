#include "http/http_frontend.h"

#include "http/client_address.h"
#include "http/web_route.h"
#include "http/worker_pool.h"

#include <microhttpd.h>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
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

int listenOn(const std::string& host, int port, std::string& error) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_PASSIVE | AI_NUMERICSERV;
    addrinfo* found = nullptr;
    const std::string service = std::to_string(port);
    if (const int rc = getaddrinfo(host.c_str(), service.c_str(), &hints, &found); rc != 0) {
        error = "cannot resolve " + host + ": " + gai_strerror(rc);
        return -1;
    }
    int fd = -1;
    for (addrinfo* at = found; at && fd < 0; at = at->ai_next) {
        fd = ::socket(at->ai_family, at->ai_socktype | SOCK_CLOEXEC, at->ai_protocol);
        if (fd < 0) continue;
        // Plain SO_REUSEADDR, never SO_REUSEPORT: a second service on the same port must fail
        // to start rather than silently share the connections.
        const int yes = 1;
        setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
        if (::bind(fd, at->ai_addr, at->ai_addrlen) != 0 || ::listen(fd, SOMAXCONN) != 0) {
            error = std::strerror(errno);
            ::close(fd);
            fd = -1;
        }
    }
    freeaddrinfo(found);
    return fd;
}

int boundPort(int fd) {
    sockaddr_storage address{};
    socklen_t length = sizeof address;
    if (getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) return -1;
    if (address.ss_family == AF_INET) return ntohs(reinterpret_cast<sockaddr_in*>(&address)->sin_port);
    return ntohs(reinterpret_cast<sockaddr_in6*>(&address)->sin6_port);
}

}  // namespace

// One request, from its first call to its completion.
struct HttpFrontend::Exchange {
    std::string endpoint;
    std::string body;
    bool tooLarge = false;
    bool handedOver = false;
    std::atomic<bool> ready{false};
    unsigned status = MHD_HTTP_OK;
    std::string reply;
    std::string sessionToken;
    std::string address;
    // For the access log: what was asked, when, and the status it was answered with (0: none).
    std::string method;
    std::string path;
    SteadyClock::time_point started = SteadyClock::now();
    unsigned answered = 0;
    std::unique_ptr<WebExchange> web;  // a request under /app/ or /api/
};

namespace {

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
        delete exchange;
        *context = nullptr;
        std::lock_guard lock(frontend->trackedMutex_);
        const auto found = frontend->tracked_.find(connection);
        if (found != frontend->tracked_.end()) {
            found->second.since = SteadyClock::now();  // the next request's time starts now
            found->second.working = false;
        }
    }
    static void connection(void* self, MHD_Connection* connection, void** /*socketContext*/,
                           enum MHD_ConnectionNotificationCode what) {
        auto* frontend = static_cast<HttpFrontend*>(self);
        std::lock_guard lock(frontend->trackedMutex_);
        if (what == MHD_CONNECTION_NOTIFY_STARTED) {
            const auto* info = MHD_get_connection_info(connection, MHD_CONNECTION_INFO_CONNECTION_FD);
            frontend->tracked_[connection] = {info ? info->connect_fd : -1, SteadyClock::now(), false, false};
        } else {
            // Called before the library closes the socket: from here on the descriptor may be reused.
            frontend->tracked_.erase(connection);
        }
    }
};

HttpFrontend::HttpFrontend(CaseService& service, FrontendSettings settings)
    : service_(service), settings_(std::move(settings)) {
    const int processors = std::max(1u, std::thread::hardware_concurrency());
    const int passwordThreads = settings_.passwordThreads > 0 ? settings_.passwordThreads : processors;
    passwordPool_ = std::make_unique<WorkerPool>(static_cast<std::size_t>(passwordThreads), settings_.queuedRequests);
    casePool_ = std::make_unique<WorkerPool>(static_cast<std::size_t>(std::max(1, settings_.threads)),
                                             settings_.queuedRequests);
}

HttpFrontend::~HttpFrontend() {
    passwordPool_->stop();
    casePool_->stop();
    if (daemon_) MHD_stop_daemon(daemon_);
    if (listeningSocket_ >= 0) ::close(listeningSocket_);
}

int HttpFrontend::bind(const std::string& host, int port, std::string& error) {
    listeningSocket_ = listenOn(host, port, error);
    if (listeningSocket_ < 0) return -1;
    const int bound = boundPort(listeningSocket_);
    unsigned flags = MHD_USE_INTERNAL_POLLING_THREAD | MHD_USE_EPOLL | MHD_ALLOW_SUSPEND_RESUME;
    const bool tls = !settings_.tlsCertificate.empty() && !settings_.tlsKey.empty();
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
        options.push_back({MHD_OPTION_HTTPS_MEM_CERT, 0, const_cast<char*>(settings_.tlsCertificate.c_str())});
        options.push_back({MHD_OPTION_HTTPS_MEM_KEY, 0, const_cast<char*>(settings_.tlsKey.c_str())});
    }
    options.push_back({MHD_OPTION_END, 0, nullptr});
    daemon_ = MHD_start_daemon(flags, 0, nullptr, nullptr, &FrontendCallbacks::request, this, MHD_OPTION_ARRAY,
                               options.data(), MHD_OPTION_END);
    if (!daemon_) {
        error = tls ? "the HTTP library could not start (is the TLS certificate or key unusable?)"
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
        cutOverdueRequests();
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

void HttpFrontend::cutOverdueRequests() {
    const auto now = SteadyClock::now();
    std::lock_guard lock(trackedMutex_);
    for (auto& [connection, tracked] : tracked_) {
        if (tracked.working || tracked.cut || tracked.fd < 0 || now - tracked.since < settings_.requestDeadline)
            continue;
        // The library closes the connection when its socket fails; the descriptor is still
        // its own here, since a closed connection has already left the table.
        ::shutdown(tracked.fd, SHUT_RDWR);
        tracked.cut = true;
    }
}

void HttpFrontend::setWorking(MHD_Connection* connection, bool working) {
    std::lock_guard lock(trackedMutex_);
    const auto found = tracked_.find(connection);
    if (found != tracked_.end()) found->second.working = working;
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
        const std::string_view path(url);
        exchange->method = loggable(method);
        exchange->path = loggable(path);
        if (settings_.web && isWebPath(path)) return startWeb(connection, method, path, exchange->web, exchange->answered);
        if (std::strcmp(method, MHD_HTTP_METHOD_GET) == 0 && path == "/qinglan/down.asp")
            return answerDownload(connection, *exchange);
        if (std::strcmp(method, MHD_HTTP_METHOD_POST) == 0 && path.starts_with('/')) {
            for (const auto endpoint : endpointNames())
                if (endpoint == path.substr(1)) exchange->endpoint = std::string(endpoint);
        }
        if (exchange->endpoint.empty()) return answerText(connection, *exchange, MHD_HTTP_NOT_FOUND, "not found");
        const char* length = MHD_lookup_connection_value(connection, MHD_HEADER_KIND, MHD_HTTP_HEADER_CONTENT_LENGTH);
        if (length && std::strtoull(length, nullptr, 10) > kMaxBodyBytes)
            return answerText(connection, *exchange, MHD_HTTP_CONTENT_TOO_LARGE, "request too large");
        return true;
    }
    if (exchange->web) return continueWeb(connection, uploadData, uploadSize, *exchange->web, exchange->answered);
    if (*uploadSize > 0) {
        // Past the limit the rest is read and dropped (the request deadline bounds how long).
        if (exchange->body.size() + *uploadSize > kMaxBodyBytes)
            exchange->tooLarge = true;
        else
            exchange->body.append(uploadData, *uploadSize);
        *uploadSize = 0;
        return true;
    }
    if (exchange->tooLarge) return answerText(connection, *exchange, MHD_HTTP_CONTENT_TOO_LARGE, "request too large");
    if (exchange->ready)
        return answerText(connection, *exchange, exchange->status, exchange->reply, exchange->sessionToken);
    if (exchange->handedOver) return true;

    exchange->handedOver = true;
    exchange->address = clientAddress(connection);
    setWorking(connection, true);
    MHD_suspend_connection(connection);
    auto& pool = checksPasswords(exchange->endpoint) ? *passwordPool_ : *casePool_;
    Exchange* handed = exchange;
    if (!pool.submit([this, connection, handed](bool cancelled) { work(connection, *handed, cancelled); }))
        work(connection, *handed, true);
    return true;
}

void HttpFrontend::work(MHD_Connection* connection, Exchange& exchange, bool cancelled) {
    if (cancelled) {
        exchange.status = MHD_HTTP_SERVICE_UNAVAILABLE;
        exchange.reply = "busy, try again later";
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
    exchange.body.clear();
    exchange.body.shrink_to_fit();
    exchange.ready = true;
    MHD_resume_connection(connection);
}

}  // namespace qinglan::caseservice
