// The accounts and cases the load generator and the seeder store: the password every bench
// account has, and case texts made of common divination phrases.
#pragma once

#include "divination_texts.h"

#include <openssl/evp.h>

#include <random>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace seeded {

inline std::string md5Hex(const std::string& bytes) {
    unsigned char out[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    EVP_Digest(bytes.data(), bytes.size(), out, &length, EVP_md5(), nullptr);
    static const char* hex = "0123456789ABCDEF";
    std::string text;
    for (unsigned i = 0; i < length; ++i) text += {hex[out[i] >> 4], hex[out[i] & 15]};
    return text;
}

// What the desktop program sends for the bench accounts' password.
inline std::string passwordDigest() { return md5Hex(md5Hex("bench-password")); }

inline const std::vector<std::string> kMatters = {"问财运", "问婚姻", "问工作", "问健康", "问出行",
                                                  "问考试", "问官司", "问房产", "寻物",   "问合作"};
// The words of the short judgments: the first ten phrases of the common vocabulary.
inline constexpr std::span<const std::string_view> kWords{divination_texts::kPhrases.data(), 10};

// The matter of case n: one case in all holds its number.
inline std::string matter(long n) { return kMatters[n % kMatters.size()] + " 第" + std::to_string(n) + "号"; }

inline std::string judgment(std::mt19937& random) {
    std::string text;
    for (int w = 0; w < 12; ++w) (text += kWords[random() % kWords.size()]) += "，";
    return text;
}

inline std::string feedback(long n) { return n % 3 == 0 ? "应验" : ""; }

inline std::string caseNumber(long n) { return "2024" + std::to_string(100000000 + n) + "京房T:10:00:00"; }

}  // namespace seeded
