#include "sqlite_case_store.h"

#include "sqlite_connection.h"
#include "text_checks.h"
#include "text_search/char_gram_tokenizer.h"
#include "text_search/keyword_phrase.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <stdexcept>

namespace qinglan::caseservice {

namespace {

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

// PRAGMA application_id of a case-service database: "QGLC".
constexpr std::int64_t kApplicationId = 0x51474C43;
// PRAGMA user_version from which the keyword index is the one built by the tokenizer that never
// puts a NUL byte into a term (see char_gram_tokenizer.h); files before it carry 0.
constexpr std::int64_t kNulSafeIndexVersion = 1;

// A writer that finds the log this many times the maintenance threshold checkpoints it itself
// before writing, should the maintenance thread fall behind.
constexpr std::int64_t kWriterCheckpointFactor = 4;

constexpr std::string_view kSqliteHeader{"SQLite format 3\0", 16};

// Whether the file, when it exists and is not empty, starts as an SQLite database does.
bool looksLikeSqlite(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return true;  // missing: created
    std::string head(kSqliteHeader.size(), '\0');
    in.read(head.data(), static_cast<std::streamsize>(head.size()));
    return in.gcount() == 0 || head == kSqliteHeader;
}

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

// Why an existing SQLite file is not one of ours; empty when it is (or is empty or missing).
// Looked at through a read-only handle, so nothing in the file changes.
std::string foreignDatabaseReason(const std::string& path) {
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        return {};  // missing: created later
    }
    std::string reason;
    sqlite3_stmt* stmt = nullptr;
    std::int64_t applicationId = 0;
    std::vector<std::string> tables;
    bool readable = sqlite3_prepare_v2(db, "PRAGMA application_id", -1, &stmt, nullptr) == SQLITE_OK &&
                    sqlite3_step(stmt) == SQLITE_ROW;
    if (readable) applicationId = sqlite3_column_int64(stmt, 0);
    sqlite3_finalize(stmt);
    stmt = nullptr;
    if (readable &&
        sqlite3_prepare_v2(db,
                           "SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite_%' "
                           "ORDER BY name",
                           -1, &stmt, nullptr) == SQLITE_OK) {
        int rc = SQLITE_ROW;
        while ((rc = sqlite3_step(stmt)) == SQLITE_ROW)
            tables.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)));
        readable = rc == SQLITE_DONE;
    } else {
        readable = false;
    }
    sqlite3_finalize(stmt);
    if (!readable) {
        reason = path + " cannot be read as an SQLite database (" + sqlite3_errmsg(db) + ")";
    } else if (applicationId != kApplicationId && !tables.empty()) {
        // Files written before the service marked its databases are recognised by their tables.
        const bool olderServiceFile =
            applicationId == 0 && hasColumn(db, "users", "pwhash") && hasColumn(db, "gua_table", "user_id");
        if (!olderServiceFile) {
            std::string list;
            for (const auto& table : tables) list += (list.empty() ? "" : ", ") + table;
            if (list.size() > 200) list = list.substr(0, 200) + "...";
            reason = path + " is an SQLite database of another program (tables: " + list +
                     "), not a case-service database; it was left untouched";
        }
    }
    sqlite3_close(db);
    return reason;
}

std::int64_t nowSeconds() {
    return std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch())
        .count();
}

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

// The rows a search finds within its time: newest first, so what it has when cut short are the
// newest matches.
std::vector<CaseSummary> readSummariesWithinTime(Statement& stmt) {
    std::vector<CaseSummary> rows;
    try {
        while (stmt.step()) rows.push_back({stmt.integer(0), stmt.text(1), stmt.text(2), stmt.text(3)});
    } catch (const QueryInterrupted&) {
    }
    return rows;
}

std::vector<std::int64_t> readIntegers(Statement& stmt) {
    std::vector<std::int64_t> values;
    while (stmt.step()) values.push_back(stmt.integer(0));
    return values;
}

