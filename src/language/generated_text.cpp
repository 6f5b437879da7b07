#include "language/generated_text.h"

#include <algorithm>

#include "language/english_text.h"
#include "language/traditional_text.h"

namespace language {

QString localized(const QString& generated, Language language) {
    switch (language) {
    case Language::SimplifiedChinese: return generated;
    case Language::TraditionalTaiwan:
    case Language::TraditionalHongKong: return toTraditional(generated, language);
    case Language::English: return toEnglish(generated);
    }
    return generated;
}

QStringList localized(const QStringList& generated, Language language) {
    QStringList out;
    out.reserve(generated.size());
    for (const QString& line : generated) out << localized(line, language);
    return out;
}

QString localizedKeeping(const QString& generated, const QStringList& kept, Language language) {
    if (language == Language::SimplifiedChinese) return generated;
    const auto converted = [language](const QString& piece) {
        return piece.isEmpty() ? piece : localized(piece, language);
    };
    QString out;
    qsizetype from = 0;
    while (from < generated.size()) {
        // The earliest kept text from here on (the longest where two start together).
        qsizetype at = -1, length = 0;
        for (const QString& piece : kept) {
            // Plain ASCII (a case number of digits) is left in its line: no conversion alters it, and
            // the line is converted whole.
            const bool ascii = std::all_of(piece.begin(), piece.end(), [](QChar c) { return c.unicode() < 0x80; });
            if (ascii) continue;
            const qsizetype found = generated.indexOf(piece, from);
            if (found >= 0 && (at < 0 || found < at || (found == at && piece.size() > length))) {
                at = found;
                length = piece.size();
            }
        }
        if (at < 0) break;
        out += converted(generated.mid(from, at - from)) + generated.mid(at, length);
        from = at + length;
    }
    return out + converted(generated.mid(from));
}

QString shown(const QString& generated) { return localized(generated, currentLanguage()); }

QStringList shown(const QStringList& generated) { return localized(generated, currentLanguage()); }

}  // namespace language
