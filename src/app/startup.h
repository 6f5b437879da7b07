#pragma once
// Program start: the Chinese user interface, the fonts, the data root and the database.
#include <QString>
#include <QStringList>
#include <memory>

#include "store/database.h"

class QApplication;
class QIcon;

namespace app {

// Chinese texts on the standard buttons of message boxes and dialogs, the CJK fonts, and the
// program's icon on every window.
void setUpInterface(QApplication& application);

// The program's icon in every size the desktop entry's icon theme has.
QIcon programIcon();

struct OpenedData {
    static constexpr int kUsageError = 2;  // a data root named on the command line does not exist
    QString dataRoot;
    std::unique_ptr<store::Database> db;
    QString error;       // when db is null
    int exitStatus = 0;  // when db is null: kUsageError, else 1 (the database could not be opened)
};
// Resolves the data root from the arguments and environment and opens (or first creates) the
// database in it. A data root the user named (--data-dir, $QINGLAN_DATA_DIR) that does not
// exist is made only when `createDataRoot`, else refused.
OpenedData openData(const QStringList& arguments, bool createDataRoot);

}  // namespace app
