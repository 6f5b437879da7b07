#include "http/metrics_listener.h"

#include "http/client_address.h"
#include "http/listen_socket.h"

#include <microhttpd.h>

#include <sys/socket.h>
#include <unistd.h>

#include <cstring>

namespace qinglan::caseservice {

struct MetricsCallbacks {
    static MHD_Result request(void* self, MHD_Connection* connection, const char* url, const char* method,
                              const char* /*version*/, const char* /*uploadData*/, std::size_t* /*uploadSize*/,
                              void** /*context*/) {
        const bool found = std::strcmp(method, MHD_HTTP_METHOD_GET) == 0 && std::strcmp(url, "/metrics") == 0;
        const std::string text = found ? static_cast<MetricsListener*>(self)->text_() : "not found";
        MHD_Response* response =
            MHD_create_response_from_buffer(text.size(), const_cast<char*>(text.data()), MHD_RESPMEM_MUST_COPY);
        if (!response) return MHD_NO;
        MHD_add_response_header(response, MHD_HTTP_HEADER_CONTENT_TYPE,
                                found ? "text/plain; version=0.0.4; charset=utf-8" : "text/plain; charset=utf-8");
        const MHD_Result queued = MHD_queue_response(connection, found ? MHD_HTTP_OK : MHD_HTTP_NOT_FOUND, response);
        MHD_destroy_response(response);
        return queued;
    }
};

MetricsListener::~MetricsListener() {
    if (daemon_) MHD_stop_daemon(daemon_);
    if (socket_ >= 0) ::close(socket_);
}

int MetricsListener::bind(const std::string& host, int port, std::string& error) {
    socket_ = listenOn(host, port, error);
    if (socket_ < 0) return -1;
    sockaddr_storage address{};
    socklen_t length = sizeof address;
    if (getsockname(socket_, reinterpret_cast<sockaddr*>(&address), &length) != 0 ||
        !isLoopback(reinterpret_cast<sockaddr*>(&address))) {
        error = host + " is not a loopback address: the metrics are for this machine only";
        return -1;
    }
    daemon_ = MHD_start_daemon(MHD_USE_INTERNAL_POLLING_THREAD, 0, nullptr, nullptr, &MetricsCallbacks::request, this,
                               MHD_OPTION_LISTEN_SOCKET, socket_, MHD_OPTION_CONNECTION_LIMIT, 16u,
                               MHD_OPTION_CONNECTION_TIMEOUT, 5u, MHD_OPTION_CONNECTION_MEMORY_LIMIT,
                               static_cast<std::size_t>(16 * 1024), MHD_OPTION_END);
    if (!daemon_) {
        error = "the HTTP library could not start";
        return -1;
    }
    return boundPort(socket_);
}

}  // namespace qinglan::caseservice
