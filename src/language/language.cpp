#include "language/language.h"

#include <QLocale>
#include <atomic>

namespace language {
namespace {

std::atomic<Language> current{Language::SimplifiedChinese};

// "zh_TW.UTF-8@euro" → "zh-tw"; separators and letter case do not matter.
QString normalized(QStringView name) {
    QString s = name.toString().toLower();
    s.replace(u'_', u'-');
    for (const QChar cut : {u'.', u'@'})
        if (const auto at = s.indexOf(cut); at >= 0) s.truncate(at);
    return s;
}

}  // namespace

QString codeOf(Language language) {
    switch (language) {
    case Language::SimplifiedChinese: return QStringLiteral("zh_CN");
    case Language::TraditionalTaiwan: return QStringLiteral("zh_TW");
    case Language::TraditionalHongKong: return QStringLiteral("zh_HK");
    case Language::English: return QStringLiteral("en");
    }
    return {};
}

QStringList acceptedCodes() { return {QStringLiteral("zh_CN"), QStringLiteral("zh_TW"), QStringLiteral("en")}; }

std::optional<Language> languageFromCode(QStringView code) {
    const QString s = normalized(code);
    if (s == u"zh-cn" || s == u"zh-hans" || s == u"zh-sg" || s == u"zh") return Language::SimplifiedChinese;
    if (s == u"zh-tw" || s == u"zh-hant") return Language::TraditionalTaiwan;
    if (s == u"zh-hk" || s == u"zh-mo") return Language::TraditionalHongKong;
    if (s == u"en" || s.startsWith(u"en-")) return Language::English;
    return std::nullopt;
}

bool isTraditional(Language language) {
    return language == Language::TraditionalTaiwan || language == Language::TraditionalHongKong;
}

bool isChinese(Language language) { return language != Language::English; }

Language languageOfLocale(QStringView localeName) {
    const QString s = normalized(localeName);
    if (s != u"zh" && !s.startsWith(u"zh-")) return Language::English;
    if (s.startsWith(u"zh-hk") || s.startsWith(u"zh-mo") || s.startsWith(u"zh-hant-hk") ||
        s.startsWith(u"zh-hant-mo"))
        return Language::TraditionalHongKong;
    if (s.startsWith(u"zh-tw") || s.startsWith(u"zh-hant")) return Language::TraditionalTaiwan;
    return Language::SimplifiedChinese;
}

Language systemLanguage() {
    const QStringList languages = QLocale::system().uiLanguages();
    return languageOfLocale(languages.isEmpty() ? QLocale::system().name() : languages.first());
}

Language currentLanguage() { return current.load(); }

void setCurrentLanguage(Language language) { current.store(language); }

}  // namespace language
