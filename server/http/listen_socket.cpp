#include "http/listen_socket.h"

#include "http/client_address.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace qinglan::caseservice {

namespace {

// The addresses to listen on for host:port (freed with freeaddrinfo), or nullptr with the reason.
addrinfo* resolve(const std::string& host, int port, std::string& error) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_PASSIVE | AI_NUMERICSERV;
    addrinfo* found = nullptr;
    const std::string service = std::to_string(port);
    if (const int rc = getaddrinfo(host.c_str(), service.c_str(), &hints, &found); rc != 0) {
        error = "cannot resolve " + host + ": " + gai_strerror(rc);
        return nullptr;
    }
    return found;
}

}  // namespace

std::optional<bool> isLoopbackHost(const std::string& host, std::string& error) {
    addrinfo* found = resolve(host, 0, error);
    if (!found) return std::nullopt;
    bool loopback = true;
    for (addrinfo* at = found; at; at = at->ai_next) loopback = loopback && isLoopback(at->ai_addr);
    freeaddrinfo(found);
    return loopback;
}

int listenOn(const std::string& host, int port, std::string& error) {
    addrinfo* found = resolve(host, port, error);
    if (!found) return -1;
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

}  // namespace qinglan::caseservice