// Whether a case the index finds for the keyword holds it in one of its texts, as the literal
// test reads them, so the texts need no second look. The index reads the four texts joined by
// line breaks: a keyword with a line break could reach across two of them.
bool indexFindsExactly(std::string_view keyword) {
    return isValidUtf8(keyword) && keyword.find('\n') == std::string_view::npos;
}

std::string lowerAscii(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(c < 0x80 ? std::tolower(c) : c); });
    return text;
}

}  // namespace

SqliteCaseStore::SqliteCaseStore(std::string path, StoreSettings settings)
    : path_(std::move(path)), settings_(settings) {
    if (!looksLikeSqlite(path_))
        throw std::runtime_error(path_ +
                                 " is not an SQLite database; give --db a case-service database or the name "
                                 "of a new file");
    const std::string readOnly = path_ + " cannot be written (read-only file or folder)";
    // An existing file the service may not write (or whose folder, where the log goes, it may
    // not write) is refused as such before SQLite fails at it with a less telling reason.
    if (std::filesystem::exists(path_)) {
        const auto folder = std::filesystem::absolute(path_).parent_path();
        if (::access(path_.c_str(), W_OK) != 0 || ::access(folder.c_str(), W_OK) != 0)
            throw std::runtime_error(readOnly);
    }
    if (const auto reason = foreignDatabaseReason(path_); !reason.empty()) throw std::runtime_error(reason);
    {
        // The one connection that may create the file.
        std::lock_guard lock(mutex_);
        connections_[std::this_thread::get_id()] = std::make_unique<SqliteConnection>(
            path_, OpenMode::createWhenMissing, QueryLimits{settings_.queryTimeLimit, &stopping_});
    }
    auto& db = connection();
    if (db.readOnly()) throw std::runtime_error(readOnly);
    startQueryClock(std::chrono::hours(24));  // building the search index of an old file may take long
    createOrCheckSchema(db);
    if (auto size = db.prepare("PRAGMA page_size"); size.step()) pageSize_ = size.integer(0);
    const auto identity = currentIdentity();
    if (!identity) throw std::runtime_error(path_ + " disappeared while it was being opened");
    identity_ = *identity;
    maintenanceConnection_ = std::make_unique<SqliteConnection>(path_, OpenMode::existingOnly);
    maintenance_ = std::thread([this] { maintenanceLoop(); });
}

void SqliteCaseStore::createOrCheckSchema(SqliteConnection& db) {
    WriteTransaction transaction(db);
    bool indexMissing = false;
    {
        auto probe = db.prepare("SELECT count(*) FROM sqlite_master WHERE name = 'case_grams'");
        indexMissing = probe.step() && probe.integer(0) == 0;
    }
    // An index by owner built by the earlier tokenizer put the NUL bytes of a text into its terms,
    // which FTS5 cannot keep: after one such text every write failed. It is built again.
    std::int64_t version = 0;
    if (auto pragma = db.prepare("PRAGMA user_version"); pragma.step()) version = pragma.integer(0);
    const bool rebuilt = !indexMissing && version < kNulSafeIndexVersion;
    if (rebuilt) {
        db.execute("DROP TABLE case_grams; DROP TABLE IF EXISTS case_grams_short;");
        indexMissing = true;
    }
    // Files of earlier versions carry a trigram index, which cannot look up one or two
    // characters, or a character index whose terms mix all users' cases, which makes a user
    // among many wade through the others' cases; the index by owner replaces both. The
    // triggers that kept it on insert and update gave way to the writes' own statements.
    db.execute(
        "DROP TRIGGER IF EXISTS gua_search_insert; DROP TRIGGER IF EXISTS gua_search_delete; "
        "DROP TRIGGER IF EXISTS gua_search_update; DROP TABLE IF EXISTS gua_search; "
        "DROP TRIGGER IF EXISTS gua_grams_insert; DROP TRIGGER IF EXISTS gua_grams_delete; "
        "DROP TRIGGER IF EXISTS gua_grams_unindex; DROP TRIGGER IF EXISTS gua_grams_update; "
        "DROP TABLE IF EXISTS gua_grams; DROP TABLE IF EXISTS gua_grams_short; DROP VIEW IF EXISTS gua_grams_texts; "
        "DROP TRIGGER IF EXISTS case_grams_insert; DROP TRIGGER IF EXISTS case_grams_unindex; "
        "DROP TRIGGER IF EXISTS case_grams_update;");
    db.execute(kSchema);
    if (!hasColumn(db.handle(), "users", "nm_key")) db.execute("ALTER TABLE users ADD COLUMN nm_key TEXT");
    fillNameKeys(db);
    db.execute("CREATE UNIQUE INDEX IF NOT EXISTS users_nm_key ON users(nm_key)");
    if (indexMissing)
        db.execute(
            "INSERT INTO case_grams(rowid, texts) SELECT id, texts FROM case_grams_texts ORDER BY id;"
            "INSERT INTO case_grams_short(rowid, texts) SELECT id, texts FROM case_grams_texts ORDER BY id;");
    db.execute(("PRAGMA application_id=" + std::to_string(kApplicationId)).c_str());
    db.execute(("PRAGMA user_version=" + std::to_string(kNulSafeIndexVersion)).c_str());
    std::int64_t cases = 0;
    if (rebuilt)
        if (auto count = db.prepare("SELECT count(*) FROM gua_table"); count.step()) cases = count.integer(0);
    transaction.commit();
    if (rebuilt)
        std::cerr << "qinglan-caseservice: " << path_ << ": keyword index of an earlier version rebuilt (" << cases
                  << " cases)\n";
}

