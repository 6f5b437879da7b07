#pragma once
// The record as JSON, as `qinglan-cli cases stats --json` prints it: total, decided, hits,
// partial, misses, pending, hitRate (null without a decided case), groups [{key, total, decided,
// hits, partial, misses, hitRate}] of one grouping, timingErrorDays {count, median, histogram
// [{from, to, count}]} (null at an open end), and besides them quarters (as groups) and
// overduePending [{id, date, caseNumber, subject}].
#include <QJsonObject>

#include "record/practice_record.h"

namespace record {

QJsonObject recordJson(const PracticeRecord& record, GroupBy by);
QJsonObject groupJson(const Group& group);

}  // namespace record
