// The page's session: the cookie qinglan_session holds the desktop protocol's session token and
// the account name (the service finds a session by both), and the CSRF token the page sends back
// with every write is derived from the session token, so nothing more is kept.
#pragma once

#include "http/web_exchange.h"

#include <optional>
#include <string>
#include <string_view>

namespace qinglan::caseservice {

inline constexpr std::string_view kSessionCookie = "qinglan_session";

struct WebSession {
    std::string name;   // the account name as typed at login
    std::string token;  // the session token of the desktop protocol
};

// The session in the Cookie header, when its cookie is well formed.
std::optional<WebSession> sessionOfCookie(std::string_view cookieHeader);

// The Set-Cookie value for a new session, and the one that ends it. Secure when served over
// https; always HttpOnly and SameSite=Strict.
std::string sessionCookie(const WebSession& session, bool https);
std::string endedSessionCookie(bool https);

// The CSRF token of a session: a hash of its token, which only the page that logged in learns
// (the cookie is HttpOnly).
std::string csrfTokenOf(const WebSession& session);
// Whether the request's X-CSRF-Token is the session's, compared in constant time.
bool csrfTokenMatches(const WebSession& session, std::string_view sent);

}  // namespace qinglan::caseservice
