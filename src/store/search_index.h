#pragma once
// The keyword search index's objects in a database (see data/search_index.sql).
#include <QtGlobal>

namespace store {

class Database;

// Creates the index's tables, view and triggers; the index starts empty.
void createSearchIndex(Database& db);
// Indexes the cases with an id above afterId (all of them by default), as the triggers would.
void fillSearchIndex(Database& db, qint64 afterId = 0);
// Removes the index with its triggers, in this version's form or an earlier one's.
void dropSearchIndex(Database& db);
// Makes the index again from the cases (drop, create, fill); run inside the caller's transaction.
void rebuildSearchIndex(Database& db);
// The index's own consistency check, in a transaction that is rolled back: empty when sound, else
// what SQLite found. SQLite runs it as a write, so db must be able to write.
QString searchIndexProblem(Database& db);
// Whether the file holds this version's index (a file opened read-only keeps an older one, which
// the search does not use).
bool hasSearchIndex(const Database& db);

}  // namespace store
