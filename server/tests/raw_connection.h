// A bare TCP connection to the service on 127.0.0.1, from a chosen loopback source address
// (127.0.0.2, 127.0.0.3, ... stand for different clients), for traffic an HTTP library
// would never send: trickled headers, floods of headers, pipelined requests.
#pragma once

#include <chrono>
#include <string>
#include <vector>

namespace qinglan::caseservice::testing {

class RawConnection {
public:
    RawConnection(int port, const std::string& sourceAddress = "127.0.0.1");
    ~RawConnection();
    RawConnection(const RawConnection&) = delete;
    RawConnection& operator=(const RawConnection&) = delete;

    bool connected() const { return fd_ >= 0; }
    int descriptor() const { return fd_; }
    // A send that cannot go on for this long fails instead of waiting for the peer to read.
    void setSendTimeout(std::chrono::milliseconds timeout);
    // False once the service has closed the connection (or the write failed).
    bool send(const std::string& bytes);
    // Reads up to `count` complete responses (Content-Length framed) within the time; the
    // bodies of those read, fewer when the connection closed or the time ran out.
    std::vector<std::string> responses(std::size_t count, std::chrono::milliseconds within);
    // Whether the service closes the connection within the time (any bytes sent before are skipped).
    bool closedByPeer(std::chrono::milliseconds within);

private:
    // Reads what is there within the time into buffer_; false on EOF or error.
    bool fill(std::chrono::steady_clock::time_point deadline);

    int fd_ = -1;
    std::string buffer_;
    bool eof_ = false;
};

// A POST request as one string, with Content-Length.
std::string postRequest(const std::string& endpoint, const std::string& body, bool keepAlive = true);

}  // namespace qinglan::caseservice::testing
