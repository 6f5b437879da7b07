#include "account/password_digest.h"

#include <QCryptographicHash>
#include <QList>

namespace account {
namespace {

QByteArray md5Hex(const QByteArray& bytes) {
    return QCryptographicHash::hash(bytes, QCryptographicHash::Md5).toHex().toUpper();
}

}  // namespace

QString passwordDigest(const QString& text) {
    QByteArray ascii;
    for (const uint code : text.toUcs4()) ascii += code < 0x80 ? static_cast<char>(code) : '?';
    return QString::fromLatin1(md5Hex(md5Hex(ascii)));
}

}  // namespace account
