#pragma once
// The note file keeps the encoding it was written in: a byte-order mark (UTF-8, UTF-16 or
// UTF-32, either byte order) says which; without one the text is UTF-8 when it decodes as
// such, else the legacy GB18030 of older files. An empty file starts as UTF-8 without a mark.
#include <QByteArray>
#include <QString>
#include <optional>

namespace chart {

// The bytes that append one line (and its line break, after a break for a last line without
// one) to a note file holding `existing`, in that file's encoding. Nothing when `existing`
// cannot be read in the encoding its mark names (a UTF-16 file cut inside a character):
// appending would corrupt it.
std::optional<QByteArray> noteAppendBytes(const QByteArray& existing, const QString& line);

}  // namespace chart
