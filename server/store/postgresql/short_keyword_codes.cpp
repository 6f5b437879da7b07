#include "store/postgresql/short_keyword_codes.h"

#include <algorithm>

namespace qinglan::caseservice {

namespace {

constexpr std::int32_t kFirstPairCode = 0x110000;  // above every code point
constexpr std::uint32_t kPairCodes = 0x7FFFFFFF - kFirstPairCode;

// The code points of UTF-8 text, ASCII letters in lower case. Text is checked UTF-8 before it
// is stored; a stray byte is taken as a code point of its own.
std::vector<std::uint32_t> foldedCodePoints(std::string_view text) {
    std::vector<std::uint32_t> points;
    points.reserve(text.size());
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const auto* end = p + text.size();
    while (p < end) {
        const unsigned char c = *p;
        int length = c < 0x80 ? 1 : (c & 0xE0) == 0xC0 ? 2 : (c & 0xF0) == 0xE0 ? 3 : (c & 0xF8) == 0xF0 ? 4 : 1;
        if (end - p < length) length = 1;
        std::uint32_t code = length == 1 ? c : c & (0x7F >> length);
        for (int i = 1; i < length; ++i) code = (code << 6) | (p[i] & 0x3F);
        if (code >= 'A' && code <= 'Z') code += 'a' - 'A';
        points.push_back(code);
        p += length;
    }
    return points;
}

std::int32_t pairCode(std::uint32_t first, std::uint32_t second) {
    // 64-bit mix (splitmix64's finaliser) of the two code points, folded into the pair range.
    std::uint64_t x = (static_cast<std::uint64_t>(first) << 21) | second;
    x ^= x >> 30;
    x *= 0xBF58476D1CE4E5B9ULL;
    x ^= x >> 27;
    x *= 0x94D049BB133111EBULL;
    x ^= x >> 31;
    return kFirstPairCode + static_cast<std::int32_t>(x % kPairCodes);
}

}  // namespace

std::vector<std::int32_t> shortKeywordCodes(const std::vector<std::string_view>& texts) {
    std::vector<std::int32_t> codes;
    for (const auto text : texts) {
        const auto points = foldedCodePoints(text);
        for (std::size_t i = 0; i < points.size(); ++i) {
            codes.push_back(static_cast<std::int32_t>(points[i]));
            if (i + 1 < points.size()) codes.push_back(pairCode(points[i], points[i + 1]));
        }
    }
    std::sort(codes.begin(), codes.end());
    codes.erase(std::unique(codes.begin(), codes.end()), codes.end());
    return codes;
}

std::optional<std::int32_t> shortKeywordCode(std::string_view keyword) {
    const auto points = foldedCodePoints(keyword);
    if (points.size() == 1) return static_cast<std::int32_t>(points[0]);
    if (points.size() == 2) return pairCode(points[0], points[1]);
    return std::nullopt;
}

std::string integerArrayLiteral(const std::vector<std::int32_t>& codes) {
    std::string out = "{";
    for (std::size_t i = 0; i < codes.size(); ++i) {
        if (i) out += ',';
        out += std::to_string(codes[i]);
    }
    return out + "}";
}

}  // namespace qinglan::caseservice
