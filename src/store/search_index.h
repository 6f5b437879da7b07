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
// Whether the file holds this version's index (a file opened read-only keeps an older one, which
// the search does not use).
bool hasSearchIndex(const Database& db);

}  // namespace store
