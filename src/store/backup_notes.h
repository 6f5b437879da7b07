#pragma once
// The note folder "save" inside a backup file: every file under it, byte for byte (GB18030 and
// UTF-8 alike) with its time of change, in a table of its own, so that one SQLite file holds the
// whole data root and is checked by the same integrity check. Backups made before the table
// existed hold the database only.
#include "store/database.h"

#include <QString>

namespace store {

// Copies every file under `folder` (none when it is missing) into the note table of `backup`,
// made here. Returns how many files were copied.
qint64 storeNoteFiles(Database& backup, const QString& folder);

// The number of note files `backup` holds, or -1 when it has no note table (an older backup).
qint64 countNoteFiles(const Database& backup);

// Writes the files of the note table into `folder` (made here; it must not exist yet) and drops
// the table from `restored`. False, with nothing written, when there is no note table.
bool takeNoteFiles(Database& restored, const QString& folder);

}  // namespace store
