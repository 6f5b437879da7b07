#pragma once
// Export and import of cases as JSON Lines: one case per line, a JSON object with every field
// of the case and its category's name, UTF-8. Other programs can read it, and an import merges
// it into a database, categories created by name:
// - a line with a "uuid" this database holds is that case: skipped when its texts (gua_ming,
//   xingbie, chusheng, shiyou, duanyu, fankui) are the same, otherwise they are updated (its
//   number, date and category stay), or with KnownCases::Refuse the line is refused;
// - any other line is skipped when a case with the same case number and the same texts is
//   present, and added otherwise (with the line's uuid, or a new one).
// Every text is at most kMaxCaseTextBytes of UTF-8 (case_text_limit.h); a line with a longer
// one is refused, naming the field.
//
// Line fields: "id" (the exporting database's id, ignored on import), "uuid" (the case's
// identity across libraries, see case_identity.h; optional on import), "gua_ming",
// "gua_bianhao" (required on import), "lei_mingcheng" (category name), "nian", "yue", "ri",
// "xingbie", "chusheng", "shiyou", "duanyu", "fankui", "shijian", "zhanlei", "outcome" (hit,
// partial, miss, pending; the words 应验 部分应验 未应验 待验 are read too), "outcome_date",
// "predicted_date" ("yyyy-mm-dd" or null), "didian" (the place of the cast, "LONGITUDE,ZONE") and
// "shizhi" (the clock of its pillars, "beijing" or "solar"), both null for the clock read as Beijing
// time as it stands. A line without the three outcome fields leaves a stored outcome be (a new case
// is pending); a line with any of them sets all three. A line without didian and shizhi adds its case
// on the default place; like the number and the date, the place of a case already here stays. A
// place or clock that cannot be read refuses the line. A missing database value is null.
#include "store/case_text_limit.h"
#include "store/database.h"

#include <QDate>
#include <QIODevice>
#include <QList>
#include <QString>
#include <optional>

namespace store {

// The longest line an import reads; a longer line is refused before it is held. Room for the
// ten texts of a line at their limit even when a writer escapes every byte (\u0041: 6 bytes).
inline constexpr qint64 kMaxImportLineBytes = 16ll * 1024 * 1024;

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

// What an import did; when it was not committed (a dry run aside) it added and updated nothing.
struct ImportReport {
    qint64 added = 0;
    qint64 updated = 0;  // cases known by their uuid whose texts the line changed
    qint64 skipped = 0;
    QList<RefusedLine> refused;
    bool committed = false;  // the added and updated cases are in the database
};

enum class ImportMode {
    DryRun,        // count only; nothing is kept
    AllOrNothing,  // keep the added cases only when no line was refused
    SkipRefused,   // keep the added cases; refused lines are left out (the user confirmed)
};

// What a line does to a case it names by uuid whose texts differ.
enum class KnownCases {
    Update,  // the case takes the line's texts
    Refuse,  // the line is refused
};

// Reads JSON Lines from `in` and merges them in one transaction. Blank lines are ignored.
ImportReport importCases(Database& db, QIODevice& in, ImportMode mode, KnownCases known = KnownCases::Update);

}  // namespace store
