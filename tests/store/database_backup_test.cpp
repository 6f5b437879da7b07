// Backing up the database while it is in use, and restoring a backup: checked first, the current
// file kept as a dated .bak, nothing changed when the chosen file is refused.
#include "store/database_backup.h"
#include "store/database_file.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>

namespace {

using store::Database;
using store::DatabaseError;
using store::DatabaseProblem;

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void addCase(Database& db, const QString& number) {
    db.execute(QStringLiteral("insert into gua_table(gua_bianhao,duanyu) values(?,?)"),
               {number, QStringLiteral("断语") + number});
}

QStringList numbers(Database& db) {
    return db.getFirstItems(QStringLiteral("select gua_bianhao from gua_table order by id"));
}

const QDateTime kNow(QDate(2026, 12, 9), QTime(3, 4, 5));

TEST(DatabaseBackup, ABackupTakenWhileInUseHoldsEveryCaseAndCanBeRestored) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("data/qinglan.db"));
    const QString backup = dir.filePath(QStringLiteral("备份 一/qinglan-backup.db"));
    QDir().mkpath(dir.filePath(QStringLiteral("备份 一")));
    {
        auto db = Database::open(path);
        addCase(*db, QStringLiteral("A"));
        {
            // Another program is in the middle of reading.
            auto reader = Database::open(path);
            QSqlQuery open = reader->select(QStringLiteral("select id from gua_table"));
            ASSERT_TRUE(open.next());
            store::backupDatabase(*db, backup);
            store::backupDatabase(*db, backup);  // an existing backup file is replaced
        }
        addCase(*db, QStringLiteral("B"));
        EXPECT_THROW(store::backupDatabase(*db, path), DatabaseError);  // never onto itself
    }
    EXPECT_NO_THROW(store::checkBackupFile(backup));
    EXPECT_EQ(numbers(*Database::inspect(backup)), QStringList{"A"});

    const store::RestoreResult result = store::restoreDatabase(path, backup, kNow);
    EXPECT_EQ(result.keptAs, path + QStringLiteral(".20261209-030405.bak"));
    auto restored = Database::open(path);
    EXPECT_EQ(numbers(*restored), QStringList{"A"});
    EXPECT_EQ(numbers(*Database::inspect(result.keptAs)), (QStringList{"A", "B"}));
    EXPECT_FALSE(QFile::exists(store::creationFilePath(path)));

    // While a program has the database open, restoring is refused: its later saves would go
    // into the file kept aside.
    try {
        store::restoreDatabase(path, backup, kNow);
        ADD_FAILURE() << "restored under a running program";
    } catch (const DatabaseError& e) {
        EXPECT_EQ(e.problem(), DatabaseProblem::Locked) << e.text().toStdString();
    }
    EXPECT_FALSE(QFile::exists(path + QStringLiteral(".20261209-030405-2.bak")));

    // A second restore in the same second keeps the first .bak.
    restored.reset();
    const store::RestoreResult second = store::restoreDatabase(path, backup, kNow);
    EXPECT_EQ(second.keptAs, path + QStringLiteral(".20261209-030405-2.bak"));
    EXPECT_EQ(numbers(*Database::inspect(result.keptAs)), (QStringList{"A", "B"}));
}

TEST(DatabaseBackup, ARefusedBackupFileChangesNothing) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("qinglan.db"));
    const QString good = dir.filePath(QStringLiteral("good.db"));
    {
        auto db = Database::open(path);
        for (int i = 0; i < 300; ++i)
            addCase(*db, QStringLiteral("case-%1-").arg(i) + QStringLiteral("长").repeated(200));
        store::backupDatabase(*db, good);
    }
    auto makeFile = [&](const char* name, const QByteArray& bytes) {
        const QString p = dir.filePath(QLatin1String(name));
        QFile f(p);
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
        return p;
    };
    QByteArray damagedBytes = readAll(good);
    for (qsizetype at = 8 * 4096; at < damagedBytes.size() - 4096; at += 4096)
        damagedBytes.replace(at + 100, 64, QByteArray(64, '\x5a'));
    QByteArray newerBytes = readAll(good);
    newerBytes[63] = 9;  // user_version 9

    struct Case {
        QString file;
        DatabaseProblem problem;
    };
    const Case cases[] = {
        {makeFile("text.db", "not a database at all"), DatabaseProblem::NotOurs},
        {makeFile("damaged.db", damagedBytes), DatabaseProblem::Damaged},
        {makeFile("newer.db", newerBytes), DatabaseProblem::Newer},
        {dir.filePath(QStringLiteral("missing.db")), DatabaseProblem::Other},
        {path, DatabaseProblem::Other},  // the database itself
    };
    const QByteArray before = readAll(path);
    for (const Case& c : cases) {
        try {
            store::restoreDatabase(path, c.file, kNow);
            ADD_FAILURE() << c.file.toStdString() << " was restored";
        } catch (const DatabaseError& e) {
            EXPECT_EQ(e.problem(), c.problem) << c.file.toStdString() << ": " << e.text().toStdString();
        }
        EXPECT_EQ(readAll(path), before) << c.file.toStdString();
    }
    EXPECT_EQ(QDir(dir.path()).entryList({QStringLiteral("*.bak"), QStringLiteral("*.creating-*")}, QDir::Files),
              QStringList{});
}

// The program restores into the database it has open: the same object goes on working on the
// restored file, and is still marked in use, so another restore waits for it.
TEST(DatabaseBackup, RestoringTheOpenDatabaseKeepsItUsable) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("qinglan.db"));
    const QString backup = dir.filePath(QStringLiteral("backup.db"));
    const QString text = dir.filePath(QStringLiteral("text.db"));
    {
        QFile f(text);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("not a database at all");
    }
    auto db = Database::open(path);
    addCase(*db, QStringLiteral("A"));
    store::backupDatabase(*db, backup);
    addCase(*db, QStringLiteral("B"));

    struct Refused {
        QString file;
        bool otherProgramOpen;
        DatabaseProblem problem;
    };
    for (const Refused& r : {Refused{text, false, DatabaseProblem::NotOurs},
                             Refused{backup, true, DatabaseProblem::Locked}}) {
        auto other = r.otherProgramOpen ? Database::open(path) : nullptr;
        try {
            store::restoreOpenDatabase(*db, r.file, kNow);
            ADD_FAILURE() << r.file.toStdString() << " was restored";
        } catch (const DatabaseError& e) {
            EXPECT_EQ(e.problem(), r.problem) << e.text().toStdString();
        }
        EXPECT_EQ(numbers(*db), (QStringList{"A", "B"})) << r.file.toStdString();
    }
    addCase(*db, QStringLiteral("C"));

    const store::RestoreResult result = store::restoreOpenDatabase(*db, backup, kNow);
    EXPECT_EQ(numbers(*db), QStringList{"A"});
    addCase(*db, QStringLiteral("D"));
    EXPECT_EQ(numbers(*db), (QStringList{"A", "D"}));
    EXPECT_EQ(numbers(*Database::inspect(result.keptAs)), (QStringList{"A", "B", "C"}));
    try {
        store::restoreDatabase(path, backup, kNow);
        ADD_FAILURE() << "restored under the running program";
    } catch (const DatabaseError& e) {
        EXPECT_EQ(e.problem(), DatabaseProblem::Locked) << e.text().toStdString();
    }
}

}  // namespace
