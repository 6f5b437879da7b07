#include "text_search/keyword_phrase.h"

#include "text_search/char_gram_tokenizer.h"

namespace text_search {
namespace {

std::optional<std::string> quotedPhrase(std::string_view prefix, std::string_view keyword) {
    if (keyword.empty()) return std::nullopt;
    std::string out = "\"";
    out += prefix;
    // The query syntax ends a string at a NUL; the stand-in is the term the tokenizer makes of one.
    for (const char c : keyword) {
        if (c == '\0') {
            out += kNulStandIn;
            continue;
        }
        if (c == '"') out += '"';
        out += c;
    }
    return out + "\"";
}

}  // namespace

std::optional<std::string> keywordPhrase(std::string_view keyword) { return quotedPhrase({}, keyword); }

std::optional<std::string> ownedKeywordPhrase(std::int64_t owner, std::string_view keyword) {
    return quotedPhrase(ownerMark(owner), keyword);
}

}  // namespace text_search
