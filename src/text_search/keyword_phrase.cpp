#include "text_search/keyword_phrase.h"

#include "text_search/char_gram_tokenizer.h"

namespace text_search {

std::optional<std::string> keywordPhrase(std::string_view keyword) {
    if (keyword.empty() || keyword.front() == kOwnerMarkLead || keyword.find('\0') != std::string_view::npos)
        return std::nullopt;
    std::string out = "\"";
    for (const char c : keyword) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + "\"";
}

}  // namespace text_search
