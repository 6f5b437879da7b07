// Opening the database file the way a user meets it: an older or newer file, a file another
// program holds, a read-only folder, a full disk, what a killed first start left behind, and a
// plain copy of the file taken while the program runs.
#include "store/case_history.h"
#include "store/case_store.h"
#include "store/database.h"
#include "store/database_file.h"
#include "store/schema_version.h"
#include "store/search_index.h"
#include "test_support/small_tmpfs.h"

#include <gtest/gtest.h>
#include <unistd.h>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTimer>
#include <csignal>

namespace {

using store::Database;
using store::DatabaseError;
using store::DatabaseProblem;

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Runs the event loop as an idle program does for a while after its last save.
void waitUntilIdle() {
    QEventLoop loop;
    QTimer::singleShot(store::kIdleCheckpointMs + 200, &loop, &QEventLoop::quit);
    loop.exec();
}

// The judgment and feedback of the one case in a copy of the file alone, no companions.
QString textsInPlainCopy(const QTemporaryDir& dir, const QString& path) {
    static int copies = 0;
    const QString folder = dir.filePath(QStringLiteral("copy%1").arg(++copies));
    QDir().mkpath(folder);
    const QString copy = folder + QStringLiteral("/qinglan.db");
    if (!QFile::copy(path, copy)) return QStringLiteral("(not copied)");
    return Database::inspect(copy)->getFirstString(QStringLiteral("select duanyu||'/'||fankui from gua_table"));
}

// Stores a case with these texts, as any save does.
void storeCase(Database& db, const QVariant& number, const QString& judgment, const QString& feedback) {
    db.execute(QStringLiteral("insert into gua_table(gua_ming,gua_bianhao,duanyu,fankui) values('乾为天',?,?,?)"),
               {number, judgment, feedback});
}

// A second, plain SQLite connection to the file, as another program would have.
class OtherProgram {
public:
    explicit OtherProgram(const QString& path) : name_(QStringLiteral("other-%1").arg(++count_)) {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name_);
        db.setDatabaseName(path);
        db.open();
    }
    ~OtherProgram() {
        { QSqlDatabase::database(name_).close(); }
        QSqlDatabase::removeDatabase(name_);
    }
    bool run(const QString& statement) {
        QSqlQuery query(QSqlDatabase::database(name_));
        return query.exec(statement);
    }

private:
    static inline int count_ = 0;
    QString name_;
};

QStringList companionsOf(const QString& path) {
    QStringList found;
    for (const char* companion : {"-journal", "-wal", "-shm"})
        if (QFile::exists(path + QLatin1String(companion))) found << QLatin1String(companion);
    return found;
}

TEST(SchemaVersion, NewFilesCarryTheVersionAndOlderFilesAreBroughtForward) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("qinglan.db"));
    {
        auto db = Database::open(path);
        EXPECT_EQ(db->getFirstInteger(QStringLiteral("pragma user_version")), store::kSchemaVersion);
        // A file as the versions before the version number made it: no search index, version 0,
        // write-ahead logging, one case.
        store::dropSearchIndex(*db);
        db->execute(
            QStringLiteral("insert into gua_table(gua_ming,gua_bianhao,shiyou) "
                           "values('乾为天','20240101111111京房式T:10:00:00','问升职加薪')"));
        db->execute(QStringLiteral("pragma user_version=0"));
        db->execute(QStringLiteral("pragma application_id=0"));
        db->execute(QStringLiteral("pragma journal_mode=wal"));
    }
    auto db = Database::open(path);
    EXPECT_EQ(db->getFirstInteger(QStringLiteral("pragma user_version")), store::kSchemaVersion);
    EXPECT_EQ(db->getFirstInteger(QStringLiteral("pragma application_id")), store::kApplicationId);
    // The index was built from the case already there.
    EXPECT_EQ(db->getFirstInteger(QStringLiteral("select count(*) from gua_fts where gua_fts match '\"升职加\"'")), 1);
    db.reset();
    EXPECT_FALSE(store::readFileHeader(path).walMode) << "closed, the file is back on the rollback journal";
    EXPECT_TRUE(companionsOf(path).isEmpty()) << companionsOf(path).join(u' ').toStdString();
}

