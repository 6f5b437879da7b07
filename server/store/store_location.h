// Where the service keeps its cases, as given to --db: a postgresql:// (or postgres://) libpq
// connection URI, "sqlite:FILE", or a plain file path (SQLite).
#pragma once

#include <optional>
#include <string>

namespace qinglan::caseservice {

enum class StoreKind { Sqlite, Postgresql };

struct StoreLocation {
    StoreKind kind = StoreKind::Sqlite;
    std::string where;  // the file, or the connection URI
};

// The location, or nullopt with the reason in error (an empty file name, a URI libpq cannot read).
std::optional<StoreLocation> parseStoreLocation(const std::string& db, std::string& error);

// For messages and logs: the file, or the database, user, host and port without any password.
std::string describeStoreLocation(const StoreLocation& location);

}  // namespace qinglan::caseservice
