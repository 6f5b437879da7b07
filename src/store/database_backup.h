#pragma once
// Backing up the whole database while the program runs, and putting a backup back in place.
#include "store/database.h"

#include <QDateTime>
#include <QString>

namespace store {

// Writes a consistent copy of the whole open database to `target` (an existing file there is
// replaced only once the copy is complete). Other programs may keep reading and saving.
void backupDatabase(Database& db, const QString& target);

// Checks a file chosen for restoring: a database of this program, its integrity check passes,
// its schema version is one this program knows. Throws DatabaseError saying what is wrong.
void checkBackupFile(const QString& path);

struct RestoreResult {
    QString keptAs;  // the dated .bak the replaced database was kept as; empty when there was none
};

// Puts a checked copy of `backup` in place of the database file `databasePath`, brought up to
// the current schema version. The database it replaces stays beside it as
// "qinglan.db.<yyyyMMdd-HHmmss>.bak" (dated `now`). Any Database of this process on
// `databasePath` must be closed first and opened again afterwards. Nothing changes when the
// backup is refused or the database is in use by another program in a way that forbids it.
RestoreResult restoreDatabase(const QString& databasePath, const QString& backup, const QDateTime& now);

// The same for the database this program has open: the backup is checked first (a refused one
// leaves db untouched and open), then db is closed, replaced and opened again.
RestoreResult restoreOpenDatabase(Database& db, const QString& backup, const QDateTime& now);

}  // namespace store
