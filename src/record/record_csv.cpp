#include "record/record_csv.h"

#include <QStringList>

namespace record {
namespace {

QString csvField(const QString& text) {
    if (!text.contains(u',') && !text.contains(u'"') && !text.contains(u'\n') && !text.contains(u'\r')) return text;
    return u'"' + QString(text).replace(u'"', QStringLiteral("\"\"")) + u'"';
}

void appendRow(QByteArray& out, const QStringList& fields) {
    QStringList quoted;
    for (const QString& f : fields) quoted << csvField(f);
    out += quoted.join(u',').toUtf8() + "\r\n";
}

void appendGroups(QByteArray& out, const QString& title, const QList<Group>& groups) {
    appendRow(out, {title, QStringLiteral("总数"), QStringLiteral("已验"), QStringLiteral("应验"),
                    QStringLiteral("部分应验"), QStringLiteral("未应验"), QStringLiteral("待验"),
                    QStringLiteral("应验率")});
    for (const Group& g : groups) {
        const Tally& t = g.tally;
        appendRow(out, {g.key, QString::number(t.total), QString::number(t.decided()), QString::number(t.hits),
                        QString::number(t.partial), QString::number(t.misses), QString::number(t.pending),
                        hitRateText(t.hitRate())});
    }
    out += "\r\n";
}

}  // namespace

QString hitRateText(const std::optional<double>& rate) {
    return rate ? QString::number(*rate * 100, 'f', 1) + u'%' : QStringLiteral("—");
}

QString binText(const HistogramBin& bin) {
    if (!bin.from) return QStringLiteral("≤ %1").arg(*bin.to);
    if (!bin.to) return QStringLiteral("≥ %1").arg(*bin.from);
    if (*bin.from == *bin.to) return QString::number(*bin.from);
    return QStringLiteral("%1 … %2").arg(*bin.from).arg(*bin.to);
}

QByteArray recordCsv(const PracticeRecord& record) {
    QByteArray out;
    appendGroups(out, QStringLiteral("总计"), {{QStringLiteral("全部"), record.overall}});
    for (GroupBy by : kGroupings) appendGroups(out, groupByTitle(by), record.groupsBy(by));
    appendGroups(out, QStringLiteral("季度"), record.quarters);
    appendRow(out, {QStringLiteral("应期误差（天）"), QStringLiteral("卦例数")});
    for (const HistogramBin& bin : record.timing.histogram) appendRow(out, {binText(bin), QString::number(bin.count)});
    appendRow(out, {QStringLiteral("中位数"), record.timing.median ? QString::number(*record.timing.median)
                                                                   : QStringLiteral("—")});
    out += "\r\n";
    appendRow(out, {QStringLiteral("久未验证"), QStringLiteral("起卦日期"), QStringLiteral("卦号"),
                    QStringLiteral("占事")});
    for (const PendingCase& c : record.overdue)
        appendRow(out, {QString::number(c.id), c.castDate.toString(QStringLiteral("yyyy-MM-dd")), c.caseNumber,
                        c.subject});
    return out;
}

}  // namespace record
