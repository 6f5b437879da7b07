#include "store/database_backup.h"

#include "store/automatic_backup.h"
#include "store/backup_notes.h"
#include "store/data_root.h"
#include "store/database_file.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace store {
namespace {

bool sameFile(const QString& a, const QString& b) {
    const QFileInfo x(a), y(b);
    if (x.exists() && y.exists()) return x.canonicalFilePath() == y.canonicalFilePath();
    return x.absoluteFilePath() == y.absoluteFilePath();
}

void removeWithJournal(const QString& path) {
    QFile::remove(path);
    QFile::remove(path + QStringLiteral("-journal"));
}

void removeFolder(const QString& path) {
    if (QFileInfo(path).isDir()) QDir(path).removeRecursively();
}

QString datedBackupName(const QString& databasePath, const QDateTime& now) {
    const QString base = databasePath + u'.' + now.toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString name = base + QStringLiteral(".bak");
    for (int n = 2; QFileInfo::exists(name); ++n) name = base + QStringLiteral("-%1.bak").arg(n);
    return name;
}

// A backup or restore names one file: never empty, never a folder.
void checkFileName(const QString& path) {
    if (path.trimmed().isEmpty())
        throw DatabaseError(QCoreApplication::translate("store::DatabaseBackup", "没有给出备份文件名"));
    if (QFileInfo(path).isDir())
        throw DatabaseError(
            QCoreApplication::translate("store::DatabaseBackup", "%1 是一个文件夹，请给出备份文件名").arg(path));
}

QString noteFolderBeside(const QString& databasePath) { return noteFolderPath(QFileInfo(databasePath).absolutePath()); }

}  // namespace

void backupDatabase(Database& db, const QString& target) {
    checkFileName(target);
    if (sameFile(target, db.filePath()))
        throw DatabaseError(
            QCoreApplication::translate("store::DatabaseBackup", "备份文件不能是数据库文件本身：%1").arg(target));
    const QString path = QFileInfo(target).absoluteFilePath();
    removeStaleCreationFiles(path);
    const QString temp = creationFilePath(path);
    removeWithJournal(temp);
    try {
        db.execute(QStringLiteral("vacuum into ?"), {temp});
        {
            auto copy = Database::open(temp, {OpenOptions{}.busyTimeoutMs, false});
            storeNoteFiles(*copy, noteFolderBeside(db.filePath()));
        }
        syncPath(temp);
        renameOver(temp, path);
    } catch (const DatabaseError& e) {
        removeWithJournal(temp);
        throw DatabaseError(
            QCoreApplication::translate("store::DatabaseBackup", "备份到 %1 失败：%2").arg(path, e.text()),
            e.problem());
    }
    syncPath(QFileInfo(path).absolutePath());
}

BackupContents checkBackupFile(const QString& path) {
    checkFileName(path);
    auto db = Database::inspect(path);
    QString result;
    try {
        result = db->getFirstItems(QStringLiteral("pragma integrity_check")).join(u'\n');
    } catch (const DatabaseError& e) {
        result = e.text();
    }
    if (result != u"ok")
        throw DatabaseError(QCoreApplication::translate("store::DatabaseBackup", "文件 %1 已损坏，不能用来恢复：%2")
                                .arg(path, result.left(500)),
                            DatabaseProblem::Damaged);
    return {db->getFirstInteger(QStringLiteral("select count(*) from gua_table")), countNoteFiles(*db)};
}

