// Accounts and password checks. The client sends a digest of the password; the store
// keeps only a salted crypto_pwhash of that digest. A digest already checked once is
// remembered in memory as a keyed hash (key drawn at start), so the many requests of a
// session cost one cheap hash each and never a full crypto_pwhash.
#pragma once

#include "case_store.h"
#include "login_throttle.h"

#include <array>
#include <cstdint>
#include <memory>
#include <semaphore>
#include <shared_mutex>
#include <string>
#include <unordered_map>

namespace qinglan::caseservice {

// How costly crypto_pwhash is: the libsodium "interactive" or "moderate" limits, or the
// smallest it accepts (for tests only).
enum class PwhashLimits { minimum, interactive, moderate };

enum class AuthResult { ok, wrong, disabled, throttled };

struct AuthOutcome {
    AuthResult result = AuthResult::wrong;
    std::int64_t user = 0;
    int secondsToWait = 0;   // with throttled
};

class PasswordAuth {
public:
    PasswordAuth(CaseStore& store, PwhashLimits limits, ThrottlePolicy throttle = {});

    // False when the name is taken.
    bool registerUser(const std::string& nm, const std::string& digest, const std::string& shouji,
                      const std::string& youxiang);
    // Checks name and digest; every failure counts against the name.
    AuthOutcome check(const std::string& nm, const std::string& digest);
    void changePassword(std::int64_t user, const std::string& digest);

private:
    using Mac = std::array<unsigned char, 32>;
    struct Remembered {
        std::string pwhash;   // the stored hash the digest was checked against
        Mac mac;
    };
    std::string hash(const std::string& digest);
    bool verify(const std::string& pwhash, const std::string& digest);
    Mac mac(const std::string& digest) const;
    bool remembered(std::int64_t user, const std::string& pwhash, const Mac& presented);
    void remember(std::int64_t user, const std::string& pwhash, const Mac& presented);

    CaseStore& store_;
    unsigned long long opslimit_;
    std::size_t memlimit_;
    LoginThrottle throttle_;
    std::array<unsigned char, 32> key_{};
    std::string dummyHash_;   // checked for unknown names, so they take as long as known ones
    std::counting_semaphore<256> hashing_;   // bounds the memory crypto_pwhash takes at once
    std::shared_mutex mutex_;
    std::unordered_map<std::int64_t, Remembered> checked_;
};

}  // namespace qinglan::caseservice
