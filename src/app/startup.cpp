#include "app/startup.h"

#include <QApplication>
#include <QFont>
#include <QLibraryInfo>
#include <QProcessEnvironment>
#include <QTranslator>

#include "store/data_root.h"

namespace app {

void setUpInterface(QApplication& application) {
    auto* translator = new QTranslator(&application);
    if (translator->load(QStringLiteral("qtbase_zh_CN"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(translator);
    QFont font = QApplication::font();
    // Without a Chinese face first, Qt may pick a Japanese one for the shared characters.
    font.setFamilies({QStringLiteral("Noto Sans CJK SC"), QStringLiteral("WenQuanYi Micro Hei")});
    QApplication::setFont(font);
    // No display name: the platform would append it to every window title.
}

OpenedData openData(const QStringList& arguments) {
    OpenedData out;
    out.dataRoot = store::resolveDataRoot(arguments, QProcessEnvironment::systemEnvironment(),
                                          QCoreApplication::applicationDirPath());
    try {
        out.db = store::Database::open(store::databaseFilePath(out.dataRoot));
    } catch (const store::DatabaseError& e) {
        out.error = e.text();
    }
    return out;
}

QString optionValue(const QStringList& arguments, const QString& option) {
    const qsizetype at = arguments.indexOf(option);
    return at >= 0 && at + 1 < arguments.size() ? arguments[at + 1] : QString();
}

}  // namespace app