void SqliteCaseStore::fillNameKeys(SqliteConnection& db) {
    std::vector<std::pair<std::int64_t, std::string>> missing;
    {
        auto stmt = db.prepare("SELECT id, nm FROM users WHERE nm_key IS NULL ORDER BY id");
        while (stmt.step()) missing.emplace_back(stmt.integer(0), stmt.text(1));
    }
    if (missing.empty()) return;
    std::map<std::string, std::int64_t> taken;
    {
        auto stmt = db.prepare("SELECT nm_key, id FROM users WHERE nm_key IS NOT NULL");
        while (stmt.step()) taken.emplace(stmt.text(0), stmt.integer(1));
    }
    for (const auto& [id, nm] : missing) {
        std::string key = accountNameKey(nm).value_or("");
        if (key.empty() || taken.contains(key)) {
            // An account from before names were compared this way that now meets another
            // one: it keeps its rows but can no longer be logged in to.
            std::cerr << "qinglan-caseservice: account " << id << " (" << nm
                      << ") has a name that is not valid any more or looks like an earlier account's; "
                         "it cannot log in until renamed\n";
            key = "\x01" + std::to_string(id);
        }
        taken.emplace(key, id);
        db.prepare("UPDATE users SET nm_key = ?2 WHERE id = ?1").bind(1, id).bind(2, key).run();
    }
}

SqliteCaseStore::~SqliteCaseStore() {
    {
        std::lock_guard lock(maintenanceMutex_);
        maintenanceStop_ = true;
    }
    maintenanceWake_.notify_all();
    if (maintenance_.joinable()) maintenance_.join();
}

std::optional<SqliteCaseStore::FileIdentity> SqliteCaseStore::currentIdentity() const {
    struct stat info {};
    if (::stat(path_.c_str(), &info) != 0) return std::nullopt;
    return FileIdentity{static_cast<unsigned long long>(info.st_dev), static_cast<unsigned long long>(info.st_ino)};
}

void SqliteCaseStore::checkFileBeforeWriting() {
    if (currentIdentity() == identity_) {
        if (fileLost_.exchange(false)) std::cerr << "qinglan-caseservice: " << path_ << " is back; writes resume\n";
        return;
    }
    if (!fileLost_.exchange(true))
        std::cerr << "qinglan-caseservice: " << path_
                  << " is missing or was replaced by another file; every write is refused until the original "
                     "file is back (restart the service to use a new one)\n";
    throw std::runtime_error("database file " + path_ + " is missing or replaced; write refused");
}

