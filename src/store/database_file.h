#pragma once
// The database file on disk, seen without SQLite: its header, the temporary file a new database
// is made under, and the moves that put a finished file into place.
#include <QString>
#include <utility>

namespace store {

// What the first 100 bytes of a file say (the SQLite file header).
struct FileHeader {
    enum class Kind { Missing, Unreadable, Empty, NotSqlite, Sqlite };
    Kind kind = Kind::Missing;
    bool walMode = false;       // the file is in write-ahead-log mode
    quint32 userVersion = 0;    // PRAGMA user_version as last written to the file itself
    quint32 applicationId = 0;  // PRAGMA application_id
    QString error;              // for Unreadable
};
FileHeader readFileHeader(const QString& path);

// The temporary name under which this process makes the database `path` (same folder, so the
// finished file can be renamed into place).
QString creationFilePath(const QString& path);
// Removes the temporary files (and their journals, or folders) of `path` whose making process
// no longer runs: what a start or a backup killed half-way left behind. Those of running
// processes stay.
void removeStaleCreationFiles(const QString& path);

// Renames `from` to `to` only when `to` does not exist, in one step. False (and `from` left as
// it is) when `to` exists. Throws DatabaseError on any other failure.
bool renameIfAbsent(const QString& from, const QString& to);
// Renames `from` over `to` in one step. Throws DatabaseError on failure.
void renameOver(const QString& from, const QString& to);
// Swaps the two names (files or folders) in one step where the file system allows it.
void exchangePaths(const QString& a, const QString& b);
// Gives `to` as a second name of `from` (a hard link, or a copy where links are not possible).
void keepCopy(const QString& from, const QString& to);
// Flushes a file or a folder entry to the disk.
void syncPath(const QString& path);

// Marks a database file as in use by this program, for as long as the object lives, through a
// lock on the file "<database>.lock" beside it (a lock on the database file itself would
// interfere with SQLite's own locks). Programs using the database share it; restoring a backup
// takes it alone, so it never replaces a file another program still writes to.
class UseLock {
public:
    enum class Kind { Shared, Exclusive };
    // Waits up to timeoutMs. False when another program holds it the other way; true also when
    // the lock file cannot be made (a read-only folder: nothing can be restored there either).
    bool acquire(const QString& databasePath, Kind kind, int timeoutMs);
    void release();
    void swap(UseLock& other) noexcept { std::swap(fd_, other.fd_); }
    ~UseLock();
    UseLock() = default;
    UseLock(const UseLock&) = delete;
    UseLock& operator=(const UseLock&) = delete;

private:
    int fd_ = -1;
};

// True when this process may write the file (or create files in the folder).
bool canWrite(const QString& path);

}  // namespace store
