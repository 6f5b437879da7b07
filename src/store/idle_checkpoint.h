#pragma once
// While a program has the database open for writing, saves are committed to the write-ahead log
// (one flush to the disk each) and copied into the database file itself shortly after the last
// of them, once the program is idle, so a plain copy of the file taken then holds every save.
// A log that grows past kLogPagesLimit is copied at once, inside the commit that grew it.
#include <QTimer>

struct sqlite3;

namespace store {

class IdleCheckpoint {
public:
    static constexpr int kLogPagesLimit = 1000;

    // Watches the commits of connection db (which must be in write-ahead-log mode) until it is
    // destroyed; the copy runs delayMs after the last commit, on this thread's event loop.
    IdleCheckpoint(sqlite3* db, int delayMs);
    ~IdleCheckpoint();
    IdleCheckpoint(const IdleCheckpoint&) = delete;
    IdleCheckpoint& operator=(const IdleCheckpoint&) = delete;

    // Copies every committed save into the database file now. False when a reader of an older
    // snapshot kept part of the log back (the copy is tried again after the delay).
    bool runNow();

private:
    static int onCommit(void* self, sqlite3* db, const char* schema, int logPages);
    void startTimer();

    sqlite3* db_;
    QTimer timer_;
};

}  // namespace store
