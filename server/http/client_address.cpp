#include "http/client_address.h"

#include <arpa/inet.h>
#include <netinet/in.h>

#include <cstring>

namespace qinglan::caseservice {

std::string addressKey(const sockaddr* address) {
    char text[INET6_ADDRSTRLEN] = {};
    if (!address) return "?";
    if (address->sa_family == AF_INET) {
        inet_ntop(AF_INET, &reinterpret_cast<const sockaddr_in*>(address)->sin_addr, text, sizeof text);
        return text;
    }
    if (address->sa_family == AF_INET6) {
        in6_addr bytes = reinterpret_cast<const sockaddr_in6*>(address)->sin6_addr;
        if (IN6_IS_ADDR_V4MAPPED(&bytes)) {
            inet_ntop(AF_INET, &bytes.s6_addr[12], text, sizeof text);
            return text;
        }
        std::memset(&bytes.s6_addr[8], 0, 8);
        inet_ntop(AF_INET6, &bytes, text, sizeof text);
        return std::string(text) + "/64";
    }
    return "?";
}

bool isLoopback(const sockaddr* address) {
    if (!address) return false;
    if (address->sa_family == AF_INET)
        return (ntohl(reinterpret_cast<const sockaddr_in*>(address)->sin_addr.s_addr) >> 24) == 127;
    if (address->sa_family == AF_INET6) {
        const auto& bytes = reinterpret_cast<const sockaddr_in6*>(address)->sin6_addr;
        return IN6_IS_ADDR_LOOPBACK(&bytes) || (IN6_IS_ADDR_V4MAPPED(&bytes) && bytes.s6_addr[12] == 127);
    }
    return false;
}

std::optional<std::string> forwardedAddress(std::string_view header) {
    const auto comma = header.rfind(',');
    std::string_view last = comma == std::string_view::npos ? header : header.substr(comma + 1);
    while (!last.empty() && last.front() == ' ') last.remove_prefix(1);
    while (!last.empty() && last.back() == ' ') last.remove_suffix(1);
    const std::string text(last);
    sockaddr_in v4{};
    sockaddr_in6 v6{};
    if (inet_pton(AF_INET, text.c_str(), &v4.sin_addr) == 1) {
        v4.sin_family = AF_INET;
        return addressKey(reinterpret_cast<const sockaddr*>(&v4));
    }
    if (inet_pton(AF_INET6, text.c_str(), &v6.sin6_addr) == 1) {
        v6.sin6_family = AF_INET6;
        return addressKey(reinterpret_cast<const sockaddr*>(&v6));
    }
    return std::nullopt;
}

}  // namespace qinglan::caseservice
