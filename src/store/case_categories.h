#pragma once
// Adding, deleting and checking the names of case categories (fenlei_table). Renaming stays in
// CaseLists (the login keeps it in step with the case service); a window checks the new name
// with nameProblem() first. None of these operations talks to the case service.
#include "store/database.h"

#include <QString>
#include <optional>

namespace store {

// The longest category name the store keeps, in characters: the width the category lists
// were built for (names used to be compared on their first 32 characters only).
inline constexpr int kCategoryNameMaxLength = 32;
// The category the casting dialog preselects; cases of a deleted category can move to it.
inline const QString kMiscCategoryName = QStringLiteral("杂类");
// Categories added here are numbered from this id on, so the category names the case
// service sends at login (matched by id) never rename a category the user added locally.
inline constexpr qint64 kFirstLocalCategoryId = 1001;

// The outcome of a change the user asked for: done, or refused with a message to show.
struct CategoryChange {
    bool done = false;
    qint64 categoryId = 0;
    QString problem;
};

class CaseCategories {
public:
    explicit CaseCategories(Database& db) : db_(db) {}

    // Why `name` cannot name a category (other than the one with id exceptId): empty, longer
    // than kCategoryNameMaxLength, or the whole name is already used. None when it can.
    std::optional<QString> nameProblem(const QString& name, qint64 exceptId = 0) const;
    std::optional<qint64> idOf(const QString& name) const;
    qint64 caseCount(qint64 categoryId) const;

    CategoryChange add(const QString& name);

    enum class CasesInside { Refuse, MoveToMisc };
    // Deletes the category. When it holds cases it is refused, or (MoveToMisc, after the user
    // confirmed) its cases move to "杂类" in the same transaction. "杂类" itself is never deleted.
    CategoryChange remove(qint64 categoryId, CasesInside cases);

private:
    Database& db_;
};

}  // namespace store
