#include "store/store_location.h"

#include <libpq-fe.h>

#include <map>

namespace qinglan::caseservice {

namespace {

constexpr std::string_view kSqlitePrefix = "sqlite:";

bool isPostgresUri(const std::string& db) { return db.starts_with("postgresql://") || db.starts_with("postgres://"); }

// The options of a connection URI that were given, by keyword; nullopt with libpq's reason.
std::optional<std::map<std::string, std::string>> uriOptions(const std::string& uri, std::string& error) {
    char* message = nullptr;
    PQconninfoOption* options = PQconninfoParse(uri.c_str(), &message);
    if (!options) {
        error = message ? message : "out of memory";
        while (!error.empty() && error.back() == '\n') error.pop_back();
        PQfreemem(message);
        return std::nullopt;
    }
    std::map<std::string, std::string> given;
    for (auto* option = options; option->keyword; ++option)
        if (option->val) given.emplace(option->keyword, option->val);
    PQconninfoFree(options);
    return given;
}

}  // namespace

std::optional<StoreLocation> parseStoreLocation(const std::string& db, std::string& error) {
    if (isPostgresUri(db)) {
        if (!uriOptions(db, error)) {
            error = "--db: not a PostgreSQL connection URI: " + error;
            return std::nullopt;
        }
        return StoreLocation{StoreKind::Postgresql, db};
    }
    const std::string file = db.starts_with(kSqlitePrefix) ? db.substr(kSqlitePrefix.size()) : db;
    if (file.empty()) {
        error = "--db wants a file, sqlite:FILE or postgresql://...";
        return std::nullopt;
    }
    return StoreLocation{StoreKind::Sqlite, file};
}

std::string describeStoreLocation(const StoreLocation& location) {
    if (location.kind == StoreKind::Sqlite) return location.where;
    std::string error;
    const auto options = uriOptions(location.where, error);
    if (!options) return "PostgreSQL (unreadable URI)";
    const auto value = [&](const char* key, const char* otherwise) {
        const auto found = options->find(key);
        return found == options->end() || found->second.empty() ? std::string(otherwise) : found->second;
    };
    return "PostgreSQL database " + value("dbname", "(default)") + " as " + value("user", "(default user)") + " on " +
           value("host", "(default host)") + ":" + value("port", "5432");
}

}  // namespace qinglan::caseservice