std::int64_t SqliteCaseStore::logSize() const {
    struct stat wal {};
    return ::stat((path_ + "-wal").c_str(), &wal) == 0 ? static_cast<std::int64_t>(wal.st_size) : 0;
}

void SqliteCaseStore::checkpointIfLarger(SqliteConnection& db, std::int64_t bytes) {
    if (logSize() <= bytes) return;
    // Writers wait for the lock meanwhile, so the checkpoint is not starved by them. TRUNCATE
    // then waits (within the busy timeout) for readers of older snapshots, copies the log into
    // the database and cuts it to nothing.
    std::lock_guard writing(writeMutex_);
    try {
        if (logSize() > bytes) db.execute("PRAGMA wal_checkpoint(TRUNCATE)");
    } catch (const std::exception& e) {
        std::cerr << "qinglan-caseservice: checkpoint: " << e.what() << '\n';
    }
}

void SqliteCaseStore::cutLog() {
    // Copies into the database what the log holds, beside the writers and without stopping
    // them. Then the writers wait while the little they wrote meanwhile is copied too, and the
    // next one starts the log over from its beginning: its blocks are written again rather
    // than given back and allocated anew. Readers of an older snapshot are waited for in short
    // steps; they read for a few milliseconds. Only when readers keep most of a large log from
    // being copied is a longer wait worth the writers' time.
    std::int64_t left = 0;
    try {
        auto passive = maintenanceConnection_->prepare("PRAGMA wal_checkpoint(PASSIVE)");
        if (passive.step()) left = passive.integer(1) - passive.integer(2);
    } catch (const std::exception& e) {
        std::cerr << "qinglan-caseservice: checkpoint: " << e.what() << '\n';
        return;
    }
    const bool pinned = left * pageSize_ > kWriterCheckpointFactor / 2 * settings_.walCheckpointBytes;
    // A file grown past what the writers allow (one big transaction, an index built at start)
    // is cut to nothing rather than started over at its size.
    const bool oversized = logSize() > kWriterCheckpointFactor * settings_.walCheckpointBytes;
    std::lock_guard writing(writeMutex_);
    try {
        const ShortBusyWaits waits(*maintenanceConnection_, pinned || oversized ? std::chrono::milliseconds(5000)
                                                                                : std::chrono::milliseconds(200));
        auto restart = maintenanceConnection_->prepare(oversized ? "PRAGMA wal_checkpoint(TRUNCATE)"
                                                                 : "PRAGMA wal_checkpoint(RESTART)");
        if (restart.step() && restart.integer(0) == 0) {
            logFrames_ = 0;
            cutRetryAtFrames_ = 0;
        } else {
            // A reader still holds an older snapshot: the writers are not held again for it
            // before the log has grown by as much once more.
            cutRetryAtFrames_ = logFrames_.load() + settings_.walCheckpointBytes / pageSize_;
        }
    } catch (const std::exception& e) {
        std::cerr << "qinglan-caseservice: checkpoint: " << e.what() << '\n';
    }
}

void SqliteCaseStore::maintain() {
    // The maintenance thread and a direct call (tests) share the maintenance connection.
    std::lock_guard maintaining(maintainMutex_);
    startQueryClock(std::chrono::seconds(30));
    if (currentIdentity() != identity_) {
        if (!fileLost_.exchange(true))
            std::cerr << "qinglan-caseservice: " << path_
                      << " is missing or was replaced by another file; every write is refused\n";
        return;
    }
    const std::int64_t frames = logFrames_.load();
    if ((frames * pageSize_ > settings_.walCheckpointBytes && frames >= cutRetryAtFrames_) ||
        logSize() > kWriterCheckpointFactor * settings_.walCheckpointBytes)
        cutLog();
    mergeIndexWhenIdle();
    // Sessions end by the second; looking for ended ones once a second is enough.
    const std::int64_t now = nowSeconds();
    if (now == lastSessionSweep_) return;
    lastSessionSweep_ = now;
    try {
        maintenanceConnection_->prepare("DELETE FROM sessions WHERE expires <= ?1").bind(1, now).run();
    } catch (const std::exception& e) {
        std::cerr << "qinglan-caseservice: removing ended sessions: " << e.what() << '\n';
    }
}