TEST(SchemaVersion, FilesThatAreNotOursOrNewerAreRefusedUntouched) {
    struct Case {
        const char* name;
        const char* pragma;
        DatabaseProblem problem;
        const char* needle;
    };
    const Case cases[] = {
        {"newer", "pragma user_version=99", DatabaseProblem::Newer, "更新版本"},
        {"foreign application", "pragma application_id=1234", DatabaseProblem::NotOurs, "别的程序"},
        {"foreign tables", "drop table zhi", DatabaseProblem::NotOurs, "缺少表 zhi"},
    };
    for (const Case& c : cases) {
        for (const bool wal : {false, true}) {
            QTemporaryDir dir;
            const QString path = dir.filePath(QStringLiteral("qinglan.db"));
            {
                auto db = Database::open(path);
                if (wal) db->execute(QStringLiteral("pragma journal_mode=wal"));
                db->execute(QString::fromLatin1(c.pragma));
            }
            const QByteArray before = readAll(path);
            try {
                Database::open(path);
                ADD_FAILURE() << c.name << " accepted";
            } catch (const DatabaseError& e) {
                EXPECT_EQ(e.problem(), c.problem) << c.name << ": " << e.text().toStdString();
                EXPECT_TRUE(e.text().contains(QString::fromUtf8(c.needle))) << e.text().toStdString();
                EXPECT_TRUE(e.text().contains(path));
            }
            EXPECT_EQ(readAll(path), before) << c.name;
            EXPECT_TRUE(companionsOf(path).isEmpty())
                << c.name << " wal=" << wal << " " << companionsOf(path).join(u' ').toStdString();
        }
    }
}

TEST(DatabaseOpening, ALockedFileIsReportedAsLockedAfterTheBusyTimeout) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("qinglan.db"));
    Database::open(path);
    auto mine = Database::open(path, {300});
    OtherProgram other(path);
    ASSERT_TRUE(other.run(QStringLiteral("begin exclusive")));

    QElapsedTimer waited;
    waited.start();
    try {
        Database::open(path, {300});
        ADD_FAILURE() << "opened a file held exclusively";
    } catch (const DatabaseError& e) {
        EXPECT_EQ(e.problem(), DatabaseProblem::Locked) << e.text().toStdString();
        EXPECT_TRUE(e.text().contains(QStringLiteral("锁定"))) << e.text().toStdString();
    }
    EXPECT_GE(waited.elapsed(), 250);  // it waited for the other program before giving up
    EXPECT_THROW(mine->execute(QStringLiteral("update zhi set value1='0' where id=85")), DatabaseError);
    try {
        mine->execute(QStringLiteral("update zhi set value1='0' where id=85"));
    } catch (const DatabaseError& e) {
        EXPECT_EQ(e.problem(), DatabaseProblem::Locked);
    }
    other.run(QStringLiteral("rollback"));
    EXPECT_NO_THROW(mine->execute(QStringLiteral("update zhi set value1='0' where id=85")));
}

TEST(DatabaseOpening, WhatAKilledFirstStartLeftIsCleanedUpButRunningMakersAreLeftAlone) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("qinglan.db"));
    QProcess finished;
    finished.start(QStringLiteral("true"));
    ASSERT_TRUE(finished.waitForFinished());
    const qint64 deadPid = finished.processId() ? finished.processId() : 999999;
    const QString stale = path + QStringLiteral(".creating-%1").arg(deadPid == 0 ? 999999 : deadPid);
    const QString staleJournal = stale + QStringLiteral("-journal");
    const QString running = path + QStringLiteral(".creating-%1").arg(::getppid());
    for (const QString& f : {stale, staleJournal, running}) {
        QFile file(f);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("half");
    }
    auto db = Database::open(path);
    EXPECT_FALSE(QFile::exists(stale));
    EXPECT_FALSE(QFile::exists(staleJournal));
    EXPECT_TRUE(QFile::exists(running));  // its maker (our parent) still runs
    EXPECT_FALSE(QFile::exists(store::creationFilePath(path)));
    EXPECT_EQ(db->getFirstInteger(QStringLiteral("select count(*) from bagua")), 64);
}

TEST(DatabaseOpening, APlainCopyTakenWhileTheProgramRunsHoldsEverySavedCase) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("qinglan.db"));
    auto db = Database::open(path);
    store::CaseHistory history;
    store::CaseStore cases(*db, history);
    store::CastCase cast{QStringLiteral("主卦：乾为天"),
                         QStringLiteral("20240101111111京房式T:10:00:00"),
                         QStringLiteral("杂类"),
                         QStringLiteral("男"),
                         QStringLiteral("1980"),
                         QStringLiteral("问事"),
                         QDate(2024, 1, 1)};
    ASSERT_TRUE(cases.createCase(cast).stored);
    ASSERT_TRUE(
        cases.saveCaseTexts(store::TextsToSave::Both, {QStringLiteral("断语正文"), QStringLiteral("反馈正文")}).saved);

    waitUntilIdle();

    EXPECT_EQ(textsInPlainCopy(dir, path), QStringLiteral("断语正文/反馈正文"));
    db.reset();
    EXPECT_TRUE(companionsOf(path).isEmpty()) << companionsOf(path).join(u' ').toStdString();
}

