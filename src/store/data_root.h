#pragma once
// Where the program keeps qinglan.db and the note folder "save".
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

namespace store {

// The data root, first match wins: "--data-dir DIR" (or "--data-dir=DIR") among the arguments;
// $QINGLAN_DATA_DIR when set and not empty; the folder "data" beside the program when it can be
// written (or, when it does not exist yet, the program's folder can); else the user's data
// folder (QStandardPaths::AppDataLocation).
QString resolveDataRoot(const QStringList& arguments, const QProcessEnvironment& environment,
                        const QString& programFolder);

// The database file inside a data root.
QString databaseFilePath(const QString& dataRoot);

}  // namespace store
