#pragma once
// The lists of stored cases: the 50 most recent, keyword search, the browser's year, month and
// case lists, the texts of one case, and the categories.
#include "store/case_record.h"
#include "store/database.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace store {

// One case of a list; the windows show id;caseNumber (compacted);subject;hexagramName.
struct CaseListRow {
    qint64 id = 0;
    QString hexagramName, caseNumber, subject;
};

struct Category {
    qint64 categoryId = 0;  // fenlei_table.lei_id
    QString categoryName;   // lei_mingcheng
};

// A category identifier of -1 means all categories (viewing by time).
inline constexpr qint64 kAllCategories = -1;

class CaseLists {
public:
    explicit CaseLists(Database& db) : db_(db) {}

    // Newest first by insert time (ties by id).
    QList<CaseListRow> recentCases(int count = 50) const;
    // Cases whose gua_ming, shiyou, duanyu or fankui contain the keyword literally ("%", "_" and
    // "\" are plain characters here; ASCII letters match either case, as LIKE compares them),
    // newest (highest id) first; at most `limit`, and only those of one category unless
    // kAllCategories.
    QList<CaseListRow> searchCases(const QString& keyword, int limit = 100, qint64 category = kAllCategories) const;
    QStringList yearList(qint64 category) const;
    QStringList monthList(qint64 category, int year) const;
    QList<CaseListRow> casesOfMonth(qint64 category, int year, int month) const;
    std::optional<CaseTexts> caseTexts(qint64 id) const;

    QList<Category> categories() const;
    QStringList categoryNames() const;
    void renameCategory(qint64 categoryId, const QString& name);

private:
    QList<CaseListRow> rows(const QString& statement, const QVariantList& values) const;

    Database& db_;
};

}  // namespace store
