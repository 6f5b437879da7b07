// Random tokens the client keeps (session and device tokens) and the hashes the store keeps
// instead of them.
#pragma once

#include <string>
#include <string_view>

namespace qinglan::caseservice {

// 32 random bytes as 64 lowercase hex digits.
std::string newSecretToken();
// A token as the client sends it: 64 lowercase hex digits.
bool isSecretToken(std::string_view text);
// What the store keeps of a token: its BLAKE2b hash, in hex.
std::string secretTokenHash(const std::string& token);

}  // namespace qinglan::caseservice
