// The tables of a case-service SQLite file and the steps that bring a file of an earlier
// version to the current one. PRAGMA user_version is the number of the last step a file has
// been through; PRAGMA application_id marks the file as the service's.
#pragma once

#include "store/sqlite/sqlite_connection.h"

#include <cstdint>
#include <string>

namespace qinglan::caseservice {

// PRAGMA application_id of a case-service database: "QGLC".
inline constexpr std::int64_t kApplicationId = 0x51474C43;

// The version the steps bring a file to.
std::int64_t sqliteSchemaVersion();

// Creates the tables in a new file or runs the steps an earlier file has not been through, in
// one transaction; throws std::runtime_error for a file of a newer version (left as it is).
// path only names the file in messages.
void createOrMigrateSqliteSchema(SqliteConnection& db, const std::string& path);

bool hasColumn(sqlite3* db, const std::string& table, const std::string& column);

}  // namespace qinglan::caseservice
