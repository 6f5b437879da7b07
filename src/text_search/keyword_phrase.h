#pragma once
// A search keyword as an FTS5 query for a table tokenized with char_grams.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace text_search {

// The keyword (UTF-8) as one FTS5 phrase string, quoted for the query syntax; nullopt for an
// empty keyword, which the index cannot answer, so the caller scans instead. A NUL character in
// the keyword is written as kNulStandIn (see char_gram_tokenizer.h), so the phrase is not valid
// UTF-8 then: pass it to SQLite as bytes, unconverted.
std::optional<std::string> keywordPhrase(std::string_view keyword);

// The same for a table in "owned" mode: the phrase finds the keyword in that owner's texts only.
std::optional<std::string> ownedKeywordPhrase(std::int64_t owner, std::string_view keyword);

}  // namespace text_search