void SqliteCaseStore::maintenanceLoop() {
    std::unique_lock lock(maintenanceMutex_);
    while (!maintenanceStop_) {
        maintenanceWake_.wait_for(lock, settings_.maintenanceInterval, [this] { return maintenanceStop_; });
        if (maintenanceStop_) break;
        lock.unlock();
        maintain();
        lock.lock();
    }
}

std::unique_ptr<SqliteConnection> SqliteCaseStore::openConnection() const {
    // A connection opened on a file put in place of ours would switch that file to WAL mode
    // beside our log and stay pointed at it; only the original file is opened.
    const auto refuseForeignFile = [this] {
        if (currentIdentity() != identity_)
            throw std::runtime_error("database file " + path_ + " is missing or replaced; not opened");
    };
    refuseForeignFile();
    return std::make_unique<SqliteConnection>(path_, OpenMode::existingOnly,
                                              QueryLimits{settings_.queryTimeLimit, &stopping_}, refuseForeignFile);
}

SqliteConnection& SqliteCaseStore::connection() {
    startQueryClock(settings_.queryTimeLimit);
    std::lock_guard lock(mutex_);
    auto& slot = connections_[std::this_thread::get_id()];
    if (!slot) slot = openConnection();
    return *slot;
}

SqliteConnection& SqliteCaseStore::writeConnection() {
    checkFileBeforeWriting();
    startQueryClock(settings_.queryTimeLimit);
    // Every batch is written on one connection, whichever thread commits it: its page cache
    // stays valid from one batch to the next, where a thread's own connection would find its
    // cache outdated by the others' commits and read every page again.
    if (!writer_) {
        writer_ = openConnection();
        writer_->execute("PRAGMA cache_size=-65536");  // taken only as pages are used
        sqlite3_wal_hook(
            writer_->handle(),
            [](void* frames, sqlite3*, const char*, int count) {
                static_cast<std::atomic<std::int64_t>*>(frames)->store(count);
                return SQLITE_OK;
            },
            &logFrames_);
    }
    return *writer_;
}

void SqliteCaseStore::write(const GroupCommit::Write& change) {
    checkpointIfLarger(connection(), kWriterCheckpointFactor * settings_.walCheckpointBytes);
    ++writesSinceIndexMerge_;
    lastWrite_ = std::chrono::steady_clock::now().time_since_epoch().count();
    groupCommit_.run(change, [this]() -> SqliteConnection& { return writeConnection(); });
}

void SqliteCaseStore::mergeIndexWhenIdle() {
    // Every commit adds a segment to each keyword table, and a search reads every segment; the
    // tables' own merging keeps a few per level, which at a hundred thousand cases halves the
    // searches' speed. After a share of new writes (a twentieth of the cases, so that rewriting
    // the index costs each write little) and once nothing has been written for a while, the
    // segments are merged into one, a few pages at a time: a write that comes meanwhile waits
    // for one step at most.
    if (!indexMergeDue_ && writesSinceIndexMerge_ >= indexMergeAfter_) indexMergeDue_ = true;
    const auto idleFor = std::chrono::steady_clock::now().time_since_epoch() -
                         std::chrono::steady_clock::duration(lastWrite_.load());
    if (!indexMergeDue_ || idleFor < settings_.indexMergeIdle) return;
    constexpr auto kStepTime = std::chrono::milliseconds(20);
    const auto stepUntil = std::chrono::steady_clock::now() + kStepTime;
    std::lock_guard writing(writeMutex_);
    sqlite3* handle = maintenanceConnection_->handle();
    try {
        bool merging = true;
        while (merging && groupCommit_.waiting() == 0 && std::chrono::steady_clock::now() < stepUntil) {
            merging = false;
            for (const char* table : {"case_grams_short", "case_grams"}) {
                const int before = sqlite3_total_changes(handle);
                maintenanceConnection_->execute(
                    (std::string("INSERT INTO ") + table + "(" + table + ", rank) VALUES('merge', -16)").c_str());
                // The merge command changes at least two rows when it found work to do.
                merging = merging || sqlite3_total_changes(handle) - before >= 2;
            }
        }
        if (!merging) {
            indexMergeDue_ = false;
            writesSinceIndexMerge_ = 0;
            auto newest = maintenanceConnection_->prepare("SELECT max(id) FROM gua_table");
            indexMergeAfter_ = std::max<std::int64_t>(1000, newest.step() ? newest.integer(0) / 20 : 0);
        }
    } catch (const std::exception& e) {
        std::cerr << "qinglan-caseservice: merging the keyword index: " << e.what() << '\n';
    }
}

