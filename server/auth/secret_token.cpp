#include "auth/secret_token.h"

#include <sodium.h>

#include <algorithm>

namespace qinglan::caseservice {

namespace {

std::string hex(const unsigned char* bytes, std::size_t size) {
    static const char* digits = "0123456789abcdef";
    std::string out;
    for (std::size_t i = 0; i < size; ++i) {
        out += digits[bytes[i] >> 4];
        out += digits[bytes[i] & 15];
    }
    return out;
}

}  // namespace

std::string newSecretToken() {
    unsigned char random[32];
    randombytes_buf(random, sizeof random);
    return hex(random, sizeof random);
}

bool isSecretToken(std::string_view text) {
    return text.size() == 64 && std::all_of(text.begin(), text.end(),
                                            [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); });
}

std::string secretTokenHash(const std::string& token) {
    unsigned char out[32];
    crypto_generichash(out, sizeof out, reinterpret_cast<const unsigned char*>(token.data()), token.size(), nullptr, 0);
    return hex(out, sizeof out);
}

}  // namespace qinglan::caseservice
