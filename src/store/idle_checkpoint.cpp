#include "store/idle_checkpoint.h"

#include <QAbstractEventDispatcher>
#include <sqlite3.h>

namespace store {

IdleCheckpoint::IdleCheckpoint(sqlite3* db, int delayMs) : db_(db) {
    timer_.setSingleShot(true);
    timer_.setInterval(delayMs);
    QObject::connect(&timer_, &QTimer::timeout, [this] { runNow(); });
    // Takes the place of SQLite's own hook, which copies the log once it holds 1000 pages.
    sqlite3_wal_hook(db_, &IdleCheckpoint::onCommit, this);
}

IdleCheckpoint::~IdleCheckpoint() { sqlite3_wal_hook(db_, nullptr, nullptr); }

bool IdleCheckpoint::runNow() {
    int logPages = 0;
    int copied = 0;
    const int rc = sqlite3_wal_checkpoint_v2(db_, "main", SQLITE_CHECKPOINT_PASSIVE, &logPages, &copied);
    const bool complete = rc == SQLITE_OK && copied == logPages;
    if (!complete) startTimer();
    return complete;
}

void IdleCheckpoint::startTimer() {
    // A thread without an event loop (a tool run once) copies the log when it closes the file.
    if (QAbstractEventDispatcher::instance()) timer_.start();
}

int IdleCheckpoint::onCommit(void* self, sqlite3*, const char*, int logPages) {
    auto* checkpoint = static_cast<IdleCheckpoint*>(self);
    if (logPages >= kLogPagesLimit)
        checkpoint->runNow();
    else
        checkpoint->startTimer();
    return SQLITE_OK;
}

}  // namespace store
