#pragma once
// Reading the case service's replies: "<t>" ends every field, a leading status field comes
// before records, and "neterror" is the local word for a failed exchange.
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

namespace cloud {

inline const QString kNetError = QStringLiteral("neterror");
inline const QString kFieldEnd = QStringLiteral("<t>");

// The text before the first marker; the text is deleted through the marker. Without the
// marker the whole rest is the field and the text becomes empty.
QString takeThrough(QString& text, QStringView marker);
inline QString takeField(QString& text) { return takeThrough(text, kFieldEnd); }

// The list-reading rule: skip the status field; then, while more than 3 characters remain and
// fewer than cap records have been read, read one record of width fields and delete every
// "<t>" that stands at the start of the rest (empty fields between records are skipped).
QList<QStringList> readList(QString reply, int width, int cap);

}  // namespace cloud
