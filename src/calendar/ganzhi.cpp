#include "ganzhi.h"

#include <array>

namespace cal {
namespace {

constexpr std::array<std::string_view, kStemCount> kStems = {"甲", "乙", "丙", "丁", "戊",
                                                             "己", "庚", "辛", "壬", "癸"};
constexpr std::array<std::string_view, kBranchCount> kBranches = {"子", "丑", "寅", "卯", "辰", "巳",
                                                                  "午", "未", "申", "酉", "戌", "亥"};

template <std::size_t N>
int indexIn(const std::array<std::string_view, N>& table, std::string_view name) {
    for (std::size_t i = 0; i < N; ++i)
        if (table[i] == name) return static_cast<int>(i);
    return -1;
}

}  // namespace

std::string_view stemName(int stem) { return stem >= 0 && stem < kStemCount ? kStems[stem] : std::string_view{}; }

std::string_view branchName(int branch) {
    return branch >= 0 && branch < kBranchCount ? kBranches[branch] : std::string_view{};
}

int stemIndex(std::string_view name) { return indexIn(kStems, name); }
int branchIndex(std::string_view name) { return indexIn(kBranches, name); }

std::string ganzhiName(int index) {
    if (index < 0 || index >= kCycleLength) return {};
    std::string name(kStems[index % kStemCount]);
    name += kBranches[index % kBranchCount];
    return name;
}

int ganzhiCompose(int stem, int branch) {
    if (stem < 0 || stem >= kStemCount || branch < 0 || branch >= kBranchCount) return -1;
    for (int k = stem; k < kCycleLength; k += kStemCount)
        if (k % kBranchCount == branch) return k;
    return -1;
}

int ganzhiIndex(std::string_view name) {
    const std::string_view s = firstChar(name);
    const std::string_view b = firstChar(name.substr(s.size()));
    if (s.empty() || b.empty() || s.size() + b.size() != name.size()) return -1;
    return ganzhiCompose(stemIndex(s), branchIndex(b));
}

GanZhiSplit ganzhiSplit(int index) {
    if (index < 0 || index >= kCycleLength) return {};
    return {true, index % kStemCount, index % kBranchCount};
}

std::optional<Stem> Stem::parse(std::string_view text) {
    const int i = stemIndex(text);
    if (i < 0) return std::nullopt;
    return Stem{i};
}

std::optional<Branch> Branch::parse(std::string_view text) {
    const int i = branchIndex(text);
    if (i < 0) return std::nullopt;
    return Branch{i};
}

std::optional<GanZhi> GanZhi::parse(std::string_view text) {
    const int i = ganzhiIndex(text);
    if (i < 0) return std::nullopt;
    return GanZhi{i};
}

std::string_view firstChar(std::string_view text) {
    if (text.empty()) return {};
    const auto lead = static_cast<unsigned char>(text[0]);
    std::size_t len = 1;
    if (lead >= 0xF0)
        len = 4;
    else if (lead >= 0xE0)
        len = 3;
    else if (lead >= 0xC0)
        len = 2;
    return text.substr(0, len < text.size() ? len : text.size());
}

}  // namespace cal
