// A request for the web page (/app/) or its JSON endpoints (/api/), as the transport hands it to
// the web front end (server/web), and the answer it gets back. The transport reads the request,
// bounds it like any other, and sends the answer; of what the page asks it knows only which
// request checks a password.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace qinglan::caseservice {

using HeaderList = std::vector<std::pair<std::string, std::string>>;

struct WebRequest {
    std::string method;
    std::string path;         // without the query
    HeaderList query;         // the query's arguments, decoded (at most 16)
    std::string body;         // at most kMaxBodyBytes
    std::string contentType;  // the Content-Type header
    std::string cookie;       // the Cookie header
    std::string csrfToken;    // the X-CSRF-Token header
    std::string clientAddress;
    bool https = false;  // served over TLS (or by a local proxy that says so)
};

struct WebReply {
    unsigned status = 200;
    std::string contentType;
    std::string body;
    HeaderList headers;  // Set-Cookie and the like; the transport adds the security headers
};

using WebHandler = std::function<WebReply(const WebRequest&)>;

// Sent with every answer under /app/ and /api/, the transport's own refusals included: no script
// but the page's own files, no framing, no type guessing, no referrer.
inline const HeaderList& webSecurityHeaders() {
    static const HeaderList headers = {
        {"Content-Security-Policy",
         "default-src 'none'; script-src 'self'; style-src 'self'; img-src 'self'; connect-src 'self'; "
         "base-uri 'none'; form-action 'none'; frame-ancestors 'none'"},
        {"X-Frame-Options", "DENY"},
        {"X-Content-Type-Options", "nosniff"},
        {"Referrer-Policy", "no-referrer"},
        {"Cross-Origin-Opener-Policy", "same-origin"},
        {"Cache-Control", "no-store"},
    };
    return headers;
}

inline bool isWebPath(std::string_view path) {
    return path == "/app" || path.starts_with("/app/") || path.starts_with("/api/");
}
// Logging in hashes a password: it waits in the password checks' pool, never the case requests'.
inline bool webRequestChecksPasswords(std::string_view path) { return path == "/api/login"; }

}  // namespace qinglan::caseservice
