#include "chart/note_encoding.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace chart {
namespace {

struct FileEncoding {
    QStringConverter::Encoding encoding = QStringConverter::Utf8;
    bool legacy = false;  // GB18030, no mark
};

FileEncoding encodingOf(const QByteArray& existing) {
    if (const std::optional<QStringConverter::Encoding> marked = QStringConverter::encodingForData(existing))
        return {*marked, false};
    QStringDecoder utf8(QStringConverter::Utf8);
    const QString decoded = utf8.decode(existing);  // decoding is lazy: convert to see errors
    return {QStringConverter::Utf8, utf8.hasError()};
}

qsizetype unitSize(QStringConverter::Encoding encoding) {
    switch (encoding) {
    case QStringConverter::Utf16LE:
    case QStringConverter::Utf16BE:
    case QStringConverter::Utf16: return 2;
    case QStringConverter::Utf32LE:
    case QStringConverter::Utf32BE:
    case QStringConverter::Utf32: return 4;
    default: return 1;
    }
}

}  // namespace

std::optional<QByteArray> noteAppendBytes(const QByteArray& existing, const QString& line) {
    const FileEncoding file = encodingOf(existing);
    QString text = line + u'\n';
    if (file.legacy) {
        QStringDecoder gbDecoder("GB18030");
        QStringEncoder gbEncoder("GB18030");
        if (!gbDecoder.isValid() || !gbEncoder.isValid()) return std::nullopt;
        const QString decoded = gbDecoder.decode(existing);
        if (!decoded.isEmpty() && !decoded.endsWith(u'\n')) text.prepend(u'\n');
        return QByteArray(gbEncoder.encode(text));
    }
    QStringDecoder decoder(file.encoding, QStringConverter::Flag::Stateless);
    const QString decoded = decoder.decode(existing);
    // A mark names the encoding; a file cut inside a character, or bytes that do not decode in
    // it, would put the appended line out of step.
    if (QStringConverter::encodingForData(existing) &&
        (decoder.hasError() || existing.size() % unitSize(file.encoding) != 0))
        return std::nullopt;
    if (!decoded.isEmpty() && !decoded.endsWith(u'\n')) text.prepend(u'\n');
    QStringEncoder encoder(file.encoding, QStringConverter::Flag::Stateless);  // no second mark
    return QByteArray(encoder.encode(text));
}

}  // namespace chart
