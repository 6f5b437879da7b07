#pragma once
// The one connection to the local database file qinglan.db, and the statement helpers every
// window uses. Values always travel as bound parameters, never inside the statement text.
// Every failure throws DatabaseError with the database's error text.
#include "store/database_error.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <memory>

namespace store {

class Database {
public:
    // Opens the file as it is. When it does not exist it is created (with its folder) from the
    // schema and the divination rows the program carries. A file that is not a database, or
    // that lacks one of the four tables, is refused with a message naming it and is left as it was.
    static std::unique_ptr<Database> open(const QString& filePath);
    // A fresh database in memory with the shipped schema and rows (for tests and tools).
    static std::unique_ptr<Database> openInMemory();

    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    const QString& filePath() const { return filePath_; }

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

    QSqlDatabase& connection() { return db_; }

private:
    Database(QString connectionName, QString filePath);
    QSqlQuery run(const QString& statement, const QVariantList& values) const;
    void runScript(const QString& resourcePath);
    void seed();
    void checkTables() const;

    QString connectionName_;
    QString filePath_;
    QSqlDatabase db_;
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
