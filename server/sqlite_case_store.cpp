#include "sqlite_case_store.h"

#include "sqlite_connection.h"

#include <algorithm>
#include <cctype>

namespace qinglan::caseservice {

namespace {

constexpr const char* kSchema = R"sql(
CREATE TABLE IF NOT EXISTS users (
  id INTEGER PRIMARY KEY,
  nm TEXT NOT NULL UNIQUE,
  pwhash TEXT NOT NULL,
  shouji TEXT NOT NULL DEFAULT '',
  youxiang TEXT NOT NULL DEFAULT '',
  disabled INTEGER NOT NULL DEFAULT 0,
  created TEXT NOT NULL DEFAULT (strftime('%Y-%m-%d %H:%M:%f', 'now', 'localtime'))
);
CREATE TABLE IF NOT EXISTS gua_table (
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  user_id INTEGER NOT NULL REFERENCES users(id),
  gua_ming TEXT NOT NULL DEFAULT '',
  gua_bianhao TEXT NOT NULL DEFAULT '',
  lei_id INTEGER,
  nian INTEGER,
  yue INTEGER,
  ri INTEGER,
  xingbie TEXT NOT NULL DEFAULT '',
  chusheng TEXT NOT NULL DEFAULT '',
  shiyou TEXT NOT NULL DEFAULT '',
  duanyu TEXT NOT NULL DEFAULT '',
  fankui TEXT NOT NULL DEFAULT '',
  shijian TEXT NOT NULL DEFAULT (strftime('%Y-%m-%d %H:%M:%f', 'now', 'localtime'))
);
CREATE INDEX IF NOT EXISTS gua_table_user ON gua_table(user_id);
CREATE INDEX IF NOT EXISTS gua_table_user_bianhao ON gua_table(user_id, gua_bianhao);
CREATE INDEX IF NOT EXISTS gua_table_user_date ON gua_table(user_id, nian, yue);
CREATE INDEX IF NOT EXISTS gua_table_user_lei_date ON gua_table(user_id, lei_id, nian, yue);
CREATE VIRTUAL TABLE IF NOT EXISTS gua_search USING fts5(
  gua_ming, shiyou, duanyu, fankui, content='gua_table', content_rowid='id', tokenize='trigram');
CREATE TRIGGER IF NOT EXISTS gua_search_insert AFTER INSERT ON gua_table BEGIN
  INSERT INTO gua_search(rowid, gua_ming, shiyou, duanyu, fankui)
  VALUES (new.id, new.gua_ming, new.shiyou, new.duanyu, new.fankui);
END;
CREATE TRIGGER IF NOT EXISTS gua_search_delete AFTER DELETE ON gua_table BEGIN
  INSERT INTO gua_search(gua_search, rowid, gua_ming, shiyou, duanyu, fankui)
  VALUES ('delete', old.id, old.gua_ming, old.shiyou, old.duanyu, old.fankui);
END;
CREATE TRIGGER IF NOT EXISTS gua_search_update AFTER UPDATE OF gua_ming, shiyou, duanyu, fankui ON gua_table BEGIN
  INSERT INTO gua_search(gua_search, rowid, gua_ming, shiyou, duanyu, fankui)
  VALUES ('delete', old.id, old.gua_ming, old.shiyou, old.duanyu, old.fankui);
  INSERT INTO gua_search(rowid, gua_ming, shiyou, duanyu, fankui)
  VALUES (new.id, new.gua_ming, new.shiyou, new.duanyu, new.fankui);
END;
CREATE TABLE IF NOT EXISTS fenlei_table (
  user_id INTEGER NOT NULL REFERENCES users(id),
  lei_id INTEGER NOT NULL,
  lei_mingcheng TEXT NOT NULL,
  PRIMARY KEY (user_id, lei_id)
);
)sql";

constexpr const char* kSummaryColumns = "SELECT id, gua_bianhao, shiyou, gua_ming FROM gua_table ";

void bindCaseFields(Statement& stmt, int first, const CaseFields& f) {
    stmt.bind(first, f.gua_ming).bind(first + 1, f.gua_bianhao);
    if (f.lei_id.empty())
        stmt.bindNull(first + 2);
    else
        stmt.bind(first + 2, std::stoll(f.lei_id));
    stmt.bind(first + 3, std::stoll(f.nian))
        .bind(first + 4, std::stoll(f.yue))
        .bind(first + 5, std::stoll(f.ri))
        .bind(first + 6, f.xingbie)
        .bind(first + 7, f.chusheng)
        .bind(first + 8, f.shiyou);
}

std::vector<CaseSummary> readSummaries(Statement& stmt) {
    std::vector<CaseSummary> rows;
    while (stmt.step()) rows.push_back({stmt.integer(0), stmt.text(1), stmt.text(2), stmt.text(3)});
    return rows;
}

std::vector<std::int64_t> readIntegers(Statement& stmt) {
    std::vector<std::int64_t> values;
    while (stmt.step()) values.push_back(stmt.integer(0));
    return values;
}

std::string lowerAscii(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) {
        return static_cast<char>(c < 0x80 ? std::tolower(c) : c);
    });
    return text;
}

