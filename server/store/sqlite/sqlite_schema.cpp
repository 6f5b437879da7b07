#include "store/sqlite/sqlite_schema.h"

#include "model/account_name.h"

#include <iostream>
#include <map>
#include <stdexcept>
#include <utility>
#include <vector>

namespace qinglan::caseservice {

namespace {

// The tables as version 1 has them. IF NOT EXISTS because a file written before the versions
// were counted may hold some of them already.
constexpr const char* kSchema = R"sql(
CREATE TABLE IF NOT EXISTS users (
  id INTEGER PRIMARY KEY,
  nm TEXT NOT NULL UNIQUE,
  nm_key TEXT,
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
-- The keyword index: each case's four texts joined by line breaks behind its owner's mark,
-- tokenized by char_grams in "owned" mode (see char_gram_tokenizer.h), so that every term holds
-- one user's cases only: case_grams_short for keywords of one or two characters, case_grams for
-- longer ones.
CREATE VIEW IF NOT EXISTS case_grams_texts AS SELECT id, char(1) || user_id || char(2) ||
  gua_ming || char(10) || shiyou || char(10) || duanyu || char(10) || fankui AS texts FROM gua_table;
CREATE VIRTUAL TABLE IF NOT EXISTS case_grams USING fts5(
  texts, content='', tokenize='char_grams triples owned', columnsize=0);
CREATE VIRTUAL TABLE IF NOT EXISTS case_grams_short USING fts5(
  texts, content='', tokenize='char_grams short owned', columnsize=0, detail=none);
-- The store's writes index a case's texts themselves (see indexTexts): statements that fire
-- triggers inside the shared write transaction would each flush the index's pending terms to a
-- segment of their own. A case removed by other means is taken out of the index here.
CREATE TRIGGER IF NOT EXISTS case_grams_delete BEFORE DELETE ON gua_table BEGIN
  INSERT INTO case_grams(case_grams, rowid, texts) SELECT 'delete', id, texts FROM case_grams_texts WHERE id = old.id;
  INSERT INTO case_grams_short(case_grams_short, rowid, texts)
  SELECT 'delete', id, texts FROM case_grams_texts WHERE id = old.id;
END;
CREATE TABLE IF NOT EXISTS fenlei_table (
  user_id INTEGER NOT NULL REFERENCES users(id),
  lei_id INTEGER NOT NULL,
  lei_mingcheng TEXT NOT NULL,
  PRIMARY KEY (user_id, lei_id)
);
CREATE TABLE IF NOT EXISTS sessions (
  id INTEGER PRIMARY KEY,
  token_hash TEXT NOT NULL UNIQUE,
  user_id INTEGER NOT NULL REFERENCES users(id),
  expires INTEGER NOT NULL
);
CREATE INDEX IF NOT EXISTS sessions_user ON sessions(user_id, id);
)sql";

// Gives every account of an earlier file that has none the key its name is found by, or its
// look-alike key (see account_name.h).
void fillNameKeys(SqliteConnection& db, NameKeyAllocator::Kind kind) {
    const bool lookalike = kind == NameKeyAllocator::Kind::Lookalike;
    const std::string column = lookalike ? "nm_lookalike" : "nm_key";
    std::vector<std::pair<std::int64_t, std::string>> missing;
    {
        auto stmt = db.prepare("SELECT id, nm FROM users WHERE " + column + " IS NULL ORDER BY id");
        while (stmt.step()) missing.emplace_back(stmt.integer(0), stmt.text(1));
    }
    if (missing.empty()) return;
    NameKeyAllocator keys(kind);
    {
        auto stmt = db.prepare("SELECT " + column + " FROM users WHERE " + column + " IS NOT NULL");
        while (stmt.step()) keys.reserve(stmt.text(0));
    }
    for (const auto& [id, nm] : missing) {
        bool refused = false;
        const std::string key = keys.allocate(id, nm, refused);
        // An account from before names were compared this way that now meets another one:
        // it keeps its rows, but without a key it can no longer be logged in to.
        if (refused && !lookalike)
            std::cerr << "qinglan-caseservice: account " << id << " (" << nm
                      << ") has a name that is not valid any more or looks like an earlier account's; "
                         "it cannot log in until renamed\n";
        if (refused && lookalike)
            std::cerr << "qinglan-caseservice: account " << id << " (" << nm
                      << ") has a name that looks like an earlier account's; it may still log in\n";
        db.prepare("UPDATE users SET " + column + " = ?2 WHERE id = ?1").bind(1, id).bind(2, key).run();
    }
}

// Version 1: the tables above, each account's name key, and the keyword index by owner built by
// the tokenizer that never puts a NUL byte into a term (see char_gram_tokenizer.h).
// Version 0 stands for every file written before the versions were counted, each with one of
// several earlier layouts; which one is not recorded, so this step looks at what the file holds.
// Returns what to tell once the step is committed ("" for nothing).
std::string reachVersion1(SqliteConnection& db, const std::string& path) {
    bool indexMissing = false;
    {
        auto probe = db.prepare("SELECT count(*) FROM sqlite_master WHERE name = 'case_grams'");
        indexMissing = probe.step() && probe.integer(0) == 0;
    }
    // An index by owner built by the earlier tokenizer put the NUL bytes of a text into its terms,
    // which FTS5 cannot keep: after one such text every write failed. It is built again.
    const bool rebuilt = !indexMissing;
    if (rebuilt) {
        db.execute("DROP TABLE case_grams; DROP TABLE IF EXISTS case_grams_short;");
        indexMissing = true;
    }
    // Earlier layouts carry a trigram index, which cannot look up one or two characters, or a
    // character index whose terms mix all users' cases, which makes a user among many wade
    // through the others' cases; the index by owner replaces both. The triggers that kept it on
    // insert and update gave way to the writes' own statements.
    db.execute(
        "DROP TRIGGER IF EXISTS gua_search_insert; DROP TRIGGER IF EXISTS gua_search_delete; "
        "DROP TRIGGER IF EXISTS gua_search_update; DROP TABLE IF EXISTS gua_search; "
        "DROP TRIGGER IF EXISTS gua_grams_insert; DROP TRIGGER IF EXISTS gua_grams_delete; "
        "DROP TRIGGER IF EXISTS gua_grams_unindex; DROP TRIGGER IF EXISTS gua_grams_update; "
        "DROP TABLE IF EXISTS gua_grams; DROP TABLE IF EXISTS gua_grams_short; DROP VIEW IF EXISTS gua_grams_texts; "
        "DROP TRIGGER IF EXISTS case_grams_insert; DROP TRIGGER IF EXISTS case_grams_unindex; "
        "DROP TRIGGER IF EXISTS case_grams_update;");
    db.execute(kSchema);
    // The name key came after the users table.
    if (!hasColumn(db.handle(), "users", "nm_key")) db.execute("ALTER TABLE users ADD COLUMN nm_key TEXT");
    fillNameKeys(db, NameKeyAllocator::Kind::Key);
    db.execute("CREATE UNIQUE INDEX IF NOT EXISTS users_nm_key ON users(nm_key)");
    if (indexMissing) {
        // Takes long for many cases: said first, so that whoever started the service knows why
        // it is not listening yet.
        std::int64_t cases = 0;
        if (auto count = db.prepare("SELECT count(*) FROM gua_table"); count.step()) cases = count.integer(0);
        if (cases > 0)
            std::cerr << "qinglan-caseservice: " << path << ": building the keyword index of " << cases << " cases\n";
        db.execute(
            "INSERT INTO case_grams(rowid, texts) SELECT id, texts FROM case_grams_texts ORDER BY id;"
            "INSERT INTO case_grams_short(rowid, texts) SELECT id, texts FROM case_grams_texts ORDER BY id;");
    }
    db.execute(("PRAGMA application_id=" + std::to_string(kApplicationId)).c_str());
    if (!rebuilt) return {};
    std::int64_t cases = 0;
    if (auto count = db.prepare("SELECT count(*) FROM gua_table"); count.step()) cases = count.integer(0);
    return path + ": keyword index of an earlier version rebuilt (" + std::to_string(cases) + " cases)";
}

// Version 2: the look-alike key of each account's name (see account_name.h), and the remembered
// devices: the hash of each device's refresh token (never the token) and of the one it replaced,
// which when presented again shows that the token was copied.
// A file whose version was lost may hold them already, hence the checks.
std::string reachVersion2(SqliteConnection& db, const std::string&) {
    if (!hasColumn(db.handle(), "users", "nm_lookalike")) db.execute("ALTER TABLE users ADD COLUMN nm_lookalike TEXT");
    db.execute(R"sql(
CREATE TABLE IF NOT EXISTS device_tokens (
  id INTEGER PRIMARY KEY,
  user_id INTEGER NOT NULL REFERENCES users(id),
  shebei TEXT NOT NULL,
  token_hash TEXT NOT NULL UNIQUE,
  previous_hash TEXT,
  created INTEGER NOT NULL,
  used INTEGER NOT NULL,
  expires INTEGER NOT NULL
);
CREATE INDEX IF NOT EXISTS device_tokens_user ON device_tokens(user_id, id);
CREATE INDEX IF NOT EXISTS device_tokens_previous ON device_tokens(previous_hash);
)sql");
    fillNameKeys(db, NameKeyAllocator::Kind::Lookalike);
    db.execute("CREATE UNIQUE INDEX IF NOT EXISTS users_nm_lookalike ON users(nm_lookalike)");
    return {};
}

// Version 4: each case keeps the place of its cast and the clock of its pillars, as the client
// sent them; the cases before it have none (''). A file whose version was set back may have them.
std::string reachVersion4(SqliteConnection& db, const std::string&) {
    for (const char* column : {"didian", "shizhi"})
        if (!hasColumn(db.handle(), "gua_table", column))
            db.execute(
                ("ALTER TABLE gua_table ADD COLUMN " + std::string(column) + " TEXT NOT NULL DEFAULT ''").c_str());
    return {};
}

// Each step brings a file from the version before it to its own. A new step is a new entry
// with the next number; the steps before it never change.
struct SchemaStep {
    std::int64_t version;
    std::string (*apply)(SqliteConnection& db, const std::string& path);
};
constexpr SchemaStep kSteps[] = {
    {1, reachVersion1},
    {2, reachVersion2},
    {4, reachVersion4},
};

}  // namespace

bool hasColumn(sqlite3* db, const std::string& table, const std::string& column) {
    sqlite3_stmt* stmt = nullptr;
    bool found = false;
    if (sqlite3_prepare_v2(db, "SELECT 1 FROM pragma_table_info(?1) WHERE name = ?2", -1, &stmt, nullptr) ==
        SQLITE_OK) {
        sqlite3_bind_text(stmt, 1, table.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(stmt, 2, column.c_str(), -1, SQLITE_TRANSIENT);
        found = sqlite3_step(stmt) == SQLITE_ROW;
    }
    sqlite3_finalize(stmt);
    return found;
}

std::int64_t sqliteSchemaVersion() { return std::end(kSteps)[-1].version; }

void createOrMigrateSqliteSchema(SqliteConnection& db, const std::string& path) {
    WriteTransaction transaction(db);
    std::int64_t version = 0;
    if (auto pragma = db.prepare("PRAGMA user_version"); pragma.step()) version = pragma.integer(0);
    if (version > sqliteSchemaVersion())
        throw std::runtime_error(path + " has schema version " + std::to_string(version) +
                                 ", written by a newer case service (this one knows up to " +
                                 std::to_string(sqliteSchemaVersion()) + "); it was left untouched");
    std::vector<std::string> notes;
    for (const auto& step : kSteps) {
        if (step.version <= version) continue;
        if (auto note = step.apply(db, path); !note.empty()) notes.push_back(std::move(note));
        db.execute(("PRAGMA user_version=" + std::to_string(step.version)).c_str());
    }
    transaction.commit();
    for (const auto& note : notes) std::cerr << "qinglan-caseservice: " << note << '\n';
}

}  // namespace qinglan::caseservice
