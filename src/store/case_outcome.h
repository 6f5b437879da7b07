#pragma once
// The outcome of a case: whether the reading came true (应验, 部分应验, 未应验, or 待验 while
// undecided), the day it did or failed, and the day the reading predicted. Stored in gua_table's
// columns outcome (a stable code: hit, partial, miss, pending), outcome_date and predicted_date
// ("yyyy-MM-dd" or null). Kept locally only: the case service does not carry it.
#include <QDate>
#include <QString>
#include <QStringList>
#include <optional>

namespace store {

class Database;

enum class Outcome { Pending, Hit, Partial, Miss };

struct CaseOutcome {
    Outcome outcome = Outcome::Pending;
    QDate date;       // when it came true or failed; invalid when not known
    QDate predicted;  // the day the reading named; invalid when none
    bool operator==(const CaseOutcome&) const = default;
};

// The stored code ("hit") and the word shown ("应验").
QString outcomeCode(Outcome outcome);
QString outcomeName(Outcome outcome);
// The four words in the order the choosers list them: 待验 应验 部分应验 未应验.
QStringList outcomeNames();
// Reads a code or a word; none for anything else.
std::optional<Outcome> parseOutcome(const QString& text);

// A stored date column: "yyyy-MM-dd", or null for an invalid date; and back.
QVariant dateColumn(const QDate& date);
QDate dateOfColumn(const QVariant& value);

// Writes the outcome into the local case with this id; false when there is no such case.
// Database failures throw DatabaseError and change nothing (one statement writes).
bool saveOutcome(Database& db, qint64 id, const CaseOutcome& outcome);
// The outcome of the local case with this id; none when there is no such case.
std::optional<CaseOutcome> outcomeOf(const Database& db, qint64 id);

}  // namespace store
