#include "store/sqlite/sqlite_file_checks.h"

#include "store/sqlite/sqlite_schema.h"

#include <sqlite3.h>
#include <sys/stat.h>

#include <cstdint>
#include <fstream>
#include <string_view>
#include <vector>

namespace qinglan::caseservice {

namespace {

constexpr std::string_view kSqliteHeader{"SQLite format 3\0", 16};

}  // namespace

bool looksLikeSqlite(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return true;  // missing: created
    std::string head(kSqliteHeader.size(), '\0');
    in.read(head.data(), static_cast<std::streamsize>(head.size()));
    return in.gcount() == 0 || head == kSqliteHeader;
}

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

std::optional<FileIdentity> fileIdentity(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return std::nullopt;
    return FileIdentity{static_cast<unsigned long long>(info.st_dev), static_cast<unsigned long long>(info.st_ino)};
}

}  // namespace qinglan::caseservice