RestoreResult restoreDatabase(const QString& databasePath, const QString& backup, const QDateTime& now) {
    const QString path = QFileInfo(databasePath).absoluteFilePath();
    const QString dataRoot = QFileInfo(path).absolutePath();
    const QString notes = noteFolderPath(dataRoot);
    checkFileName(backup);
    if (sameFile(backup, path))
        throw DatabaseError(
            QCoreApplication::translate("store::DatabaseBackup", "不能用数据库文件本身来恢复：%1").arg(backup));
    checkBackupFile(backup);

    // The database and the note folder are made and brought up to date under temporary names
    // beside the ones they replace, so both are complete before either is put in place.
    removeStaleCreationFiles(path);
    removeStaleCreationFiles(notes);
    const QString temp = creationFilePath(path);
    const QString newNotes = creationFilePath(notes);
    auto cleanUp = [&] {
        removeWithJournal(temp);
        removeFolder(newNotes);
    };
    cleanUp();
    bool hasNotes = false;
    try {
        if (!QFile::copy(backup, temp))
            throw DatabaseError(
                QCoreApplication::translate("store::DatabaseBackup", "无法把 %1 复制到 %2").arg(backup, temp));
        QFile::setPermissions(
            temp, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther);
        {
            auto restored = Database::open(temp, {OpenOptions{}.busyTimeoutMs, false});
            hasNotes = takeNoteFiles(*restored, newNotes);
        }
        syncPath(temp);
    } catch (const DatabaseError& e) {
        cleanUp();
        throw DatabaseError(QCoreApplication::translate("store::DatabaseBackup", "恢复失败：%1").arg(e.text()),
                            e.problem());
    }

    // No other program may have the database open while it is replaced: its later saves would
    // go into the file kept aside.
    UseLock alone;
    if (!alone.acquire(path, UseLock::Kind::Exclusive, 0)) {
        cleanUp();
        throw DatabaseError(QCoreApplication::translate("store::DatabaseBackup",
                                                        "数据库文件 %1 正被另一个青岚程序使用，请先关闭它再恢复")
                                .arg(path),
                            DatabaseProblem::Locked);
    }
    RestoreResult result;
    bool currentReadable = true;
    if (QFileInfo::exists(path)) {
        // Opening the current file rolls back a save cut off earlier and ends write-ahead
        // logging, so the file alone is the whole database before it is kept aside.
        std::unique_ptr<Database> current;
        try {
            current = Database::open(path, {OpenOptions{}.busyTimeoutMs, false});
        } catch (const DatabaseError& e) {
            const DatabaseProblem problem = e.problem();
            // A database that cannot be read is only kept aside; anything else stops the restore.
            currentReadable = false;
            if (problem != DatabaseProblem::NotOurs && problem != DatabaseProblem::Damaged &&
                problem != DatabaseProblem::Newer) {
                cleanUp();
                throw;
            }
        }
        try {
            if (current) result.automaticBackup = automaticBackup(*current, dataRoot, now);
        } catch (const DatabaseError& e) {
            // A library damaged inside cannot be copied; restoring over it is how it is rescued,
            // so it is only kept aside, as one that cannot be opened is.
            if (e.problem() != DatabaseProblem::Damaged) {
                cleanUp();
                throw;
            }
            currentReadable = false;
        } catch (...) {
            cleanUp();
            throw;
        }
        current.reset();
        for (const char* companion : {"-journal", "-wal"}) {
            if (QFileInfo(path + QLatin1String(companion)).size() > 0) {
                cleanUp();
                throw DatabaseError(QCoreApplication::translate("store::DatabaseBackup",
                                                                "数据库文件 %1 正被另一个程序写入，请关闭它后再恢复")
                                        .arg(path),
                                    DatabaseProblem::Locked);
            }
        }
        result.keptAs = datedBackupName(path, now);
        keepCopy(path, result.keptAs);
    }
    renameOver(temp, path);
    syncPath(dataRoot);
    if (hasNotes) {
        try {
            if (QFileInfo(notes).isDir()) {
                exchangePaths(newNotes, notes);
                // The replaced notes are in the automatic backup; without one they stay beside.
                if (currentReadable) {
                    removeFolder(newNotes);
                } else {
                    result.notesKeptAs = datedBackupName(notes, now);
                    renameOver(newNotes, result.notesKeptAs);
                }
            } else {
                renameOver(newNotes, notes);
            }
            syncPath(dataRoot);
        } catch (const DatabaseError& e) {
            throw DatabaseError(
                QCoreApplication::translate("store::DatabaseBackup",
                                            "数据库已恢复，但笔记文件夹没能放回原处，恢复的笔记在 %1：%2")
                    .arg(newNotes, e.text()));
        }
    }
    return result;
}

RestoreResult restoreOpenDatabase(Database& db, const QString& backup, const QDateTime& now) {
    checkBackupFile(backup);
    RestoreResult result;
    db.reopenAfter([&] { result = restoreDatabase(db.filePath(), backup, now); });
    return result;
}

}  // namespace store
