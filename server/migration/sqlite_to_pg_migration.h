// Copies the accounts, category names and cases of a service SQLite file into a PostgreSQL
// database, keeping their identifiers, and checks that PostgreSQL then holds every row of
// the file with the same texts. All in one PostgreSQL transaction: a run that fails changes
// nothing, and a second run over the same file copies nothing more.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qinglan::caseservice {

struct MigratedTable {
    std::string table;
    std::int64_t inFile = 0;  // rows in the SQLite file
    std::int64_t copied = 0;  // of them, rows PostgreSQL did not hold before
};

// Throws std::runtime_error saying what is wrong (file missing or not a service database,
// PostgreSQL unreachable, a row PostgreSQL holds differently under the same identifier).
std::vector<MigratedTable> migrateSqliteToPostgres(const std::string& sqliteFile, const std::string& conninfo);

}  // namespace qinglan::caseservice
