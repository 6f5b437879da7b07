#include "store/database_backup.h"

#include "store/database_file.h"

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

QString datedBackupName(const QString& databasePath, const QDateTime& now) {
    const QString base = databasePath + u'.' + now.toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString name = base + QStringLiteral(".bak");
    for (int n = 2; QFileInfo::exists(name); ++n) name = base + QStringLiteral("-%1.bak").arg(n);
    return name;
}

}  // namespace

void backupDatabase(Database& db, const QString& target) {
    if (sameFile(target, db.filePath()))
        throw DatabaseError(QStringLiteral("备份文件不能是数据库文件本身：%1").arg(target));
    const QString path = QFileInfo(target).absoluteFilePath();
    const QString temp = creationFilePath(path);
    removeWithJournal(temp);
    try {
        db.execute(QStringLiteral("vacuum into ?"), {temp});
        syncPath(temp);
        renameOver(temp, path);
    } catch (const DatabaseError& e) {
        removeWithJournal(temp);
        throw DatabaseError(QStringLiteral("备份到 %1 失败：%2").arg(path, e.text()), e.problem());
    }
    syncPath(QFileInfo(path).absolutePath());
}

void checkBackupFile(const QString& path) {
    auto db = Database::inspect(path);
    QString result;
    try {
        result = db->getFirstItems(QStringLiteral("pragma integrity_check")).join(u'\n');
    } catch (const DatabaseError& e) {
        result = e.text();
    }
    if (result != u"ok")
        throw DatabaseError(QStringLiteral("文件 %1 已损坏，不能用来恢复：%2").arg(path, result.left(500)),
                            DatabaseProblem::Damaged);
}

RestoreResult restoreDatabase(const QString& databasePath, const QString& backup, const QDateTime& now) {
    const QString path = QFileInfo(databasePath).absoluteFilePath();
    if (sameFile(backup, path)) throw DatabaseError(QStringLiteral("不能用数据库文件本身来恢复：%1").arg(backup));
    checkBackupFile(backup);

    // The copy is made and brought up to date under a temporary name beside the database.
    const QString temp = creationFilePath(path);
    removeWithJournal(temp);
    try {
        if (!QFile::copy(backup, temp)) throw DatabaseError(QStringLiteral("无法把 %1 复制到 %2").arg(backup, temp));
        QFile::setPermissions(
            temp, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther);
        { auto restored = Database::open(temp, {OpenOptions{}.busyTimeoutMs, false}); }
        syncPath(temp);
    } catch (const DatabaseError& e) {
        removeWithJournal(temp);
        throw DatabaseError(QStringLiteral("恢复失败：%1").arg(e.text()), e.problem());
    }

    RestoreResult result;
    if (QFileInfo::exists(path)) {
        // Opening the current file rolls back a save cut off earlier and ends write-ahead
        // logging, so the file alone is the whole database before it is kept aside.
        try {
            auto current = Database::open(path);
        } catch (const DatabaseError& e) {
            if (e.problem() == DatabaseProblem::Locked) {
                removeWithJournal(temp);
                throw;
            }
        }
    }
    // No other program may have the database open while it is replaced: its later saves would
    // go into the file kept aside.
    UseLock alone;
    if (!alone.acquire(path, UseLock::Kind::Exclusive, 0)) {
        removeWithJournal(temp);
        throw DatabaseError(QStringLiteral("数据库文件 %1 正被另一个青岚程序使用，请先关闭它再恢复").arg(path),
                            DatabaseProblem::Locked);
    }
    if (QFileInfo::exists(path)) {
        for (const char* companion : {"-journal", "-wal"}) {
            if (QFileInfo(path + QLatin1String(companion)).size() > 0) {
                removeWithJournal(temp);
                throw DatabaseError(QStringLiteral("数据库文件 %1 正被另一个程序写入，请关闭它后再恢复").arg(path),
                                    DatabaseProblem::Locked);
            }
        }
        result.keptAs = datedBackupName(path, now);
        keepCopy(path, result.keptAs);
    }
    renameOver(temp, path);
    syncPath(QFileInfo(path).absolutePath());
    return result;
}

RestoreResult restoreOpenDatabase(Database& db, const QString& backup, const QDateTime& now) {
    checkBackupFile(backup);
    RestoreResult result;
    db.reopenAfter([&] { result = restoreDatabase(db.filePath(), backup, now); });
    return result;
}

}  // namespace store