std::size_t codePoints(std::string_view text) {
    return static_cast<std::size_t>(
        std::count_if(text.begin(), text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

// The keyword as one FTS5 phrase: between double quotes, a double quote doubled.
std::string phraseQuery(std::string_view keyword) {
    std::string out = "\"";
    for (const char c : keyword) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + "\"";
}

}  // namespace

SqliteCaseStore::SqliteCaseStore(std::string path) : path_(std::move(path)) {
    auto& db = connection();
    WriteTransaction transaction(db);
    bool hadCasesWithoutIndex = false;
    {
        auto probe = db.prepare(
            "SELECT (SELECT count(*) FROM sqlite_master WHERE name = 'gua_table') = 1 AND "
            "(SELECT count(*) FROM sqlite_master WHERE name = 'gua_search') = 0");
        hadCasesWithoutIndex = probe.step() && probe.integer(0) != 0;
    }
    db.execute(kSchema);
    if (hadCasesWithoutIndex) db.execute("INSERT INTO gua_search(gua_search) VALUES('rebuild')");
    transaction.commit();
}

SqliteCaseStore::~SqliteCaseStore() = default;

SqliteConnection& SqliteCaseStore::connection() {
    std::lock_guard lock(mutex_);
    auto& slot = connections_[std::this_thread::get_id()];
    if (!slot) slot = std::make_unique<SqliteConnection>(path_);
    return *slot;
}

bool SqliteCaseStore::createUser(const std::string& nm, const std::string& pwhash, const std::string& shouji,
                                 const std::string& youxiang) {
    auto stmt = connection().prepare(
        "INSERT INTO users(nm, pwhash, shouji, youxiang) VALUES(?1, ?2, ?3, ?4) ON CONFLICT(nm) DO NOTHING");
    stmt.bind(1, nm).bind(2, pwhash).bind(3, shouji).bind(4, youxiang).run();
    return connection().changes() == 1;
}

std::optional<UserAccount> SqliteCaseStore::findUser(const std::string& nm) {
    auto stmt = connection().prepare("SELECT id, pwhash, disabled FROM users WHERE nm = ?1");
    stmt.bind(1, nm);
    if (!stmt.step()) return std::nullopt;
    return UserAccount{stmt.integer(0), stmt.text(1), stmt.integer(2) != 0};
}

void SqliteCaseStore::setPasswordHash(std::int64_t user, const std::string& pwhash) {
    connection().prepare("UPDATE users SET pwhash = ?2 WHERE id = ?1").bind(1, user).bind(2, pwhash).run();
}

std::int64_t SqliteCaseStore::insertCase(std::int64_t user, const CaseFields& fields) {
    auto& db = connection();
    auto stmt = db.prepare(
        "INSERT INTO gua_table(user_id, gua_ming, gua_bianhao, lei_id, nian, yue, ri, xingbie, chusheng, shiyou) "
        "VALUES(?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10)");
    stmt.bind(1, user);
    bindCaseFields(stmt, 2, fields);
    stmt.run();
    return db.lastInsertId();
}

void SqliteCaseStore::saveTexts(std::int64_t user, const CaseFields& fields, TextsToSave which,
                                const std::string& duanyu, const std::string& fankui) {
    auto& db = connection();
    WriteTransaction transaction(db);
    bool exists = false;
    {
        auto count = db.prepare("SELECT 1 FROM gua_table WHERE user_id = ?1 AND gua_bianhao = ?2 LIMIT 1");
        exists = count.bind(1, user).bind(2, fields.gua_bianhao).step();
    }
    if (!exists) insertCase(user, fields);
    if (which == TextsToSave::duanyu || which == TextsToSave::both)
        db.prepare("UPDATE gua_table SET duanyu = ?3 WHERE user_id = ?1 AND gua_bianhao = ?2")
            .bind(1, user).bind(2, fields.gua_bianhao).bind(3, duanyu).run();
    if (which == TextsToSave::fankui || which == TextsToSave::both)
        db.prepare("UPDATE gua_table SET fankui = ?3 WHERE user_id = ?1 AND gua_bianhao = ?2")
            .bind(1, user).bind(2, fields.gua_bianhao).bind(3, fankui).run();
    transaction.commit();
}

std::optional<StoredCase> SqliteCaseStore::loadCase(std::int64_t user, std::int64_t id) {
    auto stmt = connection().prepare(
        "SELECT gua_ming, gua_bianhao, lei_id, nian, yue, ri, xingbie, chusheng, shiyou, duanyu, fankui "
        "FROM gua_table WHERE id = ?2 AND user_id = ?1");
    stmt.bind(1, user).bind(2, id);
    if (!stmt.step()) return std::nullopt;
    StoredCase row;
    row.id = id;
    row.fields = {stmt.text(0), stmt.text(1), stmt.text(2), stmt.text(3), stmt.text(4),
                  stmt.text(5), stmt.text(6), stmt.text(7), stmt.text(8)};
    row.duanyu = stmt.text(9);
    row.fankui = stmt.text(10);
    return row;
}

std::vector<CaseSummary> SqliteCaseStore::recentCases(std::int64_t user, int limit) {
    auto stmt = connection().prepare(std::string(kSummaryColumns) +
                                     "WHERE user_id = ?1 ORDER BY id DESC LIMIT ?2");
    stmt.bind(1, user).bind(2, std::int64_t{limit});
    return readSummaries(stmt);
}

std::vector<CaseSummary> SqliteCaseStore::searchCases(std::int64_t user, const std::string& keyword, int limit) {
    // instr() takes the keyword literally ("%" and "_" are not wildcards); lower() folds
    // ASCII letters only, as the local search's LIKE does.
    const std::string folded = lowerAscii(keyword);
    const char* contains =
        "(instr(lower(g.gua_ming), ?2) > 0 OR instr(lower(g.shiyou), ?2) > 0 "
        "OR instr(lower(g.duanyu), ?2) > 0 OR instr(lower(g.fankui), ?2) > 0)";
    if (codePoints(keyword) >= 3) {
        // The trigram index finds candidates newest first without reading every case; the
        // instr() test keeps the exact meaning (the index folds more than ASCII).
        auto stmt = connection().prepare(
            std::string("SELECT g.id, g.gua_bianhao, g.shiyou, g.gua_ming FROM gua_search s "
                        "JOIN gua_table g ON g.id = s.rowid "
                        "WHERE gua_search MATCH ?4 AND g.user_id = ?1 AND ") +
            contains + " ORDER BY s.rowid DESC LIMIT ?3");
        stmt.bind(1, user).bind(2, folded).bind(3, std::int64_t{limit}).bind(4, phraseQuery(keyword));
        return readSummaries(stmt);
    }
    // Shorter keywords are below what a trigram index can look up; they are mostly common,
    // so walking the user's cases newest first reaches the limit early.
    auto stmt = connection().prepare(std::string("SELECT g.id, g.gua_bianhao, g.shiyou, g.gua_ming FROM gua_table g "
                                                 "WHERE g.user_id = ?1 AND ") +
                                     contains + " ORDER BY g.id DESC LIMIT ?3");
    stmt.bind(1, user).bind(2, folded).bind(3, std::int64_t{limit});
    return readSummaries(stmt);
}

std::vector<std::int64_t> SqliteCaseStore::years(std::int64_t user, CategoryFilter category) {
    if (!category) {
        auto stmt = connection().prepare(
            "SELECT DISTINCT nian FROM gua_table WHERE user_id = ?1 AND nian IS NOT NULL ORDER BY nian");
        stmt.bind(1, user);
        return readIntegers(stmt);
    }
    auto stmt = connection().prepare(
        "SELECT DISTINCT nian FROM gua_table WHERE user_id = ?1 AND lei_id = ?2 AND nian IS NOT NULL ORDER BY nian");
    stmt.bind(1, user).bind(2, *category);
    return readIntegers(stmt);
}

std::vector<std::int64_t> SqliteCaseStore::months(std::int64_t user, CategoryFilter category, std::int64_t nian) {
    if (!category) {
        auto stmt = connection().prepare(
            "SELECT DISTINCT yue FROM gua_table WHERE user_id = ?1 AND nian = ?2 AND yue IS NOT NULL ORDER BY yue");
        stmt.bind(1, user).bind(2, nian);
        return readIntegers(stmt);
    }
    auto stmt = connection().prepare(
        "SELECT DISTINCT yue FROM gua_table WHERE user_id = ?1 AND lei_id = ?3 AND nian = ?2 AND yue IS NOT NULL "
        "ORDER BY yue");
    stmt.bind(1, user).bind(2, nian).bind(3, *category);
    return readIntegers(stmt);
}

std::vector<CaseSummary> SqliteCaseStore::casesOfMonth(std::int64_t user, CategoryFilter category, std::int64_t nian,
                                                       std::int64_t yue, int limit) {
    if (!category) {
        auto stmt = connection().prepare(std::string(kSummaryColumns) +
                                         "WHERE user_id = ?1 AND nian = ?2 AND yue = ?3 ORDER BY id LIMIT ?4");
        stmt.bind(1, user).bind(2, nian).bind(3, yue).bind(4, std::int64_t{limit});
        return readSummaries(stmt);
    }
    auto stmt = connection().prepare(std::string(kSummaryColumns) +
                                     "WHERE user_id = ?1 AND lei_id = ?5 AND nian = ?2 AND yue = ?3 ORDER BY id LIMIT ?4");
    stmt.bind(1, user).bind(2, nian).bind(3, yue).bind(4, std::int64_t{limit}).bind(5, *category);
    return readSummaries(stmt);
}

std::vector<Category> SqliteCaseStore::categories(std::int64_t user) {
    auto stmt = connection().prepare("SELECT lei_mingcheng, lei_id FROM fenlei_table WHERE user_id = ?1 ORDER BY lei_id");
    stmt.bind(1, user);
    std::vector<Category> rows;
    while (stmt.step()) rows.push_back({stmt.text(0), stmt.integer(1)});
    return rows;
}

void SqliteCaseStore::renameCategory(std::int64_t user, std::int64_t lei_id, const std::string& lei_mingcheng) {
    connection()
        .prepare("INSERT INTO fenlei_table(user_id, lei_id, lei_mingcheng) VALUES(?1, ?2, ?3) "
                 "ON CONFLICT(user_id, lei_id) DO UPDATE SET lei_mingcheng = excluded.lei_mingcheng")
        .bind(1, user).bind(2, lei_id).bind(3, lei_mingcheng).run();
}

}  // namespace qinglan::caseservice
