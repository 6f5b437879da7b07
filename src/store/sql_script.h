#pragma once
// Splits a script such as data/schema.sql into its statements.
#include <QString>
#include <QStringList>

namespace store {

// Statements end with ";" outside single-quoted text; inside a CREATE TRIGGER only the ";" after
// its closing END ends it. "--" comments outside quotes are dropped.
// Empty statements are left out.
QStringList splitSqlScript(const QString& script);

}  // namespace store
