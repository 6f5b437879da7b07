#include "app/interface_language.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QList>
#include <QPointer>
#include <QTranslator>

#include "store/settings.h"

namespace app {
namespace {

// The translators installed by the last call, removed by the next.
QList<QPointer<QTranslator>>& installed() {
    static QList<QPointer<QTranslator>> translators;
    return translators;
}

void install(QCoreApplication& application, const QString& file, const QString& folder) {
    auto* translator = new QTranslator(&application);
    if (translator->load(file, folder)) {
        QCoreApplication::installTranslator(translator);
        installed() << translator;
    } else {
        delete translator;
    }
}

}  // namespace

language::Language chooseInterfaceLanguage(std::optional<language::Language> commandLine, const QString& storedCode,
                                           language::Language system) {
    if (commandLine) return *commandLine;
    if (!storedCode.isEmpty())
        if (const auto stored = language::languageFromCode(storedCode)) return *stored;
    return system;
}

QString storedInterfaceLanguageCode(store::Database& db) {
    try {
        return store::Settings(db).get(store::setting::interfaceLanguage);
    } catch (const store::DatabaseError&) {
        return {};  // unreadable: the system's language, as a new database has
    }
}

void installInterfaceLanguage(QCoreApplication& application, language::Language language) {
    using language::Language;
    for (QTranslator* translator : std::as_const(installed())) {
        if (!translator) continue;
        QCoreApplication::removeTranslator(translator);
        delete translator;
    }
    installed().clear();
    language::setCurrentLanguage(language);
    const QString qtFolder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    switch (language) {
    case Language::SimplifiedChinese: install(application, QStringLiteral("qtbase_zh_CN"), qtFolder); return;
    case Language::TraditionalTaiwan:
    case Language::TraditionalHongKong: install(application, QStringLiteral("qtbase_zh_TW"), qtFolder); break;
    case Language::English: break;
    }
    const QString code = language::isTraditional(language) ? QStringLiteral("zh_TW") : QStringLiteral("en");
    // Every set of the program's texts built into it (translations/<set>_<code>.ts).
    const QStringList sets = QDir(QStringLiteral(":/i18n")).entryList({QStringLiteral("*_") + code + QStringLiteral(".qm")});
    for (const QString& file : sets) install(application, file, QStringLiteral(":/i18n"));
}

}  // namespace app
