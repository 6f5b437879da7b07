#pragma once
// The interface's language: which one a run shows (--lang, else the choice in 设置, else the
// system's), Qt's own texts (standard buttons) and the program's translations.
#include <QString>
#include <optional>

#include "language/language.h"

class QCoreApplication;

namespace store {
class Database;
}

namespace app {

// The language of a run: the command line's, else the stored choice (a code; empty for 跟随系统,
// and a code naming no language counts as empty), else the system's.
language::Language chooseInterfaceLanguage(std::optional<language::Language> commandLine, const QString& storedCode,
                                           language::Language system);
// The stored choice of 设置 (a code, empty for 跟随系统).
QString storedInterfaceLanguageCode(store::Database& db);

// Installs the translators of `language` (none are needed for 简体中文 beyond Qt's own) and
// makes it the language of the generated texts. Called before the first window; a later call
// (the stored choice, known once the database is open) replaces the translators of the earlier.
void installInterfaceLanguage(QCoreApplication& application, language::Language language);

}  // namespace app
