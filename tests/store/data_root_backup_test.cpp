// A backup holds the whole data root: the database and the note folder save/. Restoring puts
// both back, after an automatic backup of what it replaces; older backups of the database only
// still restore; the automatic backups are rotated; what a killed backup left is cleared.
#include "store/automatic_backup.h"
#include "store/data_root.h"
#include "store/database_backup.h"
#include "store/database_file.h"

#include <gtest/gtest.h>
#include <QBuffer>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

namespace {

using store::Database;

const QDateTime kNow(QDate(2026, 12, 9), QTime(3, 4, 5));

// 乾为天 in GB18030 (two bytes a character), as an older note file holds it.
const QByteArray kGbLine("\xC7\xAC\xCE\xAA\xCC\xEC\r\n", 8);
const QByteArray kUtf8Line = QStringLiteral("坤为地 T:09:05:00\n").toUtf8();

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

void addCase(Database& db, const QString& number) {
    db.execute(QStringLiteral("insert into gua_table(gua_bianhao) values(?)"), {number});
}

QStringList numbers(Database& db) {
    return db.getFirstItems(QStringLiteral("select gua_bianhao from gua_table order by id"));
}

// Every file below a folder with its bytes, by path below it.
QMap<QString, QByteArray> folderContents(const QString& folder) {
    QMap<QString, QByteArray> contents;
    QDirIterator files(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString path = files.next();
        contents.insert(QDir(folder).relativeFilePath(path), readAll(path));
    }
    return contents;
}

struct DataRoot {
    QTemporaryDir dir;
    QString root = dir.filePath(QStringLiteral("data"));
    QString database = store::databaseFilePath(root);
    QString notes = store::noteFolderPath(root);
};

TEST(DataRootBackup, NotesInBothEncodingsComeBackByteForByteAndTheReplacedOnesAreBackedUp) {
    DataRoot d;
    const QString backup = d.dir.filePath(QStringLiteral("whole.backup"));
    const QMap<QString, QByteArray> saved{
        {QStringLiteral("202301.txt"), kGbLine + kGbLine},
        {QStringLiteral("202612.txt"), kUtf8Line},
        {QStringLiteral("旧笔记/空.txt"), QByteArray()},
    };
    {
        auto db = Database::open(d.database);
        addCase(*db, QStringLiteral("A"));
        for (auto it = saved.begin(); it != saved.end(); ++it) writeFile(QDir(d.notes).filePath(it.key()), it.value());
        store::backupDatabase(*db, backup);
        addCase(*db, QStringLiteral("B"));
    }
    const store::BackupContents contents = store::checkBackupFile(backup);
    EXPECT_EQ(contents.cases, 1);
    EXPECT_EQ(contents.noteFiles, 3);

    // Later the user writes another month and changes one file.
    writeFile(QDir(d.notes).filePath(QStringLiteral("202612.txt")), kUtf8Line + kUtf8Line);
    writeFile(QDir(d.notes).filePath(QStringLiteral("202701.txt")), kUtf8Line);
    const QMap<QString, QByteArray> later = folderContents(d.notes);

    const store::RestoreResult result = store::restoreDatabase(d.database, backup, kNow);
    EXPECT_EQ(folderContents(d.notes), saved);
    EXPECT_EQ(numbers(*Database::open(d.database)), QStringList{"A"});
    EXPECT_EQ(QDir(d.root).entryList({QStringLiteral("*.creating-*")}, QDir::Files | QDir::Dirs), QStringList{});

    // The automatic backup holds what was replaced: restoring it brings the later notes back.
    ASSERT_EQ(result.automaticBackup,
              QDir(store::automaticBackupFolder(d.root)).filePath(QStringLiteral("qinglan-20261209-030405.backup")));
    EXPECT_EQ(store::checkBackupFile(result.automaticBackup).cases, 2);
    store::restoreDatabase(d.database, result.automaticBackup, kNow.addSecs(1));
    EXPECT_EQ(folderContents(d.notes), later);
    EXPECT_EQ(numbers(*Database::open(d.database)), (QStringList{"A", "B"}));
}

TEST(DataRootBackup, ABackupOfTheDatabaseOnlyStillRestoresAndLeavesTheNotesAlone) {
    DataRoot d;
    const QString old = d.dir.filePath(QStringLiteral("old.db"));
    {
        auto db = Database::open(d.database);
        addCase(*db, QStringLiteral("OLD"));
        db->execute(QStringLiteral("vacuum into ?"), {old});  // as backups were written before notes were kept
        addCase(*db, QStringLiteral("NEW"));
    }
    writeFile(QDir(d.notes).filePath(QStringLiteral("202612.txt")), kGbLine);
    EXPECT_EQ(store::checkBackupFile(old).noteFiles, -1);

    store::restoreDatabase(d.database, old, kNow);
    EXPECT_EQ(numbers(*Database::open(d.database)), QStringList{"OLD"});
    EXPECT_EQ(readAll(QDir(d.notes).filePath(QStringLiteral("202612.txt"))), kGbLine);
}

// A current database that cannot be read is replaced all the same; with no automatic backup
// possible, the notes it replaces are kept beside.
TEST(DataRootBackup, RestoringOverADamagedDatabaseKeepsTheReplacedNotesBeside) {
    DataRoot d;
    const QString backup = d.dir.filePath(QStringLiteral("whole.backup"));
    {
        auto db = Database::open(d.database);
        addCase(*db, QStringLiteral("A"));
        store::backupDatabase(*db, backup);  // no note folder yet: an empty note table
    }
    writeFile(d.database, "not a database any more");
    writeFile(QDir(d.notes).filePath(QStringLiteral("202612.txt")), kUtf8Line);

    const store::RestoreResult result = store::restoreDatabase(d.database, backup, kNow);
    EXPECT_TRUE(result.automaticBackup.isEmpty());
    EXPECT_EQ(result.notesKeptAs, d.notes + QStringLiteral(".20261209-030405.bak"));
    EXPECT_EQ(readAll(QDir(result.notesKeptAs).filePath(QStringLiteral("202612.txt"))), kUtf8Line);
    EXPECT_EQ(folderContents(d.notes), (QMap<QString, QByteArray>{}));
    EXPECT_EQ(readAll(result.keptAs), "not a database any more");
    EXPECT_EQ(numbers(*Database::open(d.database)), QStringList{"A"});
}

TEST(DataRootBackup, TheNewestTenAutomaticBackupsAreKept) {
    DataRoot d;
    auto db = Database::open(d.database);
    const QString unrelated = QDir(store::automaticBackupFolder(d.root)).filePath(QStringLiteral("mine.db"));
    writeFile(unrelated, "the user's own file");
    QStringList made;
    for (int i = 0; i < 12; ++i) {
        addCase(*db, QStringLiteral("C%1").arg(i));
        made << QFileInfo(store::automaticBackup(*db, d.root, kNow.addSecs(i / 2))).fileName();
    }
    // Two in the same second get distinct names.
    EXPECT_EQ(made[0], QStringLiteral("qinglan-20261209-030405.backup"));
    EXPECT_EQ(made[1], QStringLiteral("qinglan-20261209-030405-2.backup"));
    const QStringList kept =
        QDir(store::automaticBackupFolder(d.root)).entryList({QStringLiteral("qinglan-*")}, QDir::Files, QDir::Name);
    EXPECT_EQ(kept.size(), store::kAutomaticBackupsKept);
    EXPECT_FALSE(kept.contains(made[0]));
    EXPECT_FALSE(kept.contains(made[1]));
    EXPECT_TRUE(kept.contains(made[11]));
    EXPECT_TRUE(QFile::exists(unrelated));
    EXPECT_EQ(store::checkBackupFile(QFileInfo(unrelated).absoluteDir().filePath(made[11])).cases, 12);
}

TEST(DataRootBackup, OnlyAnImportAddingMoreThanAThousandCasesIsBackedUpFirst) {
    DataRoot d;
    auto db = Database::open(d.database);
    for (const qint64 count : {store::kLargeImportCases, store::kLargeImportCases + 1}) {
        QByteArray lines;
        for (qint64 i = 0; i < count; ++i)
            lines += "{\"gua_bianhao\":\"N" + QByteArray::number(count * 10000 + i) + "\"}\n";
        QBuffer input(&lines);
        input.open(QIODevice::ReadOnly);
        const QString kept = store::backUpBeforeLargeImport(*db, input, d.root, kNow);
        EXPECT_EQ(kept.isEmpty(), count == store::kLargeImportCases) << count;
        EXPECT_EQ(input.pos(), 0);
        EXPECT_EQ(db->getFirstInteger(QStringLiteral("select count(*) from gua_table")), 0);  // only counted
    }
}

// Files a backup killed earlier left beside the target go at the next backup; those of a
// process still running stay.
TEST(DataRootBackup, WhatAKilledBackupLeftIsRemovedByTheNext) {
    DataRoot d;
    const QString target = d.dir.filePath(QStringLiteral("copy.backup"));
    QProcess ended;
    ended.start(QStringLiteral("cat"));
    ASSERT_TRUE(ended.waitForStarted());
    const QString endedPid = QString::number(ended.processId());
    ended.closeWriteChannel();
    ASSERT_TRUE(ended.waitForFinished());
    const QString stale = target + QStringLiteral(".creating-") + endedPid;
    const QString running = target + QStringLiteral(".creating-1");  // init never ends
    for (const QString& file : {stale, stale + QStringLiteral("-journal"), running}) writeFile(file, "partial");
    writeFile(d.notes + QStringLiteral(".creating-") + endedPid + QStringLiteral("/202612.txt"), kUtf8Line);

    auto db = Database::open(d.database);
    store::backupDatabase(*db, target);
    EXPECT_EQ(QDir(d.dir.path()).entryList({QStringLiteral("copy.backup*")}, QDir::Files),
              (QStringList{QStringLiteral("copy.backup"), QFileInfo(running).fileName()}));
    db.reset();
    store::restoreDatabase(d.database, target, kNow);
    EXPECT_EQ(QDir(d.root).entryList({QStringLiteral("save.creating-*")}, QDir::Dirs | QDir::Files), QStringList{});
}

}  // namespace