bool SqliteCaseStore::createUser(const AccountName& nm, const std::string& pwhash, const std::string& shouji,
                                 const std::string& youxiang) {
    bool created = false;
    write([&](SqliteConnection& db) {
        auto stmt = db.prepare(
            "INSERT INTO users(nm, nm_key, pwhash, shouji, youxiang) VALUES(?1, ?2, ?3, ?4, ?5) ON CONFLICT DO NOTHING");
        stmt.bind(1, nm.display).bind(2, nm.key).bind(3, pwhash).bind(4, shouji).bind(5, youxiang).run();
        created = db.changes() == 1;
    });
    return created;
}

std::optional<UserAccount> SqliteCaseStore::findUser(const std::string& nameKey) {
    auto stmt = connection().prepare("SELECT id, pwhash, disabled FROM users WHERE nm_key = ?1");
    stmt.bind(1, nameKey);
    if (!stmt.step()) return std::nullopt;
    return UserAccount{stmt.integer(0), stmt.text(1), stmt.integer(2) != 0};
}

void SqliteCaseStore::replacePassword(std::int64_t user, const std::string& pwhash, const SessionRecord& fresh) {
    write([&](SqliteConnection& db) {
        db.prepare("UPDATE users SET pwhash = ?2 WHERE id = ?1").bind(1, user).bind(2, pwhash).run();
        db.prepare("DELETE FROM sessions WHERE user_id = ?1").bind(1, user).run();
        db.prepare("INSERT INTO sessions(token_hash, user_id, expires) VALUES(?1, ?2, ?3)")
            .bind(1, fresh.tokenHash)
            .bind(2, user)
            .bind(3, fresh.expires)
            .run();
    });
}

void SqliteCaseStore::openSession(const SessionRecord& session, int keepAtMost) {
    write([&](SqliteConnection& db) {
        db.prepare("INSERT INTO sessions(token_hash, user_id, expires) VALUES(?1, ?2, ?3)")
            .bind(1, session.tokenHash)
            .bind(2, session.user)
            .bind(3, session.expires)
            .run();
        // The newest by opening order (many may share an expiry second).
        db.prepare(
              "DELETE FROM sessions WHERE user_id = ?1 AND id NOT IN "
              "(SELECT id FROM sessions WHERE user_id = ?1 ORDER BY id DESC LIMIT ?2)")
            .bind(1, session.user)
            .bind(2, std::int64_t{keepAtMost})
            .run();
    });
}

std::optional<std::int64_t> SqliteCaseStore::sessionUser(const std::string& tokenHash, const std::string& nameKey,
                                                         std::int64_t now) {
    auto stmt = connection().prepare(
        "SELECT s.user_id FROM sessions s JOIN users u ON u.id = s.user_id "
        "WHERE s.token_hash = ?1 AND s.expires > ?3 AND u.nm_key = ?2 AND u.disabled = 0");
    stmt.bind(1, tokenHash).bind(2, nameKey).bind(3, now);
    if (!stmt.step()) return std::nullopt;
    return stmt.integer(0);
}

