// The endpoints of the case service, free of HTTP: an endpoint name and a form body in,
// the reply text out.
#pragma once

#include "auth/password_auth.h"
#include "model/records.h"
#include "service/account_quotas.h"
#include "store/case_repository.h"

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace qinglan::caseservice {

inline constexpr std::size_t kMaxBodyBytes = 1024 * 1024;
inline constexpr std::size_t kMaxFieldBytes = 256 * 1024;

inline constexpr std::size_t kMaxKeywordCodePoints = 200;

// The endpoint paths, without the leading "/".
const std::vector<std::string_view>& endpointNames();
// Whether the endpoint may run a full password hash (login, registration, password change).
bool checksPasswords(std::string_view endpoint);

// The reply body, and the token of a session the request opened (login, password change).
struct ServiceReply {
    ServiceReply(std::string body = {}, std::string sessionToken = {})
        : body(std::move(body)), sessionToken(std::move(sessionToken)) {}
    std::string body;
    std::string sessionToken;
};

class CaseService {
public:
    CaseService(CaseRepository& store, PasswordAuth& auth, LoginNotice notice, AccountQuotas quotas = {},
                const Clock& clock = systemClock());

    // The reply to a post of body to the endpoint (one of endpointNames()) from the client
    // address (what login throttling counts by). Throws std::invalid_argument for an unknown
    // endpoint; store failures propagate.
    ServiceReply reply(std::string_view endpoint, std::string_view body, const std::string& clientAddress);

    AccountQuotaBook& quotas() { return quotas_; }

private:
    CaseRepository& store_;
    PasswordAuth& auth_;
    LoginNotice notice_;
    AccountQuotaBook quotas_;
};

}  // namespace qinglan::caseservice
