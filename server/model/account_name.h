// Account names as the service compares them. A name is taken in Unicode NFKC form with the
// blanks at both ends removed; control, format, private-use, unassigned and line-separator
// characters are refused, and so is a mixture of scripts that look alike (Latin with Cyrillic
// or Greek). Two names are the same account when their keys are equal: the key folds case
// and maps look-alike characters to one skeleton (Unicode confusables), so "Alice",
// "ａｌｉｃｅ" and "аlice" written with a Cyrillic "а" all meet "alice". A new name is refused
// too when its look-alike key meets an account's: that one compares the skeleton before case
// is folded, where a capital I still looks like an l, so "aIice", "paypaI", "rnodern", "g0ogle"
// and "bi1l" meet "alice", "paypal", "modern", "google" and "bill". It only guards
// registration: logging in finds the account by its key, so "Ivan" may still log in as "ivan".
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <string_view>

namespace qinglan::caseservice {

inline constexpr std::size_t kMaxNameCodePoints = 32;
// The most bytes a name may have as it arrives, before any work is done on it.
inline constexpr std::size_t kMaxNameBytes = kMaxNameCodePoints * 4 * 4;

struct AccountName {
    std::string display;    // NFKC, trimmed: what is stored and shown
    std::string key;        // what uniqueness and lookups compare
    std::string lookalike;  // what a new name must not share with any account's
};

// The name of a new account, or nullopt with the reason (Chinese, for the reply) in why.
std::optional<AccountName> accountNameForRegistration(std::string_view raw, std::string& why);

// The key a request's name is looked up by; nullopt when no account can have that name.
std::optional<std::string> accountNameKey(std::string_view raw);

// Gives the accounts of a store written before a key existed their keys, in the order they were
// created: an account whose name is not valid any more, or whose key an earlier account already
// has, gets one no request can produce ("\x01" + its id).
class NameKeyAllocator {
public:
    enum class Kind { Key, Lookalike };
    explicit NameKeyAllocator(Kind kind) : kind_(kind) {}
    // A key the store already holds.
    void reserve(std::string key) { taken_.insert(std::move(key)); }
    // The key of the account; `refused` tells whether it got the stand-in.
    std::string allocate(std::int64_t id, std::string_view name, bool& refused);

private:
    Kind kind_;
    std::set<std::string> taken_;
};

}  // namespace qinglan::caseservice
