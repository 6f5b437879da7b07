#include "app/interface_language.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace app {
namespace {

void install(QCoreApplication& application, const QString& file, const QString& folder) {
    auto* translator = new QTranslator(&application);
    if (translator->load(file, folder))
        QCoreApplication::installTranslator(translator);
    else
        delete translator;
}

}  // namespace

void installInterfaceLanguage(QCoreApplication& application, language::Language language) {
    using language::Language;
    language::setCurrentLanguage(language);
    const QString qtFolder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    switch (language) {
    case Language::SimplifiedChinese: install(application, QStringLiteral("qtbase_zh_CN"), qtFolder); return;
    case Language::TraditionalTaiwan:
    case Language::TraditionalHongKong: install(application, QStringLiteral("qtbase_zh_TW"), qtFolder); break;
    case Language::English: break;
    }
    const QString code = language::isTraditional(language) ? QStringLiteral("zh_TW") : QStringLiteral("en");
    for (const char* set : {"main", "dialogs"})
        install(application, QStringLiteral("%1_%2").arg(QLatin1String(set), code), QStringLiteral(":/i18n"));
}

}  // namespace app
