#include "http_frontend.h"

#include <httplib.h>

#include <sys/socket.h>

#include <fstream>
#include <iostream>
#include <sstream>

namespace qinglan::caseservice {

namespace {

constexpr const char* kTextType = "text/plain; charset=utf-8";

bool readWholeFile(const std::string& path, std::string& out) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream buffer;
    buffer << in.rdbuf();
    out = std::move(buffer).str();
    return true;
}

}  // namespace

HttpFrontend::HttpFrontend(CaseService& service, FrontendSettings settings)
    : service_(service), settings_(std::move(settings)), server_(std::make_unique<httplib::Server>()) {
    auto& server = *server_;
    const int threads = settings_.threads;
    server.new_task_queue = [threads] { return new httplib::ThreadPool(static_cast<std::size_t>(threads)); };
    server.set_payload_max_length(kMaxBodyBytes);
    server.set_keep_alive_max_count(1000);
    // Replies are small and written in pieces: without this, delayed acknowledgements
    // hold many of them back by tens of milliseconds.
    server.set_tcp_nodelay(true);
    // Plain SO_REUSEADDR: the library's default SO_REUSEPORT would let a second service
    // on the same port silently share its connections instead of failing to start.
    server.set_socket_options([this](int socket) {
        const int yes = 1;
        setsockopt(socket, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
        listeningSocket_ = socket;
    });
    server.set_read_timeout(15, 0);

    for (const auto endpoint : endpointNames()) {
        // Read through a content reader: the library's own body reading caps form posts
        // at 8 KiB, far below the judgment texts the client sends.
        server.Post("/" + std::string(endpoint), [this, endpoint](const httplib::Request& request,
                                                                  httplib::Response& response,
                                                                  const httplib::ContentReader& reader) {
            std::string body;
            const bool complete = reader([&body](const char* data, std::size_t length) {
                body.append(data, length);
                return body.size() <= kMaxBodyBytes;
            });
            if (!complete || body.size() > kMaxBodyBytes) {
                response.status = 413;
                response.set_content("request too large", kTextType);
                return;
            }
            try {
                response.set_content(service_.reply(endpoint, body), kTextType);
            } catch (const std::exception& error) {
                // A store failure (disk full, database locked past the busy timeout) is
                // answered as a failure, so the client never takes it for a success.
                std::cerr << "qinglan-caseservice: " << request.path << ": " << error.what() << '\n';
                response.status = 500;
                response.set_content("server error", kTextType);
            }
        });
    }
    server.Get("/qinglan/down.asp", [this](const httplib::Request& request, httplib::Response& response) {
        const std::string filename = request.get_param_value("filename");
        std::string path;
        if (filename == "g.zip")
            path = settings_.updateFile;
        else if (filename == "g.zip.sig" && !settings_.updateFile.empty())
            path = settings_.updateFile + ".sig";
        std::string bytes;
        if (path.empty() || !readWholeFile(path, bytes)) {
            response.status = 404;
            response.set_content("not found", kTextType);
            return;
        }
        response.set_content(std::move(bytes), "application/octet-stream");
    });
}

HttpFrontend::~HttpFrontend() = default;

int HttpFrontend::bind(const std::string& host, int port) {
    const int bound = port == 0 ? server_->bind_to_any_port(host) : (server_->bind_to_port(host, port) ? port : -1);
    // The library listens with a backlog of 5, so a burst of new connections loses SYNs and
    // waits a second for the retry; listening again only enlarges the queue.
    if (bound > 0 && listeningSocket_ >= 0) ::listen(listeningSocket_, SOMAXCONN);
    return bound;
}

bool HttpFrontend::run() { return server_->listen_after_bind(); }

void HttpFrontend::stop() { server_->stop(); }

}  // namespace qinglan::caseservice
