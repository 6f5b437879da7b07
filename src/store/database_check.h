#pragma once
// Looking a database file over without changing it, and saving what can be read from a damaged
// one into a new file beside it.
#include "store/database.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <optional>

namespace store {

struct DatabaseCheck {
    QString integrity;    // "ok", or what SQLite's integrity check found
    QString searchIndex;  // empty when sound, else what is wrong or why it could not be checked
    qint64 schemaVersion = 0;
    std::optional<qint64> cases, categories;  // none when they could not be counted
    bool sound() const;
};

// Checks the file through a connection that changes nothing (the keyword index's check needs one
// that may write; a file that cannot be written has its index reported as not checked).
DatabaseCheck checkDatabase(const QString& path);

struct RepairReport {
    bool indexRebuilt = false;  // the file was sound and its keyword index was made again
    QString copiedTo;           // the new file with the readable cases, when the file is damaged
    qint64 casesCopied = 0;
    QStringList unreadable;  // what could not be read, one line each
};

// A sound file gets its keyword index made again. A damaged one is left exactly as it is: every
// case and category that can be read goes into a new file beside it, named after `now`.
RepairReport repairDatabase(const QString& path, const QDateTime& now);

}  // namespace store
