#include "store/database.h"

#include "store/sql_script.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlRecord>
#include <QVariant>
#include <atomic>

namespace store {
namespace {

QString nextConnectionName() {
    static std::atomic<int> counter{0};
    return QStringLiteral("qinglan-store-%1").arg(++counter);
}

QString readResource(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw DatabaseError(QStringLiteral("程序内缺少数据文件 %1").arg(path));
    return QString::fromUtf8(file.readAll());
}

const char* const kTables[] = {"gua_table", "fenlei_table", "zhi", "bagua"};

}  // namespace

Database::Database(QString connectionName, QString filePath)
    : connectionName_(std::move(connectionName)),
      filePath_(std::move(filePath)),
      db_(QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName_)) {
    db_.setDatabaseName(filePath_);
}

Database::~Database() {
    db_.close();
    db_ = QSqlDatabase();
    QSqlDatabase::removeDatabase(connectionName_);
}

std::unique_ptr<Database> Database::open(const QString& filePath) {
    const bool exists = QFileInfo::exists(filePath);
    std::unique_ptr<Database> db(new Database(nextConnectionName(), filePath));
    if (exists) {
        // Look at the file read-only first, so a file that is no database of ours is not touched.
        db->db_.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        if (!db->db_.open())
            throw DatabaseError(QStringLiteral("无法打开数据库文件 %1：%2").arg(filePath, db->db_.lastError().text()));
        db->checkTables();
        db->db_.close();
        db->db_.setConnectOptions();
        if (!db->db_.open())
            throw DatabaseError(QStringLiteral("无法打开数据库文件 %1：%2").arg(filePath, db->db_.lastError().text()));
        return db;
    }
    const QString folder = QFileInfo(filePath).absolutePath();
    if (!QDir().mkpath(folder))
        throw DatabaseError(QStringLiteral("无法创建数据文件夹 %1").arg(folder));
    if (!db->db_.open())
        throw DatabaseError(QStringLiteral("无法创建数据库文件 %1：%2").arg(filePath, db->db_.lastError().text()));
    try {
        db->seed();
    } catch (const DatabaseError& e) {
        db.reset();
        QFile::remove(filePath);  // no half-made database stays behind
        throw DatabaseError(QStringLiteral("无法创建数据库文件 %1：%2").arg(filePath, e.text()));
    }
    return db;
}

std::unique_ptr<Database> Database::openInMemory() {
    std::unique_ptr<Database> db(new Database(nextConnectionName(), QStringLiteral(":memory:")));
    if (!db->db_.open()) throw DatabaseError(db->db_.lastError().text());
    db->seed();
    return db;
}

void Database::seed() {
    // Write-ahead logging: one flush per saved case instead of several, and readers never wait.
    // The mode is kept by the file; a file made elsewhere keeps its own.
    if (filePath_ != u":memory:") execute(QStringLiteral("PRAGMA journal_mode=WAL"));
    Transaction transaction(*this);
    runScript(QStringLiteral(":/store/schema.sql"));
    runScript(QStringLiteral(":/store/divination_rows.sql"));
    transaction.commit();
}

void Database::runScript(const QString& resourcePath) {
    for (const QString& statement : splitSqlScript(readResource(resourcePath))) execute(statement);
}

void Database::checkTables() const {
    QSqlQuery query(db_);
    if (!query.exec(QStringLiteral("select name from sqlite_master where type='table'")))
        throw DatabaseError(
            QStringLiteral("文件 %1 不是可用的数据库：%2").arg(filePath_, query.lastError().text()));
    QStringList names;
    while (query.next()) names << query.value(0).toString();
    for (const char* table : kTables) {
        if (!names.contains(QLatin1String(table)))
            throw DatabaseError(QStringLiteral("数据库文件 %1 缺少表 %2").arg(filePath_, QLatin1String(table)));
    }
}

QSqlQuery Database::run(const QString& statement, const QVariantList& values) const {
    QSqlQuery query(db_);
    query.setForwardOnly(true);
    if (!query.prepare(statement)) throw DatabaseError(query.lastError().text());
    for (const QVariant& value : values) query.addBindValue(value);
    if (!query.exec()) throw DatabaseError(query.lastError().text());
    return query;
}

QString Database::getFirstString(const QString& statement, const QVariantList& values) const {
    QSqlQuery query = run(statement, values);
    return query.next() ? query.value(0).toString() : QString();
}

qint64 Database::getFirstInteger(const QString& statement, const QVariantList& values) const {
    QSqlQuery query = run(statement, values);
    return query.next() ? query.value(0).toLongLong() : 0;
}

QStringList Database::getFirstItems(const QString& statement, const QVariantList& values) const {
    QSqlQuery query = run(statement, values);
    QStringList items;
    while (query.next()) items << query.value(0).toString();
    return items;
}

void Database::execute(const QString& statement, const QVariantList& values) { run(statement, values); }

qint64 Database::insert(const QString& statement, const QVariantList& values) {
    return run(statement, values).lastInsertId().toLongLong();
}

QSqlQuery Database::select(const QString& statement, const QVariantList& values) const {
    return run(statement, values);
}

Transaction::Transaction(Database& db) : db_(db) {
    if (!db_.connection().transaction()) throw DatabaseError(db_.connection().lastError().text());
}

Transaction::~Transaction() {
    if (!done_) db_.connection().rollback();
}

void Transaction::commit() {
    if (!db_.connection().commit()) throw DatabaseError(db_.connection().lastError().text());
    done_ = true;
}

}  // namespace store
