#pragma once
// The current stored case held for the main window.
#include <QString>

#include "store/case_outcome.h"

namespace store {

struct CaseRecord {
    // The nine case fields (gua_table's gua_ming, gua_bianhao, lei_id, nian, yue, ri, xingbie,
    // chusheng, shiyou), numbers as their decimal text (categoryId empty when the category is unknown).
    QString hexagramName, caseNumber, categoryId, year, month, day, gender, birthYear, subject;
    QString questionType;  // the question type (占类, zhanlei), empty when none was chosen
    // The place of the cast ("LONGITUDE,ZONE") and the clock of its pillars ("beijing", "solar");
    // both empty for the clock read as Beijing time as it stands (gua_table's didian, shizhi).
    QString place, timeRule;
    // The local row (gua_table.id) the judgment and feedback are saved into; 0 while there is
    // none yet (a chart-only cast, a case of the case service), and the first save inserts it.
    // Never the case number: several cases may share one.
    qint64 saveKey = 0;
    // Identifier of the case last created or loaded: the local id, or the cloud identifier.
    qint64 caseId = 0;
};

// The judgment (断语) and feedback (反馈) texts of a case, and its outcome, which is saved with
// the feedback (locally only).
struct CaseTexts {
    QString judgment;  // duanyu
    QString feedback;  // fankui
    CaseOutcome outcome{};
};

// The case line drawn at the top of the chart after a cast: "性别:男 出生:1980 占事:求职".
inline QString caseLineOfCast(const CaseRecord& r) {
    return QStringLiteral("性别:") + r.gender + QStringLiteral(" 出生:") + r.birthYear + QStringLiteral(" 占事:") +
           r.subject;
}

// The case line after loading a stored case; it has no colon after 占事.
inline QString caseLineOfLoad(const CaseRecord& r) {
    return QStringLiteral("性别:") + r.gender + QStringLiteral(" 出生:") + r.birthYear + QStringLiteral(" 占事") +
           r.subject;
}

}  // namespace store
