#pragma once
// The cases seen in this run, for stepping back and forth. Entries are the identifier followed
// by "(本地)" (a local case) or "(网络)" (a case of the case service). Memory only.
#include <QString>
#include <QStringList>
#include <optional>

namespace store {

// Where a history entry loads from.
struct HistoryTarget {
    qint64 id = 0;
    bool local = true;
};

class CaseHistory {
public:
    static QString localEntry(qint64 id) { return QString::number(id) + QStringLiteral("(本地)"); }
    static QString cloudEntry(qint64 id) { return QString::number(id) + QStringLiteral("(网络)"); }
    // The identifier before the first "(" and the store named by the tag; none when the
    // identifier is not a number.
    static std::optional<HistoryTarget> targetOf(const QString& entry);

    // A case just created or picked from the recent list: always appended, and the position
    // moves to it.
    void append(const QString& entry);
    // A case opened by loading it: appended (and the position moved) only when no entry for it
    // is held yet, so stepping through the history does not grow it.
    void appendIfMissing(const QString& entry);

    // Removes every copy of the entry (a deleted case). The position keeps pointing at the entry
    // it pointed at, or at the one before when that entry itself goes.
    void remove(const QString& entry);

    // Moves one back and gives the entry there; none at the front ("已经到最前面。").
    std::optional<QString> stepBack();
    // Moves one forward and gives the entry there; none at the end ("已经到最后面。").
    std::optional<QString> stepForward();

    // Forgets every entry (the cases they named are gone, e.g. the library was replaced).
    void clear() {
        entries_.clear();
        historyPosition_ = -1;
    }

    const QStringList& entries() const { return entries_; }
    int historyPosition() const { return historyPosition_; }

private:
    QStringList entries_;
    int historyPosition_ = -1;
};

}  // namespace store
