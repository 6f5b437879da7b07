#include "store/automatic_backup.h"

#include "store/case_transfer.h"
#include "store/database_backup.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <algorithm>

namespace store {
namespace {

const QString kPrefix = QStringLiteral("qinglan-");
const QString kSuffix = QStringLiteral(".backup");

void removeOldest(const QString& folder) {
    QFileInfoList backups = QDir(folder).entryInfoList({kPrefix + u'*' + kSuffix}, QDir::Files);
    // Newest first; the time of writing orders two backups dated the same second.
    std::sort(backups.begin(), backups.end(), [](const QFileInfo& a, const QFileInfo& b) {
        if (a.lastModified() != b.lastModified()) return a.lastModified() > b.lastModified();
        return a.fileName() > b.fileName();
    });
    for (qsizetype i = kAutomaticBackupsKept; i < backups.size(); ++i) QFile::remove(backups[i].filePath());
}

}  // namespace

QString automaticBackupFolder(const QString& dataRoot) { return QDir(dataRoot).filePath(QStringLiteral("backups")); }

QString automaticBackup(Database& db, const QString& dataRoot, const QDateTime& now) {
    const QString folder = automaticBackupFolder(dataRoot);
    if (!QDir().mkpath(folder))
        throw DatabaseError(
            QCoreApplication::translate("store::AutomaticBackup", "无法建立自动备份文件夹 %1").arg(folder));
    const QString base = QDir(folder).filePath(kPrefix + now.toString(QStringLiteral("yyyyMMdd-HHmmss")));
    QString path = base + kSuffix;
    for (int n = 2; QFileInfo::exists(path); ++n) path = base + QStringLiteral("-%1").arg(n) + kSuffix;
    backupDatabase(db, path);
    removeOldest(folder);
    return path;
}

QString backUpBeforeLargeImport(Database& db, QIODevice& cases, const QString& dataRoot, const QDateTime& now) {
    const ImportReport count = importCases(db, cases, ImportMode::DryRun);
    if (!cases.reset())
        throw DatabaseError(QCoreApplication::translate("store::AutomaticBackup", "无法重新读取要导入的卦例"));
    return count.added > kLargeImportCases ? automaticBackup(db, dataRoot, now) : QString();
}

}  // namespace store
