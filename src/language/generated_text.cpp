#include "language/generated_text.h"

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

QString shown(const QString& generated) { return localized(generated, currentLanguage()); }

QStringList shown(const QStringList& generated) { return localized(generated, currentLanguage()); }

}  // namespace language
