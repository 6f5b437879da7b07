#include "web/web_session.h"

#include <sodium.h>

#include <array>

namespace qinglan::caseservice {

namespace {

constexpr char kHexDigits[] = "0123456789abcdef";
constexpr std::size_t kMaxNameBytes = 256;
constexpr std::size_t kMaxTokenBytes = 128;

std::string hexOf(std::string_view bytes) {
    std::string out;
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        out += kHexDigits[byte >> 4];
        out += kHexDigits[byte & 0xF];
    }
    return out;
}

std::optional<std::string> bytesOfHex(std::string_view hex) {
    if (hex.size() % 2 != 0) return std::nullopt;
    const auto digit = [](char c) -> int {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        return -1;
    };
    std::string out;
    for (std::size_t i = 0; i < hex.size(); i += 2) {
        const int high = digit(hex[i]);
        const int low = digit(hex[i + 1]);
        if (high < 0 || low < 0) return std::nullopt;
        out += static_cast<char>(high * 16 + low);
    }
    return out;
}

std::string attributes(bool https) { return std::string("; Path=/; HttpOnly; SameSite=Strict") + (https ? "; Secure" : ""); }

}  // namespace

std::optional<WebSession> sessionOfCookie(std::string_view header) {
    // "a=1; qinglan_session=TOKEN.HEXNAME; b=2"
    while (!header.empty()) {
        const auto end = header.find(';');
        std::string_view pair = header.substr(0, end);
        header = end == std::string_view::npos ? std::string_view() : header.substr(end + 1);
        while (!pair.empty() && pair.front() == ' ') pair.remove_prefix(1);
        if (!pair.starts_with(kSessionCookie) || pair.substr(kSessionCookie.size(), 1) != "=") continue;
        const std::string_view value = pair.substr(kSessionCookie.size() + 1);
        const auto dot = value.find('.');
        if (dot == std::string_view::npos || dot > kMaxTokenBytes || value.size() - dot - 1 > 2 * kMaxNameBytes)
            return std::nullopt;
        auto name = bytesOfHex(value.substr(dot + 1));
        if (!name || name->empty()) return std::nullopt;
        return WebSession{std::move(*name), std::string(value.substr(0, dot))};
    }
    return std::nullopt;
}

std::string sessionCookie(const WebSession& session, bool https) {
    return std::string(kSessionCookie) + "=" + session.token + "." + hexOf(session.name) + attributes(https);
}

std::string endedSessionCookie(bool https) { return std::string(kSessionCookie) + "=" + attributes(https) + "; Max-Age=0"; }

std::string csrfTokenOf(const WebSession& session) {
    const std::string message = "qinglan web csrf\n" + session.token;
    std::array<unsigned char, 32> hash{};
    crypto_generichash(hash.data(), hash.size(), reinterpret_cast<const unsigned char*>(message.data()), message.size(),
                       nullptr, 0);
    return hexOf(std::string_view(reinterpret_cast<const char*>(hash.data()), hash.size()));
}

bool csrfTokenMatches(const WebSession& session, std::string_view sent) {
    const std::string expected = csrfTokenOf(session);
    return sent.size() == expected.size() && sodium_memcmp(sent.data(), expected.data(), expected.size()) == 0;
}

}  // namespace qinglan::caseservice
