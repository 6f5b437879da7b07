#include "cloud/form_encoding.h"

#include <QByteArrayView>

namespace cloud {
namespace {

QByteArray encodePart(const QString& text) {
    static constexpr QByteArrayView kEscaped("*#%<> []&");
    static constexpr char kHex[] = "0123456789ABCDEF";
    QByteArray out;
    for (const char c : text.toUtf8()) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 33 || byte > 127 || kEscaped.contains(c)) {
            out += '%';
            out += kHex[byte >> 4];
            out += kHex[byte & 15];
        } else {
            out += c;
        }
    }
    return out;
}

bool isHexDigit(QChar c) { return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F') || (c >= u'a' && c <= u'f'); }

}  // namespace

QByteArray encodeFormBody(const QStringList& fields) {
    QByteArray body;
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i > 0) body += '&';
        const QString& field = fields[i];
        const qsizetype equals = field.indexOf(u'=');
        if (equals < 0) {
            body += encodePart(field);
        } else {
            body += encodePart(field.left(equals));
            body += '=';
            body += encodePart(field.mid(equals + 1));
        }
    }
    return body;
}

QString urlDecode(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'%') {
            if (i + 4 >= text.size()) throw UrlDecodeError();
            const QStringView hex = QStringView(text).mid(i + 1, 4);
            for (const QChar digit : hex)
                if (!isHexDigit(digit)) throw UrlDecodeError();
            out += QChar(static_cast<char16_t>(hex.toUInt(nullptr, 16)));
            i += 4;
        } else {
            out += c == u'+' ? QChar(u' ') : c;
        }
    }
    return out;
}

}  // namespace cloud
