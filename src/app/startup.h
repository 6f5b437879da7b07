#pragma once
// Program start: the Chinese user interface, the fonts, the data root and the database.
#include <QString>
#include <QStringList>
#include <memory>

#include "store/database.h"

class QApplication;

namespace app {

// Chinese texts on the standard buttons of message boxes and dialogs, and the CJK fonts.
void setUpInterface(QApplication& application);

struct OpenedData {
    QString dataRoot;
    std::unique_ptr<store::Database> db;
    QString error;  // when db is null
};
// Resolves the data root from the arguments and environment and opens (or first creates) the
// database in it.
OpenedData openData(const QStringList& arguments);

// The value after an option such as "--case" in the arguments, or empty.
QString optionValue(const QStringList& arguments, const QString& option);

}  // namespace app
