#pragma once
// Program start: the interface's fonts, the data root and the database.
#include <QString>
#include <QStringList>
#include <memory>

#include "language/language.h"
#include "store/database.h"

class QApplication;
class QIcon;

namespace app {

// The interface in `language`: its translators (installInterfaceLanguage, with the texts of the
// standard buttons of message boxes and dialogs), the CJK fonts (繁體 or 简体 forms first) and
// the program's icon on every window. Called again when the language changes before the
// first window.
void setUpInterface(QApplication& application, language::Language language = language::Language::SimplifiedChinese);

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
