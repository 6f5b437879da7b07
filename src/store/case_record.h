#pragma once
// The current stored case held for the main window.
#include <QString>

namespace store {

struct CaseRecord {
    // The nine case fields, numbers as their decimal text (lei_id empty when the category is unknown).
    QString gua_ming, gua_bianhao, lei_id, nian, yue, ri, xingbie, chusheng, shiyou;
    QString zhanlei;  // the question type (占类), empty when none was chosen
    // The place of the cast ("LONGITUDE,ZONE") and the clock of its pillars ("beijing", "solar");
    // both empty for the clock read as Beijing time as it stands.
    QString place, timeRule;
    // The local row (gua_table.id) the judgment and feedback are saved into; 0 while there is
    // none yet (a chart-only cast, a case of the case service), and the first save inserts it.
    // Never the case number: several cases may share one.
    qint64 saveKey = 0;
    // Identifier of the case last created or loaded: the local id, or the cloud identifier.
    qint64 caseId = 0;
};

// The judgment (断语) and feedback (反馈) texts of a case.
struct CaseTexts {
    QString duanyu;
    QString fankui;
};

// The case line drawn at the top of the chart after a cast: "性别:男 出生:1980 占事:求职".
inline QString caseLineOfCast(const CaseRecord& r) {
    return QStringLiteral("性别:") + r.xingbie + QStringLiteral(" 出生:") + r.chusheng + QStringLiteral(" 占事:") +
           r.shiyou;
}

// The case line after loading a stored case; it has no colon after 占事.
inline QString caseLineOfLoad(const CaseRecord& r) {
    return QStringLiteral("性别:") + r.xingbie + QStringLiteral(" 出生:") + r.chusheng + QStringLiteral(" 占事") +
           r.shiyou;
}

}  // namespace store
