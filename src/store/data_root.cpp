#include "store/data_root.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace store {
namespace {

bool writableFolder(const QString& path) {
    const QFileInfo info(path);
    return info.isDir() && info.isWritable();
}

}  // namespace

QString resolveDataRoot(const QStringList& arguments, const QProcessEnvironment& environment,
                        const QString& programFolder) {
    const QString option = QStringLiteral("--data-dir");
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        if (arguments[i] == option && i + 1 < arguments.size()) return arguments[i + 1];
        if (arguments[i].startsWith(option + u'=')) return arguments[i].mid(option.size() + 1);
    }
    const QString fromEnvironment = environment.value(QStringLiteral("QINGLAN_DATA_DIR"));
    if (!fromEnvironment.isEmpty()) return fromEnvironment;

    const QString beside = QDir(programFolder).filePath(QStringLiteral("data"));
    if (QFileInfo::exists(beside) ? writableFolder(beside) : writableFolder(programFolder)) return beside;
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

QString databaseFilePath(const QString& dataRoot) {
    return QDir(dataRoot).filePath(QStringLiteral("qinglan.db"));
}

}  // namespace store