TEST(DatabaseOpening, ASaveTooLargeForTheLogIsInTheFileAsSoonAsItIsCommitted) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("qinglan.db"));
    auto db = Database::open(path);
    // About 6 MB of pages: more than the log keeps until the program is idle.
    const QString judgment = QString(700'000, QChar(u'断'));
    store::Transaction transaction(*db);
    for (int i = 0; i < 3; ++i)
        storeCase(*db, i, judgment, QStringLiteral(""));
    transaction.commit();
    EXPECT_EQ(textsInPlainCopy(dir, path), judgment + u'/');  // no event loop ran
}

TEST(DatabaseOpening, AnotherProgramReadingKeepsThisRunOnTheRollbackJournalWithoutWaiting) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("qinglan.db"));
    { auto made = Database::open(path); }
    OtherProgram other(path);
    ASSERT_TRUE(other.run(QStringLiteral("begin")));
    ASSERT_TRUE(other.run(QStringLiteral("select count(*) from gua_table")));  // an export, say

    QElapsedTimer opening;
    opening.start();
    auto db = Database::open(path);
    EXPECT_LT(opening.elapsed(), 2500) << "opening waited for the other program's read";
    EXPECT_EQ(db->getFirstString(QStringLiteral("pragma journal_mode")), QStringLiteral("delete"));
    ASSERT_TRUE(other.run(QStringLiteral("commit")));

    storeCase(*db, QStringLiteral("1"), QStringLiteral("甲"), QStringLiteral("乙"));
    EXPECT_EQ(textsInPlainCopy(dir, path), QStringLiteral("甲/乙"));  // the rollback journal: at once
    db.reset();
    EXPECT_TRUE(companionsOf(path).isEmpty()) << companionsOf(path).join(u' ').toStdString();
}

TEST(DatabaseOpening, TwoProgramsShareTheLogAndTheLastToCloseLeavesTheFileAlone) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("qinglan.db"));
    auto desktop = Database::open(path);
    auto cli = Database::open(path);
    storeCase(*cli, QStringLiteral("1"), QStringLiteral("甲"), QStringLiteral("乙"));

    QElapsedTimer closing;
    closing.start();
    cli.reset();
    EXPECT_LT(closing.elapsed(), 2500) << "closing waited for the other program";
    EXPECT_TRUE(store::readFileHeader(path).walMode) << "the other program still writes to the log";
    EXPECT_EQ(textsInPlainCopy(dir, path), QStringLiteral("甲/乙")) << "the closed program's save is in the file";
    EXPECT_EQ(desktop->getFirstString(QStringLiteral("select duanyu||'/'||fankui from gua_table")), QStringLiteral("甲/乙"));
    desktop->execute(QStringLiteral("update gua_table set fankui='丙'"));

    desktop.reset();
    EXPECT_FALSE(store::readFileHeader(path).walMode);
    EXPECT_TRUE(companionsOf(path).isEmpty()) << companionsOf(path).join(u' ').toStdString();
    EXPECT_EQ(textsInPlainCopy(dir, path), QStringLiteral("甲/丙"));
}

