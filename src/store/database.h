#pragma once
// The one connection to the local database file qinglan.db, and the statement helpers every
// window uses. Values always travel as bound parameters, never inside the statement text.
// Every failure throws DatabaseError with the database's error text and the kind of failure.
//
// At rest the file uses SQLite's rollback journal, so qinglan.db alone is the whole database and a
// folder that cannot be written still allows reading (write-ahead logging needs its -shm file even
// for that). While a program has it open for writing, saves go to the write-ahead log, one flush
// to the disk each, and are copied into the file once the program is idle (IdleCheckpoint); the
// last program to close it copies the rest and returns it to the rollback journal.
#include "store/database_error.h"
#include "store/database_file.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <functional>
#include <memory>

namespace store {

class IdleCheckpoint;

// How long after its last save an idle program copies the saves into the file itself.
inline constexpr int kIdleCheckpointMs = 300;

struct OpenOptions {
    // How long a statement waits for another program's lock before it is reported as locked.
    int busyTimeoutMs = 5000;
    // Marks the file as in use (see UseLock), so a restore waits for this program to close it.
    bool markInUse = true;
};

class Database {
public:
    // Opens the file. When it does not exist it is made (with its folder) from the schema and
    // the divination rows the program carries, under a temporary name in the same folder, and
    // renamed into place only when complete; when another program made it meanwhile, that file
    // is used. An existing file is checked before anything is written to it: a file that is not
    // a database of this program, or was made by a newer version, is refused and left exactly
    // as it was (no journal or -wal/-shm files appear). An older file is brought up to the
    // current schema version in one transaction. A file or folder that cannot be written is
    // opened for reading only (readOnly()).
    static std::unique_ptr<Database> open(const QString& filePath, const OpenOptions& options = {});
    // Opens an existing file for reading only, after the same checks as open(), writing nothing
    // to it and leaving no companion files: for looking at a file the user chose.
    static std::unique_ptr<Database> inspect(const QString& filePath, const OpenOptions& options = {});
    // For a command that only reads: a file at rest at the current schema version is opened as
    // inspect() does, so nothing is written or flushed and a writer is held up no longer than a
    // read needs; a file the desktop program keeps on the log is read through it. A missing file,
    // an older one, or one with a save cut off half-way or a log no running program owns is opened
    // by open() instead.
    static std::unique_ptr<Database> openToRead(const QString& filePath, const OpenOptions& options = {});
    // A connection that may write but has changed nothing (no schema step, no journal switch),
    // after inspect()'s checks: for checks that SQLite runs as writes and that are rolled back.
    static std::unique_ptr<Database> openUnchanged(const QString& filePath, const OpenOptions& options = {});
    // A fresh database in memory with the shipped schema and rows (for tests and tools).
    static std::unique_ptr<Database> openInMemory();

    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    const QString& filePath() const { return filePath_; }
    bool readOnly() const { return readOnly_; }

    // First column of the first row as text; empty when there is no row.
    QString getFirstString(const QString& statement, const QVariantList& values = {}) const;
    // First column of the first row as an integer; 0 when there is no row or it is null.
    qint64 getFirstInteger(const QString& statement, const QVariantList& values = {}) const;
    // First column of every row as text, in row order.
    QStringList getFirstItems(const QString& statement, const QVariantList& values = {}) const;

    // Runs a statement that returns no rows.
    void execute(const QString& statement, const QVariantList& values = {});
    // Runs an insert and returns the identifier the database gave the new row.
    qint64 insert(const QString& statement, const QVariantList& values = {});
    // Runs a query and returns it positioned before its first row, for walking the rows.
    QSqlQuery select(const QString& statement, const QVariantList& values = {}) const;
    // Moves a query of select() to its next row: false at the end; a row that cannot be read (a
    // damaged file) throws, where QSqlQuery::next() would end the walk as if it were complete.
    bool nextRow(QSqlQuery& query) const;

    // Runs every statement of a script built into the program (":/store/…").
    void runScript(const QString& resourcePath);

    // Copies every committed save into the file itself now, as the program does once it is idle.
    // False when another program's read kept part of the log back.
    bool checkpoint();

    // The error of the connection's last failure, as the store reports it.
    DatabaseError errorOf(const QSqlError& error) const;

    QSqlDatabase& connection() { return db_; }

    // Closes the file (and its mark of being in use), runs work, which may put another file in
    // its place, and opens the file at the same path again with the same options. The object
    // stays the one everyone holds. An exception from work is passed on once the file is open
    // again; when it cannot be opened again, that failure is thrown instead.
    void reopenAfter(const std::function<void()>& work);

private:
    Database(QString filePath, int busyTimeoutMs);
    QSqlQuery run(const QString& statement, const QVariantList& values) const;
    void openConnection(const QString& name, const QString& options);
    void openForReading(bool walMode);
    void useWriteAheadLog();
    void closeConnection();
    void seed();
    void checkIsOurs() const;
    static void createFile(const QString& path, const OpenOptions& options);
    static void checkBeforeWriting(const QString& path, const OpenOptions& options);

    QString connectionName_;
    QString filePath_;
    OpenOptions options_;
    int busyTimeoutMs_;
    bool readOnly_ = false;
    UseLock inUse_;  // declared before db_: released only after the connection is closed
    QSqlDatabase db_;
    std::unique_ptr<IdleCheckpoint> checkpoint_;  // set while saves go to the write-ahead log
};

// Holds a transaction open; unless commit() is called it is rolled back when the guard ends,
// so an operation that throws half-way leaves nothing of itself behind.
class Transaction {
public:
    explicit Transaction(Database& db);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    void commit();

private:
    Database& db_;
    bool done_ = false;
};

}  // namespace store
