#include "text_search/char_gram_tokenizer.h"

#include <sqlite3.h>

#include <mutex>
#include <string_view>
#include <vector>

namespace text_search {
namespace {

enum class Mode { Short, Triples };

struct Settings {
    Mode mode;
    bool owned;
};

// The tokenizer instances are their settings: they keep no other state.
Settings shortSettings{Mode::Short, false}, triplesSettings{Mode::Triples, false},
    ownedShortSettings{Mode::Short, true}, ownedTriplesSettings{Mode::Triples, true};

int createTokenizer(void*, const char** arguments, int argumentCount, Fts5Tokenizer** out) {
    if (argumentCount < 1 || argumentCount > 2) return SQLITE_ERROR;
    const std::string_view mode = arguments[0];
    const bool owned = argumentCount == 2;
    if (owned && std::string_view(arguments[1]) != kOwnedOption) return SQLITE_ERROR;
    Settings* settings = nullptr;
    if (mode == kShortMode)
        settings = owned ? &ownedShortSettings : &shortSettings;
    else if (mode == kTriplesMode)
        settings = owned ? &ownedTriplesSettings : &triplesSettings;
    else
        return SQLITE_ERROR;
    *out = reinterpret_cast<Fts5Tokenizer*>(settings);
    return SQLITE_OK;
}

void deleteTokenizer(Fts5Tokenizer*) {}

// The length of the owner mark the text starts with, or 0.
std::size_t ownerMarkLength(std::string_view text) {
    if (text.empty() || text.front() != kOwnerMarkLead) return 0;
    std::size_t i = 1;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i;
    return i > 1 && i < text.size() && text[i] == kOwnerMarkEnd ? i + 1 : 0;
}

// Where each character of the text starts, as SQLite reads UTF-8: a lead byte takes every
// continuation byte that follows it; any other byte is a character of its own. The last entry is
// the end of the text.
std::vector<int> characterStarts(std::string_view text) {
    std::vector<int> starts;
    starts.reserve(text.size() + 1);
    std::size_t i = 0;
    while (i < text.size()) {
        starts.push_back(static_cast<int>(i));
        const auto lead = static_cast<unsigned char>(text[i++]);
        if (lead >= 0xC0)
            while (i < text.size() && (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) ++i;
    }
    starts.push_back(static_cast<int>(text.size()));
    return starts;
}

using TokenCallback = int (*)(void*, int, const char*, int, int, int);

int tokenize(Fts5Tokenizer* instance, void* context, int flags, const char* data, int size, TokenCallback token) {
    const Settings settings = *reinterpret_cast<const Settings*>(instance);
    std::string_view text(data, static_cast<std::size_t>(size));
    const bool query = (flags & FTS5_TOKENIZE_QUERY) != 0;
    const std::size_t markLength = settings.owned ? ownerMarkLength(text) : 0;
    std::string term(text.substr(0, markLength));  // each token: the owner mark, then the characters
    text.remove_prefix(markLength);
    std::string folded(text);
    for (char& c : folded)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    const std::vector<int> starts = characterStarts(folded);
    const int count = static_cast<int>(starts.size()) - 1;
    const auto emit = [&](int first, int length) {
        const int from = starts[first], to = starts[first + length];
        term.resize(markLength);
        for (int i = from; i < to; ++i) {
            if (folded[static_cast<std::size_t>(i)] == '\0')
                term += kNulStandIn;
            else
                term += folded[static_cast<std::size_t>(i)];
        }
        const int offset = static_cast<int>(markLength);
        return token(context, 0, term.data(), static_cast<int>(term.size()), from + offset, to + offset);
    };
    if (settings.mode == Mode::Short) {
        if (query) return count >= 1 && count <= 2 ? emit(0, count) : SQLITE_OK;
        for (int i = 0; i < count; ++i) {
            if (const int rc = emit(i, 1); rc != SQLITE_OK) return rc;
            if (i + 1 < count)
                if (const int rc = emit(i, 2); rc != SQLITE_OK) return rc;
        }
        return SQLITE_OK;
    }
    for (int i = 0; i + 3 <= count; ++i)
        if (const int rc = emit(i, 3); rc != SQLITE_OK) return rc;
    return SQLITE_OK;
}

}  // namespace

fts5_api* fts5ApiOf(sqlite3* db) {
    fts5_api* api = nullptr;
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db, "SELECT fts5(?1)", -1, &stmt, nullptr) == SQLITE_OK) {
        sqlite3_bind_pointer(stmt, 1, static_cast<void*>(&api), "fts5_api_ptr", nullptr);
        sqlite3_step(stmt);
    }
    sqlite3_finalize(stmt);
    return api;
}

namespace {

int registerOnOpen(sqlite3* db, char**, const sqlite3_api_routines*) {
    // A failure here would make every opening fail; it shows later as "no such tokenizer"
    // on the tables that need it instead.
    registerCharGramTokenizer(db);
    return SQLITE_OK;
}

}  // namespace

bool isShortKeyword(std::string_view keyword) { return characterStarts(keyword).size() <= 3; }

int registerCharGramTokenizer(sqlite3* db) {
    fts5_api* api = fts5ApiOf(db);
    if (!api || api->iVersion < 2) return SQLITE_ERROR;
    fts5_tokenizer methods{createTokenizer, deleteTokenizer, tokenize};
    return api->xCreateTokenizer(api, kCharGramTokenizer, nullptr, &methods, nullptr);
}

void registerCharGramTokenizerEverywhere() {
    static std::once_flag once;
    std::call_once(once, [] { sqlite3_auto_extension(reinterpret_cast<void (*)()>(&registerOnOpen)); });
}

std::string ownerMark(std::int64_t owner) { return kOwnerMarkLead + std::to_string(owner) + kOwnerMarkEnd; }

}  // namespace text_search
