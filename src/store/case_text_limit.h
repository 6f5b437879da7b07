#pragma once
// The longest text a case may hold: each of its texts (name, case number, gender, birth year,
// matter, judgment, feedback, category name) is at most kMaxCaseTextBytes of UTF-8.
//
// 256 KiB is the case service's own limit for one field, so every text the program keeps can
// also be saved to the service (two texts at the limit still fit its 1 MiB request). It is about
// 87,000 Chinese characters, far beyond any judgment written by hand, and it keeps an import,
// the keyword index (a few entries per character) and a search over it bounded: an import line
// then holds at most a few MiB, and a text of 60 MB can no longer make every later search slow.
#include <QCoreApplication>
#include <QString>
#include <QStringView>
#include <optional>

namespace store {

inline constexpr qsizetype kMaxCaseTextBytes = 256 * 1024;

// The length of the text in UTF-8, without converting it.
inline qsizetype utf8Size(QStringView text) {
    qsizetype bytes = 0;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        bytes += u < 0x80 ? 1 : u < 0x800 ? 2 : c.isSurrogate() ? 2 : 3;  // a surrogate pair is 4
    }
    return bytes;
}

// Why the text named `what` cannot be kept, or none when it fits.
inline std::optional<QString> oversizedText(const QString& what, QStringView text) {
    const qsizetype bytes = utf8Size(text);
    if (bytes <= kMaxCaseTextBytes) return std::nullopt;
    return QCoreApplication::translate("store::CaseTextLimit",
                                       "%1太长：%2 字节，一段文字最多 %3 字节（%4 KiB，约 %5 个汉字）")
        .arg(what)
        .arg(bytes)
        .arg(kMaxCaseTextBytes)
        .arg(kMaxCaseTextBytes / 1024)
        .arg(kMaxCaseTextBytes / 3);
}

}  // namespace store
