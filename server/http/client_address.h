// The client address as login throttling counts it, from the peer's socket address or, behind
// a reverse proxy, from the X-Forwarded-For header.
#pragma once

#include <sys/socket.h>

#include <optional>
#include <string>
#include <string_view>

namespace qinglan::caseservice {

// An IPv4 address as it is, an IPv6 one by its /64 network (what one customer usually gets), an
// IPv4 address mapped into IPv6 as IPv4; "?" for anything else.
std::string addressKey(const sockaddr* address);

bool isLoopback(const sockaddr* address);

// The last address of an X-Forwarded-For list (the one the proxy itself added), as a key.
std::optional<std::string> forwardedAddress(std::string_view header);

}  // namespace qinglan::caseservice
