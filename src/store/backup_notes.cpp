#include "store/backup_notes.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>

namespace store {
namespace {

// mingcheng: the path below the note folder, with "/" between folders; neirong is null for an empty file.
const QString kCreateTable = QStringLiteral(
    "create table biji_wenjian(mingcheng text primary key not null, neirong blob, xiugai integer)");

bool hasNoteTable(const Database& db) {
    return db.getFirstInteger(
               QStringLiteral("select count(*) from sqlite_master where type='table' and name='biji_wenjian'")) > 0;
}

// A name from a backup file is used only when it stays inside the note folder.
bool isSafeName(const QString& name) {
    if (name.isEmpty() || name.startsWith(u'/') || name.contains(u'\\') || name.contains(QChar(0))) return false;
    const QStringList parts = name.split(u'/');
    for (const QString& part : parts)
        if (part.isEmpty() || part == u"." || part == u"..") return false;
    return true;
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw DatabaseError(
            QCoreApplication::translate("store::BackupNotes", "无法读取笔记文件 %1：%2").arg(path, file.errorString()));
    return file.readAll();
}

void writeFile(const QString& path, const QByteArray& bytes, qint64 changedMs) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.flush())
        throw DatabaseError(
            QCoreApplication::translate("store::BackupNotes", "无法写入笔记文件 %1：%2").arg(path, file.errorString()));
    if (changedMs > 0) file.setFileTime(QDateTime::fromMSecsSinceEpoch(changedMs), QFileDevice::FileModificationTime);
    file.close();
    syncPath(path);
}

}  // namespace

qint64 storeNoteFiles(Database& backup, const QString& folder) {
    Transaction transaction(backup);
    backup.execute(kCreateTable);
    qint64 count = 0;
    const QDir root(folder);
    QDirIterator files(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QFileInfo file(files.next());
        backup.execute(QStringLiteral("insert into biji_wenjian(mingcheng,neirong,xiugai) values(?,?,?)"),
                       {root.relativeFilePath(file.filePath()), readFile(file.filePath()),
                        file.lastModified().toMSecsSinceEpoch()});
        ++count;
    }
    transaction.commit();
    return count;
}

qint64 countNoteFiles(const Database& backup) {
    if (!hasNoteTable(backup)) return -1;
    return backup.getFirstInteger(QStringLiteral("select count(*) from biji_wenjian"));
}

bool takeNoteFiles(Database& restored, const QString& folder) {
    if (!hasNoteTable(restored)) return false;
    if (!QDir().mkpath(folder))
        throw DatabaseError(QCoreApplication::translate("store::BackupNotes", "无法建立文件夹 %1").arg(folder));
    QSqlQuery rows = restored.select(QStringLiteral("select mingcheng,neirong,xiugai from biji_wenjian"));
    const QDir root(folder);
    while (restored.nextRow(rows)) {
        const QString name = rows.value(0).toString();
        if (!isSafeName(name))
            throw DatabaseError(
                QCoreApplication::translate("store::BackupNotes", "备份里的笔记文件名不合规：%1").arg(name),
                DatabaseProblem::Damaged);
        const QString path = root.filePath(name);
        if (name.contains(u'/') && !QDir().mkpath(QFileInfo(path).absolutePath()))
            throw DatabaseError(QCoreApplication::translate("store::BackupNotes", "无法建立文件夹 %1")
                                    .arg(QFileInfo(path).absolutePath()));
        writeFile(path, rows.value(1).toByteArray(), rows.value(2).toLongLong());
    }
    rows.finish();
    syncPath(folder);
    restored.execute(QStringLiteral("drop table biji_wenjian"));
    return true;
}

}  // namespace store
