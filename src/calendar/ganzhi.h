#pragma once
// Heavenly stems, earthly branches and the sixty-pair cycle: the one place their
// indices and names are defined.
#include <optional>
#include <string>
#include <string_view>

namespace cal {

inline constexpr int kStemCount = 10;
inline constexpr int kBranchCount = 12;
inline constexpr int kCycleLength = 60;

// Name of stem 0..9 (甲..癸); empty outside the range.
std::string_view stemName(int stem);
// Name of branch 0..11 (子..亥); empty outside the range.
std::string_view branchName(int branch);
// Index of a one-character stem or branch name; -1 when it is none.
int stemIndex(std::string_view name);
int branchIndex(std::string_view name);

// Two-character name of cycle index 0..59; empty outside the range.
std::string ganzhiName(int index);
// Cycle index of a stem and a branch; -1 when out of range or of different parity.
int ganzhiCompose(int stem, int branch);
// Cycle index of a two-character name such as "甲子"; -1 when it is none.
int ganzhiIndex(std::string_view name);

struct GanZhiSplit {
    bool ok = false;
    int stem = -1;
    int branch = -1;
};
GanZhiSplit ganzhiSplit(int index);

// Small value types for code that carries a stem, a branch or a cycle pair around.
struct Stem {
    int index = 0;
    std::string_view name() const { return stemName(index); }
    static std::optional<Stem> parse(std::string_view text);
    friend bool operator==(Stem, Stem) = default;
};

struct Branch {
    int index = 0;
    std::string_view name() const { return branchName(index); }
    static std::optional<Branch> parse(std::string_view text);
    friend bool operator==(Branch, Branch) = default;
};

struct GanZhi {
    int index = 0;
    Stem stem() const { return Stem{index % kStemCount}; }
    Branch branch() const { return Branch{index % kBranchCount}; }
    std::string name() const { return ganzhiName(index); }
    static std::optional<GanZhi> parse(std::string_view text);
    friend bool operator==(GanZhi, GanZhi) = default;
};

// The first UTF-8 character of a text (empty when the text is empty).
std::string_view firstChar(std::string_view text);

}  // namespace cal
