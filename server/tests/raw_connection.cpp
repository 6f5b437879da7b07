#include "raw_connection.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <cctype>
#include <cstdlib>
#include <cstring>

namespace qinglan::caseservice::testing {

RawConnection::RawConnection(int port, const std::string& sourceAddress) {
    fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd_ < 0) return;
    sockaddr_in source{};
    source.sin_family = AF_INET;
    inet_pton(AF_INET, sourceAddress.c_str(), &source.sin_addr);
    sockaddr_in target{};
    target.sin_family = AF_INET;
    target.sin_port = htons(static_cast<uint16_t>(port));
    inet_pton(AF_INET, "127.0.0.1", &target.sin_addr);
    if (::bind(fd_, reinterpret_cast<sockaddr*>(&source), sizeof source) != 0 ||
        ::connect(fd_, reinterpret_cast<sockaddr*>(&target), sizeof target) != 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

RawConnection::~RawConnection() {
    if (fd_ >= 0) ::close(fd_);
}

void RawConnection::setSendTimeout(std::chrono::milliseconds timeout) {
    const timeval limit{static_cast<time_t>(timeout.count() / 1000),
                        static_cast<suseconds_t>(timeout.count() % 1000 * 1000)};
    if (fd_ >= 0) setsockopt(fd_, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
}

bool RawConnection::send(const std::string& bytes) {
    std::size_t sent = 0;
    while (fd_ >= 0 && sent < bytes.size()) {
        const auto n = ::send(fd_, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (n <= 0) return false;
        sent += static_cast<std::size_t>(n);
    }
    return fd_ >= 0;
}

bool RawConnection::fill(std::chrono::steady_clock::time_point deadline) {
    if (fd_ < 0 || eof_) return false;
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return true;
    pollfd p{fd_, POLLIN, 0};
    if (::poll(&p, 1, static_cast<int>(left.count())) <= 0) return true;
    char chunk[65536];
    const auto n = ::recv(fd_, chunk, sizeof chunk, 0);
    if (n <= 0) {
        eof_ = true;
        return false;
    }
    buffer_.append(chunk, static_cast<std::size_t>(n));
    return true;
}

std::vector<std::string> RawConnection::responses(std::size_t count, std::chrono::milliseconds within) {
    const auto deadline = std::chrono::steady_clock::now() + within;
    std::vector<std::string> bodies;
    while (bodies.size() < count) {
        const auto headerEnd = buffer_.find("\r\n\r\n");
        if (headerEnd != std::string::npos) {
            std::string headers = buffer_.substr(0, headerEnd);
            for (auto& c : headers) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            const auto at = headers.find("content-length:");
            const std::size_t length =
                at == std::string::npos ? 0 : std::strtoul(headers.c_str() + at + 15, nullptr, 10);
            if (buffer_.size() >= headerEnd + 4 + length) {
                bodies.push_back(buffer_.substr(headerEnd + 4, length));
                buffer_.erase(0, headerEnd + 4 + length);
                continue;
            }
        }
        if (std::chrono::steady_clock::now() >= deadline || !fill(deadline)) break;
    }
    return bodies;
}

bool RawConnection::closedByPeer(std::chrono::milliseconds within) {
    const auto deadline = std::chrono::steady_clock::now() + within;
    while (std::chrono::steady_clock::now() < deadline) {
        if (!fill(deadline)) return true;
        buffer_.clear();
    }
    return eof_;
}

std::string postRequest(const std::string& endpoint, const std::string& body, bool keepAlive) {
    return "POST /" + endpoint + " HTTP/1.1\r\nHost: 127.0.0.1\r\nContent-Type: application/x-www-form-urlencoded\r\n" +
           (keepAlive ? "" : "Connection: close\r\n") + "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n" +
           body;
}

}  // namespace qinglan::caseservice::testing
