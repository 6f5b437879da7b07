#pragma once
// Export and import of cases as JSON Lines: one case per line, a JSON object with every field
// of the case and its category's name, UTF-8. Other programs can read it, and an import merges
// it into a database: a case already present (same case number and the same texts) is skipped,
// a new one is added, categories are created by name.
//
// Line fields: "id" (the exporting database's id, ignored on import), "gua_ming",
// "gua_bianhao" (required on import), "lei_mingcheng" (category name), "nian", "yue", "ri",
// "xingbie", "chusheng", "shiyou", "duanyu", "fankui", "shijian". A missing database value is
// null.
#include "store/database.h"

#include <QDate>
#include <QIODevice>
#include <QList>
#include <QString>
#include <optional>

namespace store {

// The longest line an import reads; a longer line is refused.
inline constexpr qint64 kMaxImportLineBytes = 64ll * 1024 * 1024;

struct ExportFilter {
    std::optional<QString> category;  // a category name
    std::optional<QDate> from, to;    // the cast date (nian, yue, ri), both ends included
};

// Writes the matching cases in id order and returns how many. A category name that names no
// category, or a device that cannot be written, throws DatabaseError.
qint64 exportCases(const Database& db, const ExportFilter& filter, QIODevice& out);
// Writes the cases with these ids, in the order given, as export lines; an id with no case is
// left out. Returns how many were written.
qint64 exportCasesById(const Database& db, const QList<qint64>& ids, QIODevice& out);

struct RefusedLine {
    qint64 lineNumber = 0;  // counted from 1
    QString reason;
};

struct ImportReport {
    qint64 added = 0;
    qint64 skipped = 0;
    QList<RefusedLine> refused;
    bool committed = false;  // the added cases are in the database
};

enum class ImportMode {
    DryRun,        // count only; nothing is kept
    AllOrNothing,  // keep the added cases only when no line was refused
    SkipRefused,   // keep the added cases; refused lines are left out (the user confirmed)
};

// Reads JSON Lines from `in` and merges them in one transaction. Blank lines are ignored.
ImportReport importCases(Database& db, QIODevice& in, ImportMode mode);

}  // namespace store
