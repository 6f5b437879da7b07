#pragma once
// Backups the program makes by itself before a step that replaces or adds much: restoring a
// backup, importing a large file. They are kept in the folder "backups" of the data root as
// "qinglan-<yyyyMMdd-HHmmss>.backup", the newest kAutomaticBackupsKept of them.
#include "store/database.h"

#include <QDateTime>
#include <QIODevice>
#include <QString>

namespace store {

inline constexpr int kAutomaticBackupsKept = 10;
// An import that would add more cases than this is preceded by an automatic backup.
inline constexpr qint64 kLargeImportCases = 1000;

// The folder of the automatic backups inside a data root.
QString automaticBackupFolder(const QString& dataRoot);

// Backs up the data root of `db` (database and note folder, as backupDatabase does) into the
// automatic backup folder of `dataRoot` under a name dated `now`, then removes the oldest
// automatic backups beyond kAutomaticBackupsKept. Returns the new file's path.
QString automaticBackup(Database& db, const QString& dataRoot, const QDateTime& now);

// Counts what importing `cases` (JSON Lines, read from the start) would add and, when that is
// more than kLargeImportCases, makes an automatic backup first. `cases` is left at its start.
// Returns the automatic backup's path, or empty when none was needed.
QString backUpBeforeLargeImport(Database& db, QIODevice& cases, const QString& dataRoot, const QDateTime& now);

}  // namespace store