void SqliteCaseStore::closeSession(const std::string& tokenHash) {
    write([&](SqliteConnection& db) {
        db.prepare("DELETE FROM sessions WHERE token_hash = ?1").bind(1, tokenHash).run();
    });
}

std::int64_t SqliteCaseStore::insertCase(std::int64_t user, const CaseFields& fields) {
    std::int64_t id = 0;
    write([&](SqliteConnection& db) { id = insertRow(db, user, fields); });
    return id;
}

std::int64_t SqliteCaseStore::insertRow(SqliteConnection& db, std::int64_t user, const CaseFields& fields,
                                        const std::string& duanyu, const std::string& fankui) {
    auto stmt = db.prepare(
        "INSERT INTO gua_table(user_id, gua_ming, gua_bianhao, lei_id, nian, yue, ri, xingbie, chusheng, shiyou, "
        "duanyu, fankui) VALUES(?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12)");
    stmt.bind(1, user);
    bindCaseFields(stmt, 2, fields);
    stmt.bind(11, duanyu).bind(12, fankui);
    stmt.run();
    const std::int64_t id = db.lastInsertId();
    indexTexts(db, id, IndexChange::add);
    return id;
}

void SqliteCaseStore::indexTexts(SqliteConnection& db, std::int64_t id, IndexChange change) {
    // One row by VALUES, not INSERT ... SELECT: a statement that may write several rows runs in
    // a statement transaction of its own, and opening one makes the index flush what it holds.
    static constexpr const char* kAdd[] = {
        "INSERT INTO case_grams(rowid, texts) VALUES(?1, (SELECT texts FROM case_grams_texts WHERE id = ?1))",
        "INSERT INTO case_grams_short(rowid, texts) VALUES(?1, (SELECT texts FROM case_grams_texts WHERE id = ?1))"};
    static constexpr const char* kRemove[] = {
        "INSERT INTO case_grams(case_grams, rowid, texts) "
        "VALUES('delete', ?1, (SELECT texts FROM case_grams_texts WHERE id = ?1))",
        "INSERT INTO case_grams_short(case_grams_short, rowid, texts) "
        "VALUES('delete', ?1, (SELECT texts FROM case_grams_texts WHERE id = ?1))"};
    for (const char* sql : change == IndexChange::add ? kAdd : kRemove) db.prepare(sql).bind(1, id).run();
}

void SqliteCaseStore::saveTexts(std::int64_t user, const CaseFields& fields, TextsToSave which,
                                const std::string& duanyu, const std::string& fankui) {
    const bool setDuanyu = which == TextsToSave::duanyu || which == TextsToSave::both;
    const bool setFankui = which == TextsToSave::fankui || which == TextsToSave::both;
    // Both texts in one statement, so the index takes each case's old texts out and adds the new once.
    write([&](SqliteConnection& db) {
        std::vector<std::int64_t> ids;
        {
            auto same = db.prepare("SELECT id FROM gua_table WHERE user_id = ?1 AND gua_bianhao = ?2 ORDER BY id");
            same.bind(1, user).bind(2, fields.gua_bianhao);
            while (same.step()) ids.push_back(same.integer(0));
        }
        if (ids.empty()) {
            insertRow(db, user, fields, setDuanyu ? duanyu : std::string(), setFankui ? fankui : std::string());
            return;
        }
        const std::string assignments = setDuanyu && setFankui ? "duanyu = ?3, fankui = ?4"
                                        : setDuanyu           ? "duanyu = ?3"
                                                              : "fankui = ?4";
        for (const std::int64_t id : ids) {
            indexTexts(db, id, IndexChange::remove);
            auto update = db.prepare("UPDATE gua_table SET " + assignments + " WHERE id = ?1");
            update.bind(1, id);
            if (setDuanyu) update.bind(3, duanyu);
            if (setFankui) update.bind(4, fankui);
            update.run();
            indexTexts(db, id, IndexChange::add);
        }
    });
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
    auto stmt = connection().prepare(std::string(kSummaryColumns) + "WHERE user_id = ?1 ORDER BY id DESC LIMIT ?2");
    stmt.bind(1, user).bind(2, std::int64_t{limit});
    return readSummaries(stmt);
}

