// The endpoints of the case service, free of HTTP: an endpoint name and a form body in,
// the reply text out.
#pragma once

#include "case_store.h"
#include "form_body.h"
#include "password_auth.h"
#include "reply_format.h"

#include <string>
#include <string_view>
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
    std::string body;
    std::string sessionToken;
};

class CaseService {
public:
    CaseService(CaseStore& store, PasswordAuth& auth, LoginNotice notice);

    // The reply to a post of body to the endpoint (one of endpointNames()) from the client
    // address (what login throttling counts by). Throws std::invalid_argument for an unknown
    // endpoint; store failures propagate.
    ServiceReply reply(std::string_view endpoint, std::string_view body, const std::string& clientAddress);

private:
    ServiceReply login(const FormFields& form, const std::string& clientAddress);
    std::string reg(const FormFields& form, const std::string& clientAddress);
    ServiceReply changpw(const FormFields& form, const std::string& clientAddress);
    std::string logout(const FormFields& form);
    std::string savegua(std::int64_t user, const FormFields& form);
    std::string saveduanyufankui(std::int64_t user, const FormFields& form);
    std::string loadgua(std::int64_t user, const FormFields& form);
    std::string cha(std::int64_t user, const FormFields& form);
    std::string gualist(std::int64_t user, const FormFields& form);
    std::string nian(std::int64_t user, const FormFields& form);
    std::string yue(std::int64_t user, const FormFields& form);
    std::string getduanyufankui(std::int64_t user, const FormFields& form);
    std::string changeleiming(std::int64_t user, const FormFields& form);

    CaseStore& store_;
    PasswordAuth& auth_;
    LoginNotice notice_;
};

}  // namespace qinglan::caseservice
