// The codes of the characters and character pairs in case texts, for the PostgreSQL index
// that finds cases by keywords of one or two characters (a trigram index cannot). ASCII
// letters are folded to lower case first, as search compares them. A character's code is its
// code point; a pair's is a hash above every code point, so an unlucky pair only adds a
// candidate that the exact comparison then drops.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qinglan::caseservice {

// The distinct codes of every character and every pair of neighbouring characters within
// each text (never across two texts), ascending.
std::vector<std::int32_t> shortKeywordCodes(const std::vector<std::string_view>& texts);

// The code a keyword of one or two characters is found by; nullopt for other lengths.
std::optional<std::int32_t> shortKeywordCode(std::string_view keyword);

// The codes as a PostgreSQL integer array literal: "{1,2,3}".
std::string integerArrayLiteral(const std::vector<std::int32_t>& codes);

}  // namespace qinglan::caseservice
