// Checks on the database file itself, before SQLite opens it and while the service runs: that
// it is SQLite at all, that it is a case-service database and not another program's, and that
// the path still names the file opened at start.
#pragma once

#include <optional>
#include <string>

namespace qinglan::caseservice {

// Whether the file, when it exists and is not empty, starts as an SQLite database does.
bool looksLikeSqlite(const std::string& path);

// Why an existing SQLite file is not one of ours; empty when it is (or is empty or missing).
// Looked at through a read-only handle, so nothing in the file changes.
std::string foreignDatabaseReason(const std::string& path);

// The device and inode a path names: a file put in place of another one has other ones.
struct FileIdentity {
    unsigned long long device = 0, inode = 0;
    bool operator==(const FileIdentity&) const = default;
};
// nullopt when nothing is at the path.
std::optional<FileIdentity> fileIdentity(const std::string& path);

}  // namespace qinglan::caseservice
