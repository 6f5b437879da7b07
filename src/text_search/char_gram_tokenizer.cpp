#include "text_search/char_gram_tokenizer.h"

#include <sqlite3.h>

#include <mutex>
#include <string_view>
#include <vector>

namespace text_search {
namespace {

enum class Mode { Short, Triples };

// The tokenizer instances are the two modes themselves: they keep no other state.
Mode shortMode = Mode::Short, triplesMode = Mode::Triples;

int createTokenizer(void*, const char** arguments, int argumentCount, Fts5Tokenizer** out) {
    if (argumentCount != 1) return SQLITE_ERROR;
    const std::string_view mode = arguments[0];
    if (mode == kShortMode)
        *out = reinterpret_cast<Fts5Tokenizer*>(&shortMode);
    else if (mode == kTriplesMode)
        *out = reinterpret_cast<Fts5Tokenizer*>(&triplesMode);
    else
        return SQLITE_ERROR;
    return SQLITE_OK;
}

void deleteTokenizer(Fts5Tokenizer*) {}

bool isOwnerMark(std::string_view text) {
    if (text.size() < 2 || text.front() != kOwnerMarkLead) return false;
    for (const char c : text.substr(1))
        if (c < '0' || c > '9') return false;
    return true;
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
    const Mode mode = *reinterpret_cast<const Mode*>(instance);
    const std::string_view text(data, static_cast<std::size_t>(size));
    const bool query = (flags & FTS5_TOKENIZE_QUERY) != 0;
    if (isOwnerMark(text)) {
        // A query for an owner mark asks for the whole mark; a stored one is also indexed by its
        // characters so that it stays an ordinary text too.
        const int rc = token(context, 0, data, size, 0, size);
        if (query || rc != SQLITE_OK) return rc;
    }
    std::string folded(text);
    for (char& c : folded)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    const std::vector<int> starts = characterStarts(folded);
    const int count = static_cast<int>(starts.size()) - 1;
    const auto emit = [&](int first, int length) {
        return token(context, 0, folded.data() + starts[first], starts[first + length] - starts[first], starts[first],
                     starts[first + length]);
    };
    if (mode == Mode::Short) {
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

std::string ownerToken(std::int64_t owner) {
    return kOwnerMarkLead + std::to_string(owner);
}

}  // namespace text_search
