#include "record/record_json.h"

#include <QJsonArray>

namespace record {
namespace {

QJsonValue optionalNumber(const std::optional<double>& value) { return value ? QJsonValue(*value) : QJsonValue(); }
QJsonValue optionalNumber(const std::optional<int>& value) { return value ? QJsonValue(*value) : QJsonValue(); }

QJsonArray groupsJson(const QList<Group>& groups) {
    QJsonArray out;
    for (const Group& g : groups) out.append(groupJson(g));
    return out;
}

}  // namespace

QJsonObject groupJson(const Group& group) {
    const Tally& t = group.tally;
    return {{QStringLiteral("key"), group.key},         {QStringLiteral("total"), t.total},
            {QStringLiteral("decided"), t.decided()},   {QStringLiteral("hits"), t.hits},
            {QStringLiteral("partial"), t.partial},     {QStringLiteral("misses"), t.misses},
            {QStringLiteral("hitRate"), optionalNumber(t.hitRate())}};
}

QJsonObject recordJson(const PracticeRecord& record, GroupBy by) {
    const Tally& t = record.overall;
    QJsonArray histogram;
    for (const HistogramBin& bin : record.timing.histogram)
        histogram.append(QJsonObject{{QStringLiteral("from"), optionalNumber(bin.from)},
                                     {QStringLiteral("to"), optionalNumber(bin.to)},
                                     {QStringLiteral("count"), bin.count}});
    QJsonArray overdue;
    for (const PendingCase& c : record.overdue)
        overdue.append(QJsonObject{{QStringLiteral("id"), c.id},
                                   {QStringLiteral("date"), c.castDate.toString(QStringLiteral("yyyy-MM-dd"))},
                                   {QStringLiteral("caseNumber"), c.caseNumber},
                                   {QStringLiteral("subject"), c.subject}});
    return {{QStringLiteral("total"), t.total},
            {QStringLiteral("decided"), t.decided()},
            {QStringLiteral("hits"), t.hits},
            {QStringLiteral("partial"), t.partial},
            {QStringLiteral("misses"), t.misses},
            {QStringLiteral("pending"), t.pending},
            {QStringLiteral("hitRate"), optionalNumber(t.hitRate())},
            {QStringLiteral("groups"), groupsJson(record.groupsBy(by))},
            {QStringLiteral("timingErrorDays"),
             QJsonObject{{QStringLiteral("count"), record.timing.count},
                         {QStringLiteral("median"), optionalNumber(record.timing.median)},
                         {QStringLiteral("histogram"), histogram}}},
            {QStringLiteral("quarters"), groupsJson(record.quarters)},
            {QStringLiteral("overduePending"), overdue}};
}

}  // namespace record
