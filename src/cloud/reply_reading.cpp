#include "cloud/reply_reading.h"

#include <utility>

namespace cloud {

QString takeThrough(QString& text, QStringView marker) {
    const qsizetype at = text.indexOf(marker);
    if (at < 0) return std::exchange(text, QString());
    QString field = text.left(at);
    text.remove(0, at + marker.size());
    return field;
}

QList<QStringList> readList(QString reply, int width, int cap) {
    QList<QStringList> records;
    takeField(reply);
    while (reply.size() > 3 && records.size() < cap) {
        QStringList record;
        for (int i = 0; i < width; ++i) record.append(takeField(reply));
        records.append(record);
        while (reply.startsWith(kFieldEnd)) reply.remove(0, kFieldEnd.size());
    }
    return records;
}

}  // namespace cloud
