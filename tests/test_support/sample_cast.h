#pragma once
// A finished cast as the casting dialog hands it to the store: 乾为天 on 2024-02-04, category 杂类.
#include "store/case_store.h"

inline store::CastCase sampleCast(const char16_t* number, const char16_t* subject) {
    store::CastCase c;
    c.hexagramName = QStringLiteral("乾为天");
    c.caseNumber = QString::fromUtf16(number);
    c.category = QStringLiteral("杂类");
    c.gender = QStringLiteral("男");
    c.birthYear = QStringLiteral("1980");
    c.subject = QString::fromUtf16(subject);
    c.castDate = QDate(2024, 2, 4);
    return c;
}
