#include "web/wire_calls.h"

#include <QByteArray>
#include <QCryptographicHash>
#include <QList>
#include <QString>

namespace qinglan::caseservice {

namespace {

constexpr std::string_view kFieldEnd = "<t>";

bool isPlain(char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

QByteArray md5Hex(const QByteArray& bytes) {
    return QCryptographicHash::hash(bytes, QCryptographicHash::Md5).toHex().toUpper();
}

}  // namespace

std::string formBody(const FormList& fields) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (const auto& [name, value] : fields) {
        if (!out.empty()) out += '&';
        out += name;
        out += '=';
        for (const char c : value) {
            if (isPlain(c)) {
                out += c;
            } else {
                const auto byte = static_cast<unsigned char>(c);
                out += '%';
                out += kHex[byte >> 4];
                out += kHex[byte & 0xF];
            }
        }
    }
    return out;
}

std::vector<std::string> replyFields(std::string_view reply) {
    std::vector<std::string> fields;
    while (!reply.empty()) {
        const auto end = reply.find(kFieldEnd);
        fields.emplace_back(reply.substr(0, end));
        if (end == std::string_view::npos) break;
        reply.remove_prefix(end + kFieldEnd.size());
    }
    return fields;
}

std::string desktopPasswordDigest(std::string_view utf8Password) {
    QByteArray ascii;
    const QString text = QString::fromUtf8(utf8Password.data(), static_cast<qsizetype>(utf8Password.size()));
    for (const uint code : text.toUcs4()) ascii += code < 0x80 ? static_cast<char>(code) : '?';
    return md5Hex(md5Hex(ascii)).toStdString();
}

}  // namespace qinglan::caseservice
