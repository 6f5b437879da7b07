// A listening TCP socket on host:port, for the service and its metrics.
#pragma once

#include <optional>
#include <string>

namespace qinglan::caseservice {

// The listening socket's descriptor, or -1 with the reason in error.
int listenOn(const std::string& host, int port, std::string& error);
// Whether every address host stands for is a loopback one; nullopt with the reason in error
// when it cannot be resolved.
std::optional<bool> isLoopbackHost(const std::string& host, std::string& error);
// The port a socket is bound to (the chosen one when it asked for port 0); -1 on failure.
int boundPort(int fd);

}  // namespace qinglan::caseservice
