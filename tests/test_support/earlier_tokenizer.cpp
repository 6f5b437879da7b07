#include "test_support/earlier_tokenizer.h"

#include "text_search/char_gram_tokenizer.h"

#include <sqlite3.h>

#include <string>
#include <string_view>

namespace text_search::testing {
namespace {

// The current tokenizer, which the earlier one wraps.
struct Current {
    fts5_tokenizer methods{};
    void* userData = nullptr;
};

struct Instance {
    const Current* current;
    Fts5Tokenizer* tokenizer;
};

using TokenCallback = int (*)(void*, int, const char*, int, int, int);

struct Forward {
    void* context;
    TokenCallback token;
};

int create(void* userData, const char** arguments, int argumentCount, Fts5Tokenizer** out) {
    const auto* current = static_cast<const Current*>(userData);
    Fts5Tokenizer* tokenizer = nullptr;
    if (const int rc = current->methods.xCreate(current->userData, arguments, argumentCount, &tokenizer);
        rc != SQLITE_OK)
        return rc;
    *out = reinterpret_cast<Fts5Tokenizer*>(new Instance{current, tokenizer});
    return SQLITE_OK;
}

void destroy(Fts5Tokenizer* tokenizer) {
    const auto* instance = reinterpret_cast<Instance*>(tokenizer);
    instance->current->methods.xDelete(instance->tokenizer);
    delete instance;
}

// Each term with the stand-in turned back into the NUL byte it stands for.
int withNulBytes(void* context, int flags, const char* term, int size, int start, int end) {
    const auto* forward = static_cast<const Forward*>(context);
    std::string bytes(term, static_cast<std::size_t>(size));
    for (std::size_t at = bytes.find(kNulStandIn); at != std::string::npos; at = bytes.find(kNulStandIn, at + 1))
        bytes.replace(at, kNulStandIn.size(), 1, '\0');
    return forward->token(forward->context, flags, bytes.data(), static_cast<int>(bytes.size()), start, end);
}

int tokenize(Fts5Tokenizer* tokenizer, void* context, int flags, const char* text, int size, TokenCallback token) {
    const auto* instance = reinterpret_cast<Instance*>(tokenizer);
    Forward forward{context, token};
    return instance->current->methods.xTokenize(instance->tokenizer, &forward, flags, text, size, withNulBytes);
}

}  // namespace

bool useEarlierTokenizer(sqlite3* db) {
    fts5_api* api = fts5ApiOf(db);
    if (!api) return false;
    auto* current = new Current;
    if (api->xFindTokenizer(api, kCharGramTokenizer, &current->userData, &current->methods) != SQLITE_OK) {
        delete current;
        return false;
    }
    fts5_tokenizer methods{create, destroy, tokenize};
    return api->xCreateTokenizer(api, kCharGramTokenizer, current, &methods,
                                 [](void* userData) { delete static_cast<Current*>(userData); }) == SQLITE_OK;
}

}  // namespace text_search::testing
