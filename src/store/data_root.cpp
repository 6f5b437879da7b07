#include "store/data_root.h"

#include <QDir>
#include <QFileInfo>

#include "qinglan_build.h"

namespace store {
namespace {

const QString kDatabaseFileName = QStringLiteral("qinglan.db");

// The XDG base directory rule: a relative $XDG_DATA_HOME is invalid and ignored.
QString userDataFolder(const QProcessEnvironment& environment) {
    const QString xdg = environment.value(QStringLiteral("XDG_DATA_HOME"));
    if (!xdg.isEmpty() && QDir::isAbsolutePath(xdg)) return QDir(xdg).filePath(QStringLiteral("qinglan"));
    QString home = environment.value(QStringLiteral("HOME"));
    if (home.isEmpty()) home = QDir::homePath();
    return QDir(home).filePath(QStringLiteral(".local/share/qinglan"));
}

}  // namespace

QString resolveDataRoot(const QStringList& arguments, const QProcessEnvironment& environment,
                        const QString& programFolder) {
    return chooseDataRoot(arguments, environment, programFolder).path;
}

DataRootChoice chooseDataRoot(const QStringList& arguments, const QProcessEnvironment& environment,
                              const QString& programFolder) {
    const QString option = QStringLiteral("--data-dir");
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        if (arguments[i] == option && i + 1 < arguments.size()) return {arguments[i + 1], true};
        if (arguments[i].startsWith(option + u'=')) return {arguments[i].mid(option.size() + 1), true};
    }
    const QString fromEnvironment = environment.value(QStringLiteral("QINGLAN_DATA_DIR"));
    if (!fromEnvironment.isEmpty()) return {fromEnvironment, true};

    const QString beside = QDir(programFolder).filePath(QStringLiteral("data"));
    if (QFileInfo::exists(databaseFilePath(beside))) return {beside, false};
    return {userDataFolder(environment), false};
}

DataRootState prepareDataRoot(const DataRootChoice& root, bool create) {
    if (QFileInfo(root.path).isDir()) return DataRootState::Ready;
    if (root.named && !create) return DataRootState::Missing;
    return QDir().mkpath(root.path) ? DataRootState::Created : DataRootState::CannotCreate;
}

QString installedDataFolder(const QString& programFolder) {
    if (programFolder.isEmpty()) return {};
    const QString folder = QDir::cleanPath(QDir(programFolder).filePath(QStringLiteral(QINGLAN_DATA_FROM_PROGRAM)));
    return QFileInfo(folder).isDir() ? folder : QString();
}

QString databaseFilePath(const QString& dataRoot) { return QDir(dataRoot).filePath(kDatabaseFileName); }

QString noteFolderPath(const QString& dataRoot) { return QDir(dataRoot).filePath(QStringLiteral("save")); }

}  // namespace store
