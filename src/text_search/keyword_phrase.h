#pragma once
// A search keyword as an FTS5 query for a table tokenized with char_grams.
#include <optional>
#include <string>
#include <string_view>

namespace text_search {

// The keyword (UTF-8) as one FTS5 phrase string, quoted for the query syntax; nullopt when the
// index cannot answer it (an empty keyword, one holding a NUL character, or one that would be
// read as an owner mark), so the caller scans instead.
std::optional<std::string> keywordPhrase(std::string_view keyword);

}  // namespace text_search
