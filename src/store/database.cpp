#include "store/database.h"

#include "store/database_file.h"
#include "store/idle_checkpoint.h"
#include "store/case_identity.h"
#include "store/schema_version.h"
#include "store/sql_script.h"
#include "text_search/char_gram_tokenizer.h"

#include <sqlite3.h>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlRecord>
#include <QUrl>
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
        throw DatabaseError(QCoreApplication::translate("store::Database", "程序内缺少数据文件 %1").arg(path));
    return QString::fromUtf8(file.readAll());
}

const char* const kTables[] = {"gua_table", "fenlei_table", "zhi", "bagua"};

QString busyOption(int ms) { return QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(ms); }

QString folderOf(const QString& path) { return QFileInfo(path).absolutePath(); }

DatabaseError notOurs(const QString& path, const QString& why) {
    return DatabaseError(
        QCoreApplication::translate("store::Database", "文件 %1 不是可用的数据库（%2）；它没有被改动。").arg(path, why),
        DatabaseProblem::NotOurs);
}

DatabaseError newer(const QString& path, qint64 version) {
    return DatabaseError(
        QCoreApplication::translate("store::Database",
                                    "数据库文件 %1 由更新版本的青岚建立（格式版本 %2，本程序只认识到 %3），"
                                    "请用新版本打开；它没有被改动。")
            .arg(path)
            .arg(version)
            .arg(kSchemaVersion),
        DatabaseProblem::Newer);
}

}  // namespace

Database::Database(QString filePath, int busyTimeoutMs)
    : connectionName_(nextConnectionName()),
      filePath_(std::move(filePath)),
      busyTimeoutMs_(busyTimeoutMs),
      db_(QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName_)) {
    // The keyword index's tokenizer must be known to every connection that writes cases.
    text_search::registerCharGramTokenizerEverywhere();
}

Database::~Database() { closeConnection(); }

void Database::closeConnection() {
    if (checkpoint_) {
        // The saves of this run go into the file even when another program keeps it on the log.
        checkpoint_->runNow();
        checkpoint_.reset();
        // Back to the rollback journal, which removes the log, unless another program still has
        // the file open: then the last of them to close does it.
        QSqlQuery query(db_);
        query.exec(QStringLiteral("pragma busy_timeout=0"));
        query.exec(QStringLiteral("pragma journal_mode=delete"));
    }
    db_.close();
    db_ = QSqlDatabase();
    QSqlDatabase::removeDatabase(connectionName_);
}

void Database::useWriteAheadLog() {
    // One flush to the disk per save instead of the rollback journal's four. Where the log cannot
    // be used (no shared memory on the file system, a full disk) the file keeps the rollback journal.
    const QVariant handle = db_.driver()->handle();
    if (qstrcmp(handle.typeName(), "sqlite3*") != 0) return;
    sqlite3* const connection = *static_cast<sqlite3* const*>(handle.constData());
    // Another program reading or writing the file is not waited for: this run keeps the rollback
    // journal.
    sqlite3_busy_timeout(connection, 0);
    const struct WaitingBack {
        sqlite3* connection;
        int ms;
        ~WaitingBack() { sqlite3_busy_timeout(connection, ms); }
    } waitingBack{connection, busyTimeoutMs_};
    try {
        if (getFirstString(QStringLiteral("pragma journal_mode=wal")) != QStringLiteral("wal")) return;
        execute(QStringLiteral("pragma synchronous=full"));
        // A big import leaves a big log; once it has been copied, the file is cut back to this.
        execute(QStringLiteral("pragma journal_size_limit=4194304"));
        // A connection on the log holds a shared lock on the file from its first read on, which
        // keeps another program's closing from taking the file back to the rollback journal.
        getFirstInteger(QStringLiteral("select count(*) from sqlite_master"));
    } catch (const DatabaseError&) {
        QSqlQuery(db_).exec(QStringLiteral("pragma journal_mode=delete"));
        return;
    }
    checkpoint_ = std::make_unique<IdleCheckpoint>(connection, kIdleCheckpointMs);
}

bool Database::checkpoint() { return !checkpoint_ || checkpoint_->runNow(); }

void Database::reopenAfter(const std::function<void()>& work) {
    if (filePath_.isEmpty() || filePath_ == QStringLiteral(":memory:"))
        throw DatabaseError(QCoreApplication::translate("store::Database", "内存中的数据库不能重新打开"),
                            DatabaseProblem::Other);
    closeConnection();
    inUse_.release();
    std::exception_ptr failure;
    try {
        work();
    } catch (...) {
        failure = std::current_exception();
    }
    std::unique_ptr<Database> fresh = open(filePath_, options_);
    std::swap(connectionName_, fresh->connectionName_);
    std::swap(readOnly_, fresh->readOnly_);
    std::swap(db_, fresh->db_);
    std::swap(checkpoint_, fresh->checkpoint_);
    inUse_.swap(fresh->inUse_);
    fresh.reset();
    if (failure) std::rethrow_exception(failure);
}

