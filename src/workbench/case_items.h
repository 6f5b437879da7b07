#pragma once
// The text of a case in the recent list and the case browser: id;case number;subject;name.
#include <QString>
#include <optional>

#include "chart/catalogue.h"
#include "store/case_lists.h"

namespace workbench {

inline QString caseItemText(const store::CaseListRow& row) {
    return QString::number(row.id) + u';' + chart::cleanHexagramName(row.caseNumber) + u';' + row.subject + u';' +
           row.hexagramName;
}

// The identifier of a case item: the text before the first ";".
inline QString caseItemId(const QString& item) { return item.section(u';', 0, 0); }

}  // namespace workbench
