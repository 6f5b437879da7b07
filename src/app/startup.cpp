#include "app/startup.h"

#include <QApplication>
#include <QFont>
#include <QIcon>
#include <QProcessEnvironment>

#include "app/interface_language.h"
#include "store/data_root.h"

namespace app {

void setUpInterface(QApplication& application, language::Language language) {
    installInterfaceLanguage(application, language);
    QFont font = QApplication::font();
    // Without a Chinese face first, Qt may pick a Japanese one for the shared characters; 繁體
    // takes the face of its own character forms.
    font.setFamilies(language::isTraditional(language)
                         ? QStringList{QStringLiteral("Noto Sans CJK TC"), QStringLiteral("Noto Sans CJK SC"),
                                       QStringLiteral("WenQuanYi Micro Hei")}
                         : QStringList{QStringLiteral("Noto Sans CJK SC"), QStringLiteral("WenQuanYi Micro Hei")});
    QApplication::setFont(font);
    // No display name: the platform would append it to every window title.
    // The desktop entry's name lets a Wayland compositor match the windows with it and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.qinglan.Qinglan"));
    QApplication::setWindowIcon(programIcon());
}

QIcon programIcon() {
    QIcon icon;
    for (const int size : {16, 24, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/app/qinglan-%1.png").arg(size), QSize(size, size));
    return icon;
}

OpenedData openData(const QStringList& arguments, bool createDataRoot) {
    OpenedData out;
    const store::DataRootChoice root = store::chooseDataRoot(arguments, QProcessEnvironment::systemEnvironment(),
                                                             QCoreApplication::applicationDirPath());
    out.dataRoot = root.path;
    switch (store::prepareDataRoot(root, createDataRoot)) {
    case store::DataRootState::Ready:
    case store::DataRootState::Created: break;
    case store::DataRootState::Missing:
        out.error = QCoreApplication::translate("app::Startup", "数据文件夹不存在：") + root.path +
                    QCoreApplication::translate("app::Startup", "\n请指定已有的文件夹，或加上 --create 新建它。");
        out.exitStatus = OpenedData::kUsageError;
        return out;
    case store::DataRootState::CannotCreate:
        out.error = QCoreApplication::translate("app::Startup", "无法建立数据文件夹：") + root.path;
        out.exitStatus = 1;
        return out;
    }
    try {
        out.db = store::Database::open(store::databaseFilePath(out.dataRoot));
    } catch (const store::DatabaseError& e) {
        out.error = e.text();
        out.exitStatus = 1;
    }
    return out;
}

}  // namespace app