void Database::openConnection(const QString& name, const QString& options) {
    db_.setDatabaseName(name);
    db_.setConnectOptions(options);
    if (!db_.open()) {
        const DatabaseError e = errorOf(db_.lastError());
        throw DatabaseError(
            QCoreApplication::translate("store::Database", "无法打开数据库文件 %1：%2").arg(filePath_, e.text()),
            e.problem());
    }
}

void Database::openForReading(bool walMode) {
    // A write-ahead-log file without its log is read as it lies, so no -wal/-shm files appear.
    if (walMode && !QFileInfo::exists(filePath_ + QStringLiteral("-wal")))
        openConnection(QUrl::fromLocalFile(filePath_).toString(QUrl::FullyEncoded) + QStringLiteral("?immutable=1"),
                       QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_OPEN_READONLY"));
    else
        openConnection(filePath_, busyOption(busyTimeoutMs_) + QStringLiteral(";QSQLITE_OPEN_READONLY"));
}

std::unique_ptr<Database> Database::open(const QString& filePath, const OpenOptions& options) {
    const QString path = QFileInfo(filePath).absoluteFilePath();
    const QString folder = folderOf(path);
    if (!QFileInfo(folder).isDir() && !QDir().mkpath(folder))
        throw DatabaseError(QCoreApplication::translate("store::Database", "无法创建数据文件夹 %1").arg(folder),
                            DatabaseProblem::ReadOnly);
    if (canWrite(folder)) removeStaleCreationFiles(path);
    if (!QFileInfo::exists(path)) createFile(path, options);
    checkBeforeWriting(path, options);

    std::unique_ptr<Database> db(new Database(path, options.busyTimeoutMs));
    db->options_ = options;
    if (options.markInUse && !db->inUse_.acquire(path, UseLock::Kind::Shared, options.busyTimeoutMs))
        throw DatabaseError(
            QCoreApplication::translate("store::Database", "数据库文件 %1 正在被恢复，请稍后再试").arg(path),
            DatabaseProblem::Locked);
    db->readOnly_ = !canWrite(path) || !canWrite(folder);
    const bool walMode = readFileHeader(path).walMode;
    if (db->readOnly_)
        db->openForReading(walMode);
    else
        db->openConnection(path, busyOption(options.busyTimeoutMs));
    db->checkIsOurs();
    // A page cache large enough that a big transaction (an import) rarely has to spill pages,
    // each spill costing a flush of the journal to the disk. Memory is taken only as used.
    db->execute(QStringLiteral("pragma cache_size=-65536"));
    if (!db->readOnly_) {
        upgradeSchema(*db);
        db->useWriteAheadLog();
    }
    return db;
}

void Database::createFile(const QString& path, const OpenOptions& options) {
    const QString temp = creationFilePath(path);
    const auto removeTemp = [&] {
        QFile::remove(temp);
        QFile::remove(temp + QStringLiteral("-journal"));
    };
    removeTemp();  // this process's own name: anything there is a leftover
    try {
        Database made(temp, options.busyTimeoutMs);
        made.openConnection(temp, busyOption(options.busyTimeoutMs));
        made.seed();
    } catch (const DatabaseError& e) {
        removeTemp();
        throw DatabaseError(
            QCoreApplication::translate("store::Database", "无法创建数据库文件 %1：%2").arg(path, e.text()),
            e.problem());
    }
    syncPath(temp);
    // When another program made the file first, its file is the database and ours goes.
    if (!renameIfAbsent(temp, path)) removeTemp();
    syncPath(folderOf(path));
}

std::unique_ptr<Database> Database::inspect(const QString& filePath, const OpenOptions& options) {
    const QString path = QFileInfo(filePath).absoluteFilePath();
    const FileHeader header = readFileHeader(path);
    switch (header.kind) {
    case FileHeader::Kind::Missing:
        throw DatabaseError(QCoreApplication::translate("store::Database", "数据库文件 %1 不存在").arg(path));
    case FileHeader::Kind::Unreadable:
        throw DatabaseError(
            QCoreApplication::translate("store::Database", "无法读取数据库文件 %1：%2").arg(path, header.error));
    case FileHeader::Kind::Empty: throw notOurs(path, QCoreApplication::translate("store::Database", "空文件"));
    case FileHeader::Kind::NotSqlite:
        throw notOurs(path, QCoreApplication::translate("store::Database", "不是 SQLite 数据库"));
    case FileHeader::Kind::Sqlite: break;
    }
    if (header.applicationId != 0 && header.applicationId != kApplicationId)
        throw notOurs(path, QCoreApplication::translate("store::Database", "别的程序的数据库"));
    if (header.userVersion > kSchemaVersion) throw newer(path, header.userVersion);

    std::unique_ptr<Database> db(new Database(path, options.busyTimeoutMs));
    db->readOnly_ = true;
    db->openForReading(header.walMode);
    db->checkIsOurs();
    return db;
}

std::unique_ptr<Database> Database::openToRead(const QString& filePath, const OpenOptions& options) {
    const QString path = QFileInfo(filePath).absoluteFilePath();
    const FileHeader header = readFileHeader(path);
    const bool current = header.kind == FileHeader::Kind::Sqlite && header.userVersion == kSchemaVersion &&
                         header.applicationId == kApplicationId;
    if (!current) return open(path, options);
    // A log or journal that no running program owns was left by one that was cut off: a writer
    // finishes or rolls it back and returns the file to rest, as any opening for writing does.
    const bool leftovers = QFileInfo::exists(path + QStringLiteral("-wal")) ||
                           QFileInfo::exists(path + QStringLiteral("-journal"));
    if (leftovers && canWrite(path) && canWrite(folderOf(path))) {
        UseLock alone;
        if (alone.acquire(path, UseLock::Kind::Exclusive, 0)) {
            alone.release();
            return open(path, options);
        }
    }
    UseLock inUse;
    if (options.markInUse && !inUse.acquire(path, UseLock::Kind::Shared, options.busyTimeoutMs))
        throw DatabaseError(
            QCoreApplication::translate("store::Database", "数据库文件 %1 正在被恢复，请稍后再试").arg(path),
            DatabaseProblem::Locked);
    std::unique_ptr<Database> db;
    try {
        db = inspect(path, options);
    } catch (const DatabaseError& e) {
        // A save cut off half-way can only be rolled back by a writer.
        const bool hotJournal = QFileInfo::exists(path + QStringLiteral("-journal"));
        if (e.problem() == DatabaseProblem::ReadOnly && hotJournal && canWrite(path) && canWrite(folderOf(path)))
            return open(path, options);
        throw;
    }
    db->options_ = options;
    db->inUse_.swap(inUse);
    return db;
}

std::unique_ptr<Database> Database::openUnchanged(const QString& filePath, const OpenOptions& options) {
    const QString path = QFileInfo(filePath).absoluteFilePath();
    inspect(path, options);
    std::unique_ptr<Database> db(new Database(path, options.busyTimeoutMs));
    db->options_ = options;
    db->openConnection(path, busyOption(options.busyTimeoutMs));
    return db;
}

void Database::checkBeforeWriting(const QString& path, const OpenOptions& options) {
    // Look through a read-only connection first, so a file that is not ours is not touched.
    try {
        inspect(path, options);
    } catch (const DatabaseError& e) {
        // A journal left by a save that was cut off can only be rolled back by a writer; the
        // opening that follows does it and checks the file again.
        const bool hotJournal = QFileInfo::exists(path + QStringLiteral("-journal"));
        if (e.problem() == DatabaseProblem::ReadOnly && hotJournal && canWrite(path) && canWrite(folderOf(path)))
            return;
        throw;
    }
}

void Database::checkIsOurs() const {
    QSqlQuery query(db_);
    if (!query.exec(QStringLiteral("select name from sqlite_master where type='table'"))) {
        const DatabaseError e = errorOf(query.lastError());
        if (e.problem() == DatabaseProblem::NotOurs) throw notOurs(filePath_, query.lastError().databaseText());
        throw e;
    }
    QStringList names;
    while (nextRow(query)) names << query.value(0).toString();
    if (names.isEmpty())
        throw notOurs(filePath_,
                      QCoreApplication::translate("store::Database", "没有任何表，可能是一次中断的首次启动留下的"));
    for (const char* table : kTables) {
        if (!names.contains(QLatin1String(table)))
            throw notOurs(filePath_,
                          QCoreApplication::translate("store::Database", "缺少表 %1").arg(QLatin1String(table)));
    }
    const qint64 version = getFirstInteger(QStringLiteral("pragma user_version"));
    if (version > kSchemaVersion) throw newer(filePath_, version);
    const qint64 application = getFirstInteger(QStringLiteral("pragma application_id"));
    if (application != 0 && application != kApplicationId)
        throw notOurs(filePath_, QCoreApplication::translate("store::Database", "别的程序的数据库"));
}

std::unique_ptr<Database> Database::openInMemory() {
    std::unique_ptr<Database> db(new Database(QStringLiteral(":memory:"), 0));
    db->openConnection(QStringLiteral(":memory:"), QString());
    db->seed();
    return db;
}

void Database::seed() {
    Transaction transaction(*this);
    runScript(QStringLiteral(":/store/schema.sql"));
    addCaseIdentity(*this);
    runScript(QStringLiteral(":/store/search_index.sql"));
    runScript(QStringLiteral(":/store/divination_rows.sql"));
    execute(QStringLiteral("pragma user_version=%1").arg(kSchemaVersion));
    execute(QStringLiteral("pragma application_id=%1").arg(kApplicationId));
    transaction.commit();
}

void Database::runScript(const QString& resourcePath) {
    for (const QString& statement : splitSqlScript(readResource(resourcePath))) execute(statement);
}

DatabaseError Database::errorOf(const QSqlError& error) const {
    bool isNumber = false;
    const int code = error.nativeErrorCode().toInt(&isNumber) & 0xff;  // the primary SQLite result code
    const QString detail = error.text();
    if (!isNumber) return DatabaseError(detail);
    switch (code) {
    case 5:  // SQLITE_BUSY
    case 6:  // SQLITE_LOCKED
        return DatabaseError(
            QCoreApplication::translate("store::Database", "数据库文件 %1 被另一个程序锁定，等了 %2 秒仍未释放（%3）")
                .arg(filePath_)
                .arg(busyTimeoutMs_ / 1000.0)
                .arg(detail),
            DatabaseProblem::Locked);
    case 8:  // SQLITE_READONLY
        return DatabaseError(QCoreApplication::translate("store::Database", "数据库文件 %1 是只读的，无法写入（%2）")
                                 .arg(filePath_, detail),
                             DatabaseProblem::ReadOnly);
    case 13:  // SQLITE_FULL
        return DatabaseError(QCoreApplication::translate("store::Database", "磁盘已满，数据库文件 %1 无法写入（%2）")
                                 .arg(filePath_, detail),
                             DatabaseProblem::DiskFull);
    case 11:  // SQLITE_CORRUPT
        return DatabaseError(
            QCoreApplication::translate("store::Database", "数据库文件 %1 已损坏（%2）").arg(filePath_, detail),
            DatabaseProblem::Damaged);
    case 26:  // SQLITE_NOTADB
        return DatabaseError(detail, DatabaseProblem::NotOurs);
    default: return DatabaseError(detail);
    }
}

QSqlQuery Database::run(const QString& statement, const QVariantList& values) const {
    QSqlQuery query(db_);
    query.setForwardOnly(true);
    if (!query.prepare(statement)) throw errorOf(query.lastError());
    for (const QVariant& value : values) query.addBindValue(value);
    if (!query.exec()) throw errorOf(query.lastError());
    return query;
}

QString Database::getFirstString(const QString& statement, const QVariantList& values) const {
    QSqlQuery query = run(statement, values);
    return nextRow(query) ? query.value(0).toString() : QString();
}

qint64 Database::getFirstInteger(const QString& statement, const QVariantList& values) const {
    QSqlQuery query = run(statement, values);
    return nextRow(query) ? query.value(0).toLongLong() : 0;
}

QStringList Database::getFirstItems(const QString& statement, const QVariantList& values) const {
    QSqlQuery query = run(statement, values);
    QStringList items;
    while (nextRow(query)) items << query.value(0).toString();
    return items;
}

void Database::execute(const QString& statement, const QVariantList& values) { run(statement, values); }

qint64 Database::insert(const QString& statement, const QVariantList& values) {
    return run(statement, values).lastInsertId().toLongLong();
}

QSqlQuery Database::select(const QString& statement, const QVariantList& values) const {
    return run(statement, values);
}

bool Database::nextRow(QSqlQuery& query) const {
    if (query.next()) return true;
    if (query.lastError().isValid()) throw errorOf(query.lastError());
    return false;
}

Transaction::Transaction(Database& db) : db_(db) {
    // A writer takes the write lock at once, so it waits its busy timeout for another program
    // here instead of failing half-way when its first write finds the file held.
    db_.execute(db_.readOnly() ? QStringLiteral("begin") : QStringLiteral("begin immediate"));
}

Transaction::~Transaction() {
    if (done_) return;
    QSqlQuery rollback(db_.connection());
    rollback.exec(QStringLiteral("rollback"));
}

void Transaction::commit() {
    db_.execute(QStringLiteral("commit"));
    done_ = true;
}

}  // namespace store
