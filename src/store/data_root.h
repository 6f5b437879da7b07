#pragma once
// Where the program keeps qinglan.db and the note folder "save".
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

namespace store {

// The data root, first match wins: "--data-dir DIR" (or "--data-dir=DIR") among the arguments;
// $QINGLAN_DATA_DIR when set and not empty; the folder "data" beside the program when it already
// holds qinglan.db (a portable install); else "qinglan" in the user's data folder
// ($XDG_DATA_HOME when it is an absolute path, else ~/.local/share). The desktop program and
// qinglan-cli resolve the same folder, and it is never the build folder unless asked for.
QString resolveDataRoot(const QStringList& arguments, const QProcessEnvironment& environment,
                        const QString& programFolder);

// A data root as resolved above, and whether the user named it (--data-dir or $QINGLAN_DATA_DIR).
struct DataRootChoice {
    QString path;
    bool named = false;
};
DataRootChoice chooseDataRoot(const QStringList& arguments, const QProcessEnvironment& environment,
                              const QString& programFolder);

// A named data root is made only when asked for (`create`); the default one is made when missing.
enum class DataRootState { Ready, Created, Missing, CannotCreate };
DataRootState prepareDataRoot(const DataRootChoice& root, bool create);

// The folder of an installed program's shipped files (share/qinglan beside its bin/), or empty
// when the program runs from elsewhere (its build folder).
QString installedDataFolder(const QString& programFolder);

// The database file inside a data root.
QString databaseFilePath(const QString& dataRoot);
// The folder of the monthly note files inside a data root.
QString noteFolderPath(const QString& dataRoot);

}  // namespace store
