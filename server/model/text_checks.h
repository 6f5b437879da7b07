// Checks on the texts that arrive in requests.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace qinglan::caseservice {

// Well-formed UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
bool isValidUtf8(std::string_view text);

// The number of code points of well-formed UTF-8 text.
std::size_t codePointCount(std::string_view text);

// A decimal integer: an optional "-" and 1 to 18 digits.
std::optional<std::int64_t> parseInteger(std::string_view text);

// The password digest the client sends: 32 hexadecimal digits.
bool isPasswordDigest(std::string_view text);

// Whether the text holds U+0000, which no request may carry: PostgreSQL's text type cannot
// keep it, and both stores answer alike.
bool holdsNulCharacter(std::string_view text);

// Whether the text holds one of the reply markers, which no stored field may contain
// because the reply grammar has no way to escape them.
bool holdsReplyMarker(std::string_view text);

}  // namespace qinglan::caseservice
