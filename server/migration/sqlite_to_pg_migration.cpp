#include "migration/sqlite_to_pg_migration.h"

#include "store/postgresql/pg_connection.h"
#include "store/postgresql/pg_schema.h"
#include "store/postgresql/short_keyword_codes.h"
#include "store/sqlite/sqlite_case_repository.h"

#include <sodium.h>
#include <sqlite3.h>

#include <array>
#include <filesystem>
#include <functional>
#include <stdexcept>

namespace qinglan::caseservice {

namespace {

// One table: its columns in both databases, how the file's rows are read, and how
// PostgreSQL's copies of them are read back; both give the same texts in the same order.
struct TableCopy {
    const char* table;
    const char* columns;
    const char* key;
    const char* fromSqlite;
    const char* fromPostgres;
    // A column PostgreSQL has beyond the file's, worked out from the file's row.
    const char* derivedColumn = nullptr;
    std::string (*derive)(const std::vector<const std::string*>& row) = nullptr;
};

std::string caseShortGrams(const std::vector<const std::string*>& row) {
    const auto text = [&row](std::size_t column) { return row[column] ? std::string_view(*row[column]) : ""; };
    // gua_ming, shiyou, duanyu, fankui in the order of the cases' columns below.
    return integerArrayLiteral(shortKeywordCodes({text(2), text(10), text(11), text(12)}));
}

// Accounts before the rows that refer to them.
const TableCopy kTables[] = {
    {"users", "id, nm, nm_key, nm_lookalike, pwhash, shouji, youxiang, disabled, created", "id",
     "SELECT id, nm, nm_key, nm_lookalike, pwhash, shouji, youxiang, CASE WHEN disabled THEN 't' ELSE 'f' END, "
     "created FROM users ORDER BY id",
     "SELECT t.id, t.nm, t.nm_key, t.nm_lookalike, t.pwhash, t.shouji, t.youxiang, "
     "CASE WHEN t.disabled THEN 't' ELSE 'f' END, t.created FROM users t JOIN migrating_users USING (id) "
     "ORDER BY t.id"},
    {"fenlei_table", "user_id, lei_id, lei_mingcheng", "user_id, lei_id",
     "SELECT user_id, lei_id, lei_mingcheng FROM fenlei_table ORDER BY user_id, lei_id",
     "SELECT t.user_id, t.lei_id, t.lei_mingcheng FROM fenlei_table t JOIN migrating_fenlei_table "
     "USING (user_id, lei_id) ORDER BY t.user_id, t.lei_id"},
    {"gua_table",
     "id, user_id, gua_ming, gua_bianhao, lei_id, nian, yue, ri, xingbie, chusheng, shiyou, duanyu, fankui, shijian, "
     "didian, shizhi",
     "id",
     "SELECT id, user_id, gua_ming, gua_bianhao, lei_id, nian, yue, ri, xingbie, chusheng, shiyou, duanyu, fankui, "
     "shijian, didian, shizhi FROM gua_table ORDER BY id",
     "SELECT t.id, t.user_id, t.gua_ming, t.gua_bianhao, t.lei_id, t.nian, t.yue, t.ri, t.xingbie, t.chusheng, "
     "t.shiyou, t.duanyu, t.fankui, t.shijian, t.didian, t.shizhi FROM gua_table t JOIN migrating_gua_table "
     "USING (id) ORDER BY t.id",
     "short_grams", &caseShortGrams},
};

// A digest of a sequence of rows, each a sequence of texts or NULLs.
class RowDigest {
public:
    RowDigest() { crypto_hash_sha256_init(&state_); }
    void add(const std::string* value) {
        const std::string head = value ? "V" + std::to_string(value->size()) + ":" : std::string("N");
        crypto_hash_sha256_update(&state_, reinterpret_cast<const unsigned char*>(head.data()), head.size());
        if (value)
            crypto_hash_sha256_update(&state_, reinterpret_cast<const unsigned char*>(value->data()), value->size());
    }
    std::array<unsigned char, crypto_hash_sha256_BYTES> finish() {
        std::array<unsigned char, crypto_hash_sha256_BYTES> out{};
        crypto_hash_sha256_final(&state_, out.data());
        return out;
    }

private:
    crypto_hash_sha256_state state_{};
};

// A value in COPY's text format.
void appendCopyValue(std::string& out, const std::string* value) {
    if (!value) {
        out += "\\N";
        return;
    }
    for (const char c : *value) {
        switch (c) {
        case '\\': out += "\\\\"; break;
        case '\t': out += "\\t"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        default: out += c;
        }
    }
}

class SqliteReader {
public:
    explicit SqliteReader(const std::string& file) {
        if (sqlite3_open_v2(file.c_str(), &db_, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
            const std::string reason = db_ ? sqlite3_errmsg(db_) : "out of memory";
            sqlite3_close(db_);
            throw std::runtime_error("cannot read " + file + ": " + reason);
        }
        execute("BEGIN");  // one snapshot for the copy and its check
    }
    ~SqliteReader() { sqlite3_close_v2(db_); }
    SqliteReader(const SqliteReader&) = delete;
    SqliteReader& operator=(const SqliteReader&) = delete;

    // Calls onRow with the texts (nullptr for NULL) of every row of the query.
    std::int64_t forEachRow(const char* sql, const std::function<void(const std::vector<const std::string*>&)>& onRow) {
        sqlite3_stmt* stmt = nullptr;
        if (sqlite3_prepare_v2(db_, sql, -1, &stmt, nullptr) != SQLITE_OK)
            throw std::runtime_error(std::string("reading the SQLite file: ") + sqlite3_errmsg(db_));
        const int columns = sqlite3_column_count(stmt);
        std::vector<std::string> texts(static_cast<std::size_t>(columns));
        std::vector<const std::string*> row(static_cast<std::size_t>(columns));
        std::int64_t count = 0;
        int rc = SQLITE_ROW;
        while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
            for (int c = 0; c < columns; ++c) {
                const auto i = static_cast<std::size_t>(c);
                if (sqlite3_column_type(stmt, c) == SQLITE_NULL) {
                    row[i] = nullptr;
                    continue;
                }
                const auto* data = reinterpret_cast<const char*>(sqlite3_column_text(stmt, c));
                texts[i].assign(data ? data : "", static_cast<std::size_t>(sqlite3_column_bytes(stmt, c)));
                row[i] = &texts[i];
            }
            onRow(row);
            ++count;
        }
        const std::string error = sqlite3_errmsg(db_);
        sqlite3_finalize(stmt);
        if (rc != SQLITE_DONE) throw std::runtime_error("reading the SQLite file: " + error);
        return count;
    }

private:
    void execute(const char* sql) {
        if (sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
            throw std::runtime_error(std::string("reading the SQLite file: ") + sqlite3_errmsg(db_));
    }
    sqlite3* db_ = nullptr;
};

MigratedTable copyTable(SqliteReader& file, PgConnection& pg, const TableCopy& t) {
    const std::string table = t.table;
    const std::string staging = "migrating_" + table;
    pg.execute("CREATE TEMP TABLE " + staging + " (LIKE " + table + " INCLUDING DEFAULTS) ON COMMIT DROP");
    const std::string columns = std::string(t.columns) + (t.derivedColumn ? std::string(", ") + t.derivedColumn : "");
    pg.copyBegin("COPY " + staging + " (" + columns + ") FROM STDIN");
    RowDigest fileDigest;
    std::string chunk;
    MigratedTable result{table, 0, 0};
    result.inFile = file.forEachRow(t.fromSqlite, [&](const std::vector<const std::string*>& row) {
        for (std::size_t c = 0; c < row.size(); ++c) {
            if (c) chunk += '\t';
            appendCopyValue(chunk, row[c]);
            fileDigest.add(row[c]);
        }
        if (t.derive) {
            const std::string derived = t.derive(row);
            chunk += '\t';
            appendCopyValue(chunk, &derived);
        }
        chunk += '\n';
        if (chunk.size() > (1u << 20)) {
            pg.copyPut(chunk);
            chunk.clear();
        }
    });
    pg.copyPut(chunk);
    pg.copyEnd();
    result.copied = pg.execute("INSERT INTO " + table + " (" + columns + ") SELECT " + columns + " FROM " + staging +
                               " ORDER BY " + t.key + " ON CONFLICT DO NOTHING")
                        .affected();

    // Read back what PostgreSQL now holds under the file's identifiers.
    RowDigest pgDigest;
    std::int64_t held = 0;
    pg.stream(t.fromPostgres, {}, [&](const PgResult& row) {
        ++held;
        std::string value;
        for (int c = 0; c < row.columns(); ++c) {
            if (row.isNull(0, c)) {
                pgDigest.add(nullptr);
            } else {
                value = row.text(0, c);
                pgDigest.add(&value);
            }
        }
    });
    if (held != result.inFile || pgDigest.finish() != fileDigest.finish())
        throw std::runtime_error(table + ": the file has " + std::to_string(result.inFile) +
                                 " rows, PostgreSQL holds " + std::to_string(held) +
                                 " under their keys, and they differ; PostgreSQL already had other rows under the "
                                 "same identifiers or names. Nothing was copied.");
    return result;
}

}  // namespace

std::vector<MigratedTable> migrateSqliteToPostgres(const std::string& sqliteFile, const std::string& conninfo) {
    if (!std::filesystem::is_regular_file(sqliteFile)) throw std::runtime_error(sqliteFile + " is not a file");
    // Opening it as the service does refuses files that are not service databases and brings
    // older ones up to date (the name keys that accounts are found by).
    { const SqliteCaseRepository upToDate(sqliteFile); }
    SqliteReader file(sqliteFile);
    // PostgreSQL's text cannot hold U+0000, which the file's texts may: named before anything is copied.
    std::string withNul;
    file.forEachRow(
        "SELECT 'case ' || id FROM gua_table WHERE instr(CAST(gua_ming || gua_bianhao || xingbie || chusheng || "
        "shiyou || duanyu || fankui || didian || shizhi AS BLOB), x'00') > 0 UNION ALL SELECT 'category ' || lei_id || "
        "' of user ' || user_id FROM fenlei_table WHERE instr(CAST(lei_mingcheng AS BLOB), x'00') > 0 UNION ALL SELECT 'user ' || id "
        "FROM users WHERE instr(CAST(shouji || youxiang AS BLOB), x'00') > 0 LIMIT 10",
        [&](const std::vector<const std::string*>& row) { withNul += (withNul.empty() ? "" : ", ") + *row[0]; });
    if (!withNul.empty())
        throw std::runtime_error(sqliteFile + ": texts of " + withNul +
                                 " hold the character U+0000, which PostgreSQL cannot store; nothing was copied");

    PgConnection pg(conninfo, std::chrono::milliseconds(0));
    createOrMigratePgSchema(pg);
    PgTransaction transaction(pg);
    // Service instances running meanwhile wait until the copy is in (reads go on).
    pg.execute("LOCK TABLE users, fenlei_table, gua_table IN SHARE ROW EXCLUSIVE MODE");
    std::vector<MigratedTable> results;
    for (const auto& table : kTables) results.push_back(copyTable(file, pg, table));
    // New rows get identifiers after the copied ones.
    for (const char* table : {"users", "gua_table"})
        pg.execute(std::string("SELECT setval(pg_get_serial_sequence('") + table + "', 'id'), " +
                   "greatest((SELECT max(id) FROM " + table + "), 1))");
    transaction.commit();
    return results;
}

}  // namespace qinglan::caseservice
