#pragma once
// Backing up the whole data root while the program runs, and putting a backup back in place.
// A backup is one SQLite file: the database, and the note folder "save" beside it in a table of
// its own (see backup_notes.h).
#include "store/database.h"

#include <QDateTime>
#include <QString>

namespace store {

// Writes a consistent copy of the whole open database, and of the note folder beside its file,
// to `target` (an existing file there is replaced only once the copy is complete). Other
// programs may keep reading and saving. What a backup killed earlier left beside `target` is
// removed first.
void backupDatabase(Database& db, const QString& target);

struct BackupContents {
    qint64 cases = 0;
    qint64 noteFiles = -1;  // -1: a backup of the database only, made before notes were kept
};

// Checks a backup file: a database of this program, its integrity check passes, its schema
// version is one this program knows. Throws DatabaseError saying what is wrong.
BackupContents checkBackupFile(const QString& path);

struct RestoreResult {
    QString keptAs;           // the dated .bak the replaced database was kept as; empty when there was none
    QString automaticBackup;  // the automatic backup of the replaced data root; empty when there was none
    QString notesKeptAs;      // where the replaced note folder was kept when no automatic backup could be made
};

// Puts a checked copy of `backup` in place of the database file `databasePath`, brought up to
// the current schema version, and the backup's note files in place of the note folder beside
// it (a backup of the database only leaves the note folder as it is). First the data root is
// backed up automatically (automatic_backup.h); the database it replaces also stays beside it as
// "qinglan.db.<yyyyMMdd-HHmmss>.bak" (dated `now`). When the replaced database cannot be read,
// so no automatic backup can be made, the replaced note folder is kept as
// "save.<yyyyMMdd-HHmmss>.bak". Any Database of this process on `databasePath` must be closed
// first and opened again afterwards. Nothing changes when the backup is refused or the database
// is in use by another program in a way that forbids it.
RestoreResult restoreDatabase(const QString& databasePath, const QString& backup, const QDateTime& now);

// The same for the database this program has open: the backup is checked first (a refused one
// leaves db untouched and open), then db is closed, replaced and opened again.
RestoreResult restoreOpenDatabase(Database& db, const QString& backup, const QDateTime& now);

}  // namespace store
