#include "auth/password_auth.h"

#include "auth/secret_token.h"

#include <sodium.h>

#include <algorithm>
#include <mutex>
#include <stdexcept>
#include <thread>

namespace qinglan::caseservice {

namespace {

std::ptrdiff_t hashingSlots() { return std::clamp<std::ptrdiff_t>(std::thread::hardware_concurrency(), 1, 256); }

}  // namespace

bool isSessionToken(std::string_view text) { return isSecretToken(text); }

PasswordAuth::PasswordAuth(CaseRepository& store, PwhashLimits limits, ThrottlePolicy throttle, SessionPolicy sessions,
                           const Clock& clock)
    : store_(store),
      clock_(clock),
      throttle_(throttle, clock),
      sessions_(sessions),
      devices_(store, {}, clock),
      hashing_(hashingSlots()) {
    if (sodium_init() < 0) throw std::runtime_error("libsodium cannot start");
    switch (limits) {
    case PwhashLimits::Minimum:
        opslimit_ = crypto_pwhash_OPSLIMIT_MIN;
        memlimit_ = crypto_pwhash_MEMLIMIT_MIN;
        break;
    case PwhashLimits::Interactive:
        opslimit_ = crypto_pwhash_OPSLIMIT_INTERACTIVE;
        memlimit_ = crypto_pwhash_MEMLIMIT_INTERACTIVE;
        break;
    case PwhashLimits::Moderate:
        opslimit_ = crypto_pwhash_OPSLIMIT_MODERATE;
        memlimit_ = crypto_pwhash_MEMLIMIT_MODERATE;
        break;
    }
    randombytes_buf(key_.data(), key_.size());
    dummyHash_ = hash("00000000000000000000000000000000");
}

std::string PasswordAuth::hash(const std::string& digest) {
    char out[crypto_pwhash_STRBYTES];
    hashing_.acquire();
    const int rc = crypto_pwhash_str(out, digest.data(), digest.size(), opslimit_, memlimit_);
    hashing_.release();
    if (rc != 0) throw std::runtime_error("crypto_pwhash ran out of memory");
    return out;
}

bool PasswordAuth::verify(const std::string& pwhash, const std::string& digest) {
    hashing_.acquire();
    const int rc = crypto_pwhash_str_verify(pwhash.c_str(), digest.data(), digest.size());
    hashing_.release();
    return rc == 0;
}

PasswordAuth::Mac PasswordAuth::mac(const std::string& digest) const {
    Mac out{};
    crypto_generichash(out.data(), out.size(), reinterpret_cast<const unsigned char*>(digest.data()), digest.size(),
                       key_.data(), key_.size());
    return out;
}

bool PasswordAuth::remembered(std::int64_t user, const std::string& pwhash, const Mac& presented) {
    std::shared_lock lock(mutex_);
    const auto found = checked_.find(user);
    return found != checked_.end() && found->second.pwhash == pwhash &&
           sodium_memcmp(found->second.mac.data(), presented.data(), presented.size()) == 0;
}

void PasswordAuth::remember(std::int64_t user, const std::string& pwhash, const Mac& presented) {
    std::unique_lock lock(mutex_);
    checked_[user] = Remembered{pwhash, presented};
}

PasswordAuth::Registration PasswordAuth::registerUser(const AccountName& nm, const std::string& digest,
                                                      const std::string& phone, const std::string& email,
                                                      const std::string& address, int& secondsToWait) {
    secondsToWait = throttle_.secondsToWaitForAddress(address);
    if (secondsToWait > 0) return Registration::Throttled;
    if (store_.findUser(nm.key)) return Registration::Taken;
    throttle_.recordRegistration(address);
    return store_.createUser(nm, hash(digest), phone, email) ? Registration::Created : Registration::Taken;
}

AuthOutcome PasswordAuth::check(const std::string& nameKey, const std::string& digest, const std::string& address) {
    if (const int wait = throttle_.secondsToWait(nameKey, address); wait > 0) return {AuthResult::Throttled, 0, wait};
    const auto account = store_.findUser(nameKey);
    bool right = false;
    if (!account) {
        verify(dummyHash_, digest);
    } else {
        const Mac presented = mac(digest);
        right = remembered(account->id, account->pwhash, presented);
        if (!right && verify(account->pwhash, digest)) {
            right = true;
            remember(account->id, account->pwhash, presented);
        }
    }
    if (!right) {
        throttle_.recordFailure(nameKey, address);
        return {AuthResult::Wrong, 0, 0};
    }
    throttle_.recordSuccess(nameKey, address);
    return {account->disabled ? AuthResult::Disabled : AuthResult::Ok, account->id, 0};
}

SessionRecord PasswordAuth::newSession(std::int64_t user, std::string& token) const {
    token = newSecretToken();
    return SessionRecord{secretTokenHash(token), user, epochSeconds(clock_) + sessions_.lifetime.count()};
}

std::string PasswordAuth::changePassword(std::int64_t user, const std::string& digest) {
    const std::string pwhash = hash(digest);
    std::string token;
    store_.replacePassword(user, pwhash, newSession(user, token));
    remember(user, pwhash, mac(digest));
    return token;
}

std::string PasswordAuth::openSession(std::int64_t user) {
    std::string token;
    store_.openSession(newSession(user, token), sessions_.perUser);
    return token;
}

std::optional<std::int64_t> PasswordAuth::sessionUser(const std::string& nameKey, const std::string& token) {
    if (!isSessionToken(token)) return std::nullopt;
    return store_.sessionUser(secretTokenHash(token), nameKey, epochSeconds(clock_));
}

void PasswordAuth::closeSession(const std::string& token) {
    if (isSessionToken(token)) store_.closeSession(secretTokenHash(token));
}

}  // namespace qinglan::caseservice
