// Account names as the service compares them. A name is taken in Unicode NFKC form with the
// blanks at both ends removed; control, format, private-use, unassigned and line-separator
// characters are refused, and so is a mixture of scripts that look alike (Latin with Cyrillic
// or Greek). Two names are the same account when their keys are equal: the key folds case
// and maps look-alike characters to one skeleton (Unicode confusables), so "Alice",
// "ａｌｉｃｅ" and "аlice" written with a Cyrillic "а" all meet "alice".
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace qinglan::caseservice {

inline constexpr std::size_t kMaxNameCodePoints = 32;
// The most bytes a name may have as it arrives, before any work is done on it.
inline constexpr std::size_t kMaxNameBytes = kMaxNameCodePoints * 4 * 4;

struct AccountName {
    std::string display;  // NFKC, trimmed: what is stored and shown
    std::string key;      // what uniqueness and lookups compare
};

// The name of a new account, or nullopt with the reason (Chinese, for the reply) in why.
std::optional<AccountName> accountNameForRegistration(std::string_view raw, std::string& why);

// The key a request's name is looked up by; nullopt when no account can have that name.
std::optional<std::string> accountNameKey(std::string_view raw);

}  // namespace qinglan::caseservice
