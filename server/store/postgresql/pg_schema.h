// The tables of the case service in PostgreSQL, created and brought up to date at start.
#pragma once

#include "store/postgresql/pg_connection.h"

namespace qinglan::caseservice {

// The schema version this build writes.
int pgSchemaVersion();

// Creates the tables, functions and indexes, or brings older ones to pgSchemaVersion(),
// in one transaction under an advisory lock (instances starting together take turns).
// Throws std::runtime_error saying what is wrong: a database that is not UTF-8, one that
// holds another program's tables, one written by a newer service, missing privileges.
void createOrMigratePgSchema(PgConnection& db);

}  // namespace qinglan::caseservice
