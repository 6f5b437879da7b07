// The devices that keep a login ("记住用户名和密码") hold a refresh token instead of the
// password's digest: random, per device, worth nothing for login.php, and replaced by a new one
// at every use. The store keeps only hashes: of the current token, and of the one it replaced,
// which presented again shows that the token was copied and ends the device. The user lists
// the devices and removes any; a password change ends them all.
#pragma once

#include "auth/clock.h"
#include "store/case_repository.h"

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

namespace qinglan::caseservice {

struct DevicePolicy {
    std::chrono::seconds lifetime{180 * 24 * 3600};  // a device unused this long is ended
    int perUser = 20;                                // a new device ends the oldest beyond this many
};

class DeviceTokens {
public:
    explicit DeviceTokens(CaseRepository& store, DevicePolicy policy = {}, const Clock& clock = systemClock())
        : store_(store), policy_(policy), clock_(clock) {}

    // A new device of the user under the name; its first token.
    std::string add(std::int64_t user, const std::string& deviceName);

    struct Refreshed {
        std::int64_t user = 0;
        std::string token;  // the device's next token; the one presented is spent
    };
    // When the token is a device's current one and nameKey its user's.
    std::optional<Refreshed> refresh(const std::string& nameKey, const std::string& token);

private:
    CaseRepository& store_;
    DevicePolicy policy_;
    const Clock& clock_;
};

}  // namespace qinglan::caseservice