TEST(DatabaseOpening, AReadOnlyFolderStillAllowsReading) {
    test_support::SmallTmpfs disk("8m");
    QTemporaryDir fallback;
    QString path;
    if (disk.mounted()) {
        path = disk.filePath(QStringLiteral("qinglan.db"));
        { auto db = Database::open(path); }
        ASSERT_TRUE(disk.remountReadOnly());
    } else {
        path = fallback.filePath(QStringLiteral("qinglan.db"));
        { auto db = Database::open(path); }
        QFile::setPermissions(path, QFileDevice::ReadOwner);
        QFile::setPermissions(fallback.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        if (store::canWrite(path))
            GTEST_SKIP() << disk.reason().toStdString() << "; and permissions do not bind this user";
    }
    auto db = Database::open(path);
    EXPECT_TRUE(db->readOnly());
    EXPECT_EQ(db->getFirstInteger(QStringLiteral("select count(*) from bagua")), 64);  // a chart can be drawn
    try {
        db->execute(QStringLiteral("update zhi set value1='0' where id=85"));
        ADD_FAILURE() << "wrote to a read-only database";
    } catch (const DatabaseError& e) {
        EXPECT_EQ(e.problem(), DatabaseProblem::ReadOnly) << e.text().toStdString();
    }
    EXPECT_TRUE(companionsOf(path).isEmpty());
    if (!disk.mounted())
        QFile::setPermissions(fallback.path(),
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

TEST(DatabaseOpening, AFullDiskFailsTheSaveKeepsEarlierCasesAndRecoversWhenSpaceReturns) {
    test_support::SmallTmpfs disk("4m");
    if (!disk.mounted()) GTEST_SKIP() << disk.reason().toStdString();
    const QString path = disk.filePath(QStringLiteral("qinglan.db"));
    auto db = Database::open(path);
    store::CaseHistory history;
    store::CaseStore cases(*db, history);
    store::CastCase cast{QStringLiteral("主卦：乾为天"),
                         QStringLiteral("20240101111111京房式T:10:00:00"),
                         QStringLiteral("杂类"),
                         QStringLiteral("男"),
                         QStringLiteral("1980"),
                         QStringLiteral("问事"),
                         QDate(2024, 1, 1)};
    ASSERT_TRUE(cases.createCase(cast).stored);
    ASSERT_TRUE(cases.saveCaseTexts(store::TextsToSave::Judgment, {QStringLiteral("第一次的断语"), {}}).saved);

    const QString filler = disk.fill();
    const QString big = QStringLiteral("断").repeated(80000);  // 240,000 bytes: within a text's limit
    try {
        cases.saveCaseTexts(store::TextsToSave::Judgment, {big, {}});
        ADD_FAILURE() << "a save on a full disk was reported as done";
    } catch (const DatabaseError& e) {
        EXPECT_EQ(e.problem(), DatabaseProblem::DiskFull) << e.text().toStdString();
    }
    EXPECT_EQ(db->getFirstString(QStringLiteral("pragma integrity_check")), QStringLiteral("ok"));
    EXPECT_EQ(db->getFirstString(QStringLiteral("select duanyu from gua_table")), QStringLiteral("第一次的断语"));

    ASSERT_TRUE(QFile::remove(filler));
    ASSERT_TRUE(cases.saveCaseTexts(store::TextsToSave::Judgment, {big, {}}).saved);
    EXPECT_EQ(db->getFirstString(QStringLiteral("select duanyu from gua_table")), big);
}

}  // namespace

namespace {

// The save loop child is killed at a random moment; every case it reported as saved must be
// there, whole, and the file must pass its integrity check.
TEST(Durability, AProcessKilledInTheMiddleOfSavesLosesNoAcknowledgedSave) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("qinglan.db"));
    int total = 0;
    for (int round = 0; round < 5; ++round) {
        QProcess child;
        child.start(QStringLiteral(QINGLAN_SAVE_LOOP), {path});
        ASSERT_TRUE(child.waitForStarted());
        QByteArray printed;
        const int wanted = 10 + 17 * round;
        while (printed.count('\n') < wanted && child.waitForReadyRead(20000)) printed += child.readAllStandardOutput();
        ::kill(static_cast<pid_t>(child.processId()), SIGKILL);
        child.waitForFinished();
        printed += child.readAllStandardOutput();
        // Only whole lines count as acknowledged.
        const QList<QByteArray> lines = printed.left(printed.lastIndexOf('\n')).split('\n');
        ASSERT_GE(lines.size(), wanted) << child.readAllStandardError().toStdString();
        const int acknowledged = lines.last().toInt();
        total += acknowledged;

        auto db = Database::open(path);
        EXPECT_EQ(db->getFirstString(QStringLiteral("pragma integrity_check")), QStringLiteral("ok")) << round;
        for (int i = 1; i <= acknowledged; ++i) {
            const QString number = QStringLiteral("20240101111111京房式T:%1").arg(i);
            EXPECT_EQ(
                db->getFirstString(
                    QStringLiteral("select duanyu||'/'||fankui from gua_table where gua_bianhao=? order by id desc"),
                    {number}),
                QStringLiteral("断语%1/反馈%1").arg(i))
                << "round " << round << " case " << i;
        }
    }
    EXPECT_GT(total, 0);
}

}  // namespace
