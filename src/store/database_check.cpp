#include "store/database_check.h"

#include "store/database_file.h"
#include "store/schema_version.h"
#include "store/search_index.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariant>
#include <limits>

namespace store {
namespace {

// How far past the last case read the copy looks for readable cases when the file does not say
// how far its ids go.
constexpr qint64 kProbeWithoutEnd = 1000000;

QString integrityOf(const Database& db) {
    try {
        return db.getFirstItems(QStringLiteral("pragma integrity_check")).join(u'\n');
    } catch (const DatabaseError& e) {
        return e.text();
    }
}

std::optional<qint64> countOf(const Database& db, const char* table) {
    try {
        return db.getFirstInteger(QStringLiteral("select count(*) from %1").arg(QLatin1String(table)));
    } catch (const DatabaseError&) {
        return std::nullopt;
    }
}

// A failure to write the new file, which ends the copy (a failed read of the old one does not).
class NewFileError : public DatabaseError {
public:
    using DatabaseError::DatabaseError;
};

// An insert of whole rows into one table, prepared once from the columns of the first row.
class PreparedInsert {
public:
    PreparedInsert(Database& db, const QString& table, const QSqlRecord& columns) : db_(db), query_(db.connection()) {
        QStringList names, marks;
        for (int i = 0; i < columns.count(); ++i) {
            names << columns.fieldName(i);
            marks << QStringLiteral("?");
        }
        if (!query_.prepare(
                QStringLiteral("insert into %1(%2) values(%3)").arg(table, names.join(u','), marks.join(u','))))
            throw NewFileError(db_.errorOf(query_.lastError()).text());
    }
    void run(const QSqlRecord& row) {
        for (int i = 0; i < row.count(); ++i) query_.bindValue(i, row.value(i));
        if (!query_.exec()) {
            const DatabaseError e = db_.errorOf(query_.lastError());
            throw NewFileError(e.text(), e.problem());
        }
    }

private:
    Database& db_;
    QSqlQuery query_;
};

QString copyFileName(const QString& path, const QDateTime& now) {
    const QFileInfo info(path);
    const QString base = info.absolutePath() + QStringLiteral("/") + info.completeBaseName() +
                         QStringLiteral("-repaired-") + now.toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString name = base + QStringLiteral(".db");
    for (int n = 2; QFileInfo::exists(name); ++n) name = base + QStringLiteral("-%1.db").arg(n);
    return name;
}

// Whether a failed read of the file being copied is damage to step over (another program holding
// the file is not).
bool isDamage(const DatabaseError& e) { return e.problem() != DatabaseProblem::Locked; }

// Copies the rows of a table in rowid order, stepping over the parts that cannot be read: after a
// failed step it looks the ids up one by one until one can be looked up again, and goes on from
// there. Returns how many rows were copied; each part skipped is named in `unreadable`.
qint64 copyReadableRows(const Database& from, Database& to, const QString& table, const QString& key, qint64 lastId,
                        QStringList& unreadable) {
    qint64 copied = 0;
    qint64 after = std::numeric_limits<qint64>::min();
    std::optional<PreparedInsert> insert;
    for (;;) {
        QString failure;
        try {
            QSqlQuery rows =
                from.select(QStringLiteral("select * from %1 where %2>? order by %2").arg(table, key), {after});
            while (from.nextRow(rows)) {
                const QSqlRecord record = rows.record();
                if (!insert) insert.emplace(to, table, record);
                insert->run(record);
                after = record.value(key).toLongLong();
                ++copied;
            }
            return copied;
        } catch (const NewFileError&) {
            throw;
        } catch (const DatabaseError& e) {
            if (!isDamage(e)) throw;
            failure = e.text();
        }
        // Ids are looked up one by one from the first not copied; the first that can be looked up
        // is copied (when there is such a case) and the walk goes on after it.
        const qint64 first = after == std::numeric_limits<qint64>::min() ? 1 : after + 1;
        const qint64 end = std::max(lastId, first) + (lastId > 0 ? 0 : kProbeWithoutEnd);
        qint64 probe = first;
        for (; probe <= end; ++probe) {
            try {
                QSqlQuery row = from.select(QStringLiteral("select * from %1 where %2=?").arg(table, key), {probe});
                if (from.nextRow(row)) {
                    const QSqlRecord record = row.record();
                    if (!insert) insert.emplace(to, table, record);
                    insert->run(record);
                    ++copied;
                }
                break;
            } catch (const NewFileError&) {
                throw;
            } catch (const DatabaseError& e) {
                if (!isDamage(e)) throw;
            }
        }
        if (probe > end) {
            unreadable << QStringLiteral("%1：id %2 起的行无法读出（%3）").arg(table).arg(first).arg(failure);
            return copied;
        }
        if (probe > first)
            unreadable << QStringLiteral("%1：id %2 至 %3 之间的行无法读出（%4）")
                              .arg(table)
                              .arg(first)
                              .arg(probe - 1)
                              .arg(failure);
        after = probe;
    }
}

}  // namespace

bool DatabaseCheck::sound() const {
    return integrity == u"ok" && searchIndex.isEmpty() && schemaVersion == kSchemaVersion && cases && categories;
}

DatabaseCheck checkDatabase(const QString& path) {
    const bool writable = canWrite(path) && canWrite(QFileInfo(path).absolutePath());
    auto db = writable ? Database::openUnchanged(path) : Database::inspect(path);
    DatabaseCheck check;
    check.integrity = integrityOf(*db);
    check.schemaVersion = db->getFirstInteger(QStringLiteral("pragma user_version"));
    check.cases = countOf(*db, "gua_table");
    check.categories = countOf(*db, "fenlei_table");
    if (!hasSearchIndex(*db))
        check.searchIndex = QStringLiteral("没有本版本的关键词索引（以写入方式打开时会重建）");
    else if (!writable)
        check.searchIndex = QStringLiteral("未检查：文件或文件夹不可写，而这项检查需要写入权限");
    else
        check.searchIndex = searchIndexProblem(*db);
    return check;
}

namespace {

// Copies the categories and cases that can be read from `source` into the new file `target`.
void copyReadable(const Database& source, const QString& target, RepairReport& report) {
    auto copy = Database::open(target, {OpenOptions{}.busyTimeoutMs, false});
    Transaction transaction(*copy);
    // How far the ids go, from the first place that can still say (0: not known).
    const auto lastIdFrom = [&](std::initializer_list<const char*> statements) -> qint64 {
        for (const char* statement : statements) {
            try {
                return source.getFirstInteger(QLatin1String(statement));
            } catch (const DatabaseError&) {
            }
        }
        return 0;
    };
    copy->execute(QStringLiteral("delete from fenlei_table"));  // the categories a new file starts with
    copyReadableRows(source, *copy, QStringLiteral("fenlei_table"), QStringLiteral("lei_id"),
                     lastIdFrom({"select max(lei_id) from fenlei_table", "select max(lei_id) from gua_table"}),
                     report.unreadable);
    report.casesCopied = copyReadableRows(
        source, *copy, QStringLiteral("gua_table"), QStringLiteral("id"),
        lastIdFrom({"select seq from sqlite_sequence where name='gua_table'", "select max(id) from gua_table"}),
        report.unreadable);
    transaction.commit();
}

}  // namespace

RepairReport repairDatabase(const QString& path, const QDateTime& now) {
    RepairReport report;
    {
        const auto source = Database::inspect(path);
        if (integrityOf(*source) != u"ok") {
            report.copiedTo = copyFileName(path, now);
            try {
                copyReadable(*source, report.copiedTo, report);
            } catch (const DatabaseError&) {
                QFile::remove(report.copiedTo);
                QFile::remove(report.copiedTo + QStringLiteral("-journal"));
                throw;
            }
            return report;
        }
    }
    auto db = Database::open(path);
    Transaction transaction(*db);
    rebuildSearchIndex(*db);
    transaction.commit();
    report.indexRebuilt = true;
    return report;
}

}  // namespace store
