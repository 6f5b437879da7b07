#include "auth/device_tokens.h"

#include "auth/secret_token.h"

namespace qinglan::caseservice {

std::string DeviceTokens::add(std::int64_t user, const std::string& deviceName) {
    std::string token = newSecretToken();
    const std::int64_t now = epochSeconds(clock_);
    store_.addDevice({secretTokenHash(token), user, deviceName, now, now + policy_.lifetime.count()}, policy_.perUser);
    return token;
}

std::optional<DeviceTokens::Refreshed> DeviceTokens::refresh(const std::string& nameKey, const std::string& token) {
    if (!isSecretToken(token)) return std::nullopt;
    std::string next = newSecretToken();
    const std::int64_t now = epochSeconds(clock_);
    const auto user = store_.rotateDeviceToken(secretTokenHash(token), nameKey, secretTokenHash(next), now,
                                               now + policy_.lifetime.count());
    if (!user) return std::nullopt;
    return Refreshed{*user, std::move(next)};
}

}  // namespace qinglan::caseservice
