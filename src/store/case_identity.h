#pragma once
// The identity of a case that stays with it from library to library: gua_table.uuid, a random
// UUID (version 4, lower-case, without braces). The row id is only this file's; the case number
// may be shared by several cases (one imported twice with other texts). Exports carry the uuid,
// so an import recognises a case it already holds.
#include <QString>

namespace store {

class Database;

// Gives every case without a uuid one, adds the column when the file lacks it, and makes the
// unique index and the trigger that gives each new case its own.
void addCaseIdentity(Database& db);

// The stored form of a uuid read from elsewhere; empty when the text is not a UUID.
QString canonicalUuid(const QString& text);

}  // namespace store
