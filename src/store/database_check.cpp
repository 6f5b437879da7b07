#include "store/database_check.h"

#include "store/database_file.h"
#include "store/schema_version.h"
#include "store/search_index.h"

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

// An insert of whole rows into one table, prepared once from the columns of the first row.
class PreparedInsert {
public:
    PreparedInsert(Database& db, const QString& table, const QSqlRecord& columns) : db_(db), query_(db.connection()) {
        QStringList names, marks;
        for (int i = 0; i < columns.count(); ++i) {
            names << columns.fieldName(i);
            marks << QStringLiteral("?");
        }
        if (!query_.prepare(QStringLiteral("insert into %1(%2) values(%3)")
                                .arg(table, names.join(u','), marks.join(u','))))
            throw db_.errorOf(query_.lastError());
    }
    void run(const QSqlRecord& row) {
        for (int i = 0; i < row.count(); ++i) query_.bindValue(i, row.value(i));
        if (!query_.exec()) throw db_.errorOf(query_.lastError());
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

// Copies the rows of a table in rowid order, stepping over the parts that cannot be read: after a
// failed step it looks the ids up one by one until one can be looked up again, and goes on from
// there. Returns how many rows were copied; each part skipped is named in `unreadable`.
qint64 copyReadableRows(const Database& from, Database& to, const QString& table, const QString& key,
                        qint64 lastId, QStringList& unreadable) {
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
        } catch (const DatabaseError& e) {
            if (e.problem() != DatabaseProblem::Damaged) throw;
            failure = e.text();
        }
        const qint64 first = after == std::numeric_limits<qint64>::min() ? 1 : after + 1;
        const qint64 end = std::max(lastId, first) + (lastId > 0 ? 0 : kProbeWithoutEnd);
        qint64 probe = first;
        for (; probe <= end; ++probe) {
            try {
                from.getFirstInteger(QStringLiteral("select count(*) from %1 where %2=?").arg(table, key), {probe});
                break;
            } catch (const DatabaseError& e) {
                if (e.problem() != DatabaseProblem::Damaged) throw;
            }
        }
        if (probe > end) {
            unreadable << QStringLiteral("%1：id %2 起的行无法读出（%3）").arg(table).arg(first).arg(failure);
            return copied;
        }
        unreadable << QStringLiteral("%1：id %2 至 %3 之间的行无法读出（%4）").arg(table).arg(first).arg(probe - 1).arg(failure);
        after = probe - 1;
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

RepairReport repairDatabase(const QString& path, const QDateTime& now) {
    RepairReport report;
    {
        auto source = Database::inspect(path);
        if (integrityOf(*source) != u"ok") {
            report.copiedTo = copyFileName(path, now);
            auto copy = Database::open(report.copiedTo, {OpenOptions{}.busyTimeoutMs, false});
            Transaction transaction(*copy);
            copy->execute(QStringLiteral("delete from fenlei_table"));
            copyReadableRows(*source, *copy, QStringLiteral("fenlei_table"), QStringLiteral("lei_id"), 0,
                             report.unreadable);
            qint64 lastId = 0;
            try {
                lastId = source->getFirstInteger(QStringLiteral("select seq from sqlite_sequence where name='gua_table'"));
            } catch (const DatabaseError&) {
            }
            report.casesCopied = copyReadableRows(*source, *copy, QStringLiteral("gua_table"), QStringLiteral("id"),
                                                  lastId, report.unreadable);
            transaction.commit();
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