std::vector<CaseSummary> SqliteCaseStore::searchCases(std::int64_t user, const std::string& keyword, int limit) {
    // instr() takes the keyword literally ("%" and "_" are not wildcards); lower() folds
    // ASCII letters only, as the local search's LIKE does. That test is the meaning of a match;
    // the index only finds the user's cases to test, newest first, so the search stops at the
    // limit without reading the others.
    const std::string folded = lowerAscii(keyword);
    const char* contains =
        "(instr(lower(g.gua_ming), ?2) > 0 OR instr(lower(g.shiyou), ?2) > 0 "
        "OR instr(lower(g.duanyu), ?2) > 0 OR instr(lower(g.fankui), ?2) > 0)";
    if (const auto phrase = text_search::ownedKeywordPhrase(user, keyword)) {
        const bool shortKeyword = text_search::isShortKeyword(keyword);
        const std::string index = shortKeyword ? "case_grams_short" : "case_grams";
        // The index holds only the user's cases under the user's terms; the owner test stays
        // beside it all the same. The texts are tested again only where the index may find more
        // than the literal test.
        const bool exact = indexFindsExactly(keyword);
        // CROSS JOIN keeps the index as the outer loop.
        auto stmt = connection().prepare("SELECT g.id, g.gua_bianhao, g.shiyou, g.gua_ming FROM " + index +
                                         " s CROSS JOIN gua_table g ON g.id = s.rowid WHERE " + index +
                                         " MATCH ?4 AND g.user_id = ?1" + (exact ? "" : " AND " + std::string(contains)) +
                                         " ORDER BY s.rowid DESC LIMIT ?3");
        stmt.bind(1, user).bind(3, std::int64_t{limit}).bind(4, *phrase);
        if (!exact) stmt.bind(2, folded);
        return readSummariesWithinTime(stmt);
    }
    // What the index cannot take (see ownedKeywordPhrase) is looked for in the user's cases.
    auto stmt = connection().prepare(std::string("SELECT g.id, g.gua_bianhao, g.shiyou, g.gua_ming FROM gua_table g "
                                                 "WHERE g.user_id = ?1 AND ") +
                                     contains + " ORDER BY g.id DESC LIMIT ?3");
    stmt.bind(1, user).bind(2, folded).bind(3, std::int64_t{limit});
    return readSummariesWithinTime(stmt);
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
    auto stmt =
        connection().prepare(std::string(kSummaryColumns) +
                             "WHERE user_id = ?1 AND lei_id = ?5 AND nian = ?2 AND yue = ?3 ORDER BY id LIMIT ?4");
    stmt.bind(1, user).bind(2, nian).bind(3, yue).bind(4, std::int64_t{limit}).bind(5, *category);
    return readSummaries(stmt);
}

std::vector<Category> SqliteCaseStore::categories(std::int64_t user) {
    auto stmt =
        connection().prepare("SELECT lei_mingcheng, lei_id FROM fenlei_table WHERE user_id = ?1 ORDER BY lei_id");
    stmt.bind(1, user);
    std::vector<Category> rows;
    while (stmt.step()) rows.push_back({stmt.text(0), stmt.integer(1)});
    return rows;
}

void SqliteCaseStore::renameCategory(std::int64_t user, std::int64_t lei_id, const std::string& lei_mingcheng) {
    write([&](SqliteConnection& db) {
        db.prepare(
              "INSERT INTO fenlei_table(user_id, lei_id, lei_mingcheng) VALUES(?1, ?2, ?3) "
              "ON CONFLICT(user_id, lei_id) DO UPDATE SET lei_mingcheng = excluded.lei_mingcheng")
            .bind(1, user)
            .bind(2, lei_id)
            .bind(3, lei_mingcheng)
            .run();
    });
}

}  // namespace qinglan::caseservice
