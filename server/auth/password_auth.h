// Accounts, password checks and sessions. The client sends a digest of the password only
// to log in or change the password; the store keeps only a salted crypto_pwhash of that
// digest. A digest already checked once is remembered in memory as a keyed hash (key drawn
// at start), so logging in again costs one cheap hash. A login opens a session: a random
// token the client sends on every later request, of which the store keeps only a hash; it
// ends at its expiry, at logout, or when the password changes. A device that keeps the login
// holds a token of its own instead of the password (see device_tokens.h).
#pragma once

#include "auth/clock.h"
#include "auth/device_tokens.h"
#include "auth/login_throttle.h"
#include "store/case_repository.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <semaphore>
#include <shared_mutex>
#include <string>
#include <string_view>
#include <unordered_map>

namespace qinglan::caseservice {

// How costly crypto_pwhash is: the libsodium "interactive" or "moderate" limits, or the
// smallest it accepts (for tests only).
enum class PwhashLimits { Minimum, Interactive, Moderate };

enum class AuthResult { Ok, Wrong, Disabled, Throttled };

struct AuthOutcome {
    AuthResult result = AuthResult::Wrong;
    std::int64_t user = 0;
    int secondsToWait = 0;  // with throttled
};

struct SessionPolicy {
    std::chrono::seconds lifetime{14 * 24 * 3600};
    int perUser = 20;  // a new session ends the oldest beyond this many
};

// A session token as the client sends it: 64 lowercase hex digits.
bool isSessionToken(std::string_view text);

class PasswordAuth {
public:
    // The throttle's pauses and the sessions' expiry are read from clock.
    PasswordAuth(CaseRepository& store, PwhashLimits limits, ThrottlePolicy throttle = {}, SessionPolicy sessions = {},
                 const Clock& clock = systemClock());

    enum class Registration { Created, Taken, Throttled };
    // Creates the account unless the name (or one that looks like it) is taken or the address
    // has registered or failed too often lately (then secondsToWait says for how long).
    Registration registerUser(const AccountName& nm, const std::string& digest, const std::string& phone,
                              const std::string& email, const std::string& address, int& secondsToWait);
    // Checks name and digest; every failure counts against the name from this address and
    // against the address.
    AuthOutcome check(const std::string& nameKey, const std::string& digest, const std::string& address);
    // Sets the new password, ends the user's sessions and returns the token of a new one.
    std::string changePassword(std::int64_t user, const std::string& digest);

    // A new session of the user; its token.
    std::string openSession(std::int64_t user);
    // The user whose live session the token is, when the name is that user's.
    std::optional<std::int64_t> sessionUser(const std::string& nameKey, const std::string& token);
    void closeSession(const std::string& token);

    // The devices that keep a login.
    DeviceTokens& devices() { return devices_; }

private:
    using Mac = std::array<unsigned char, 32>;
    struct Remembered {
        std::string pwhash;  // the stored hash the digest was checked against
        Mac mac;
    };
    std::string hash(const std::string& digest);
    SessionRecord newSession(std::int64_t user, std::string& token) const;
    bool verify(const std::string& pwhash, const std::string& digest);
    Mac mac(const std::string& digest) const;
    bool remembered(std::int64_t user, const std::string& pwhash, const Mac& presented);
    void remember(std::int64_t user, const std::string& pwhash, const Mac& presented);

    CaseRepository& store_;
    const Clock& clock_;
    unsigned long long opslimit_;
    std::size_t memlimit_;
    LoginThrottle throttle_;
    SessionPolicy sessions_;
    DeviceTokens devices_;
    std::array<unsigned char, 32> key_{};
    std::string dummyHash_;                 // checked for unknown names, so they take as long as known ones
    std::counting_semaphore<256> hashing_;  // bounds the memory crypto_pwhash takes at once
    std::shared_mutex mutex_;
    std::unordered_map<std::int64_t, Remembered> checked_;
};

}  // namespace qinglan::caseservice
