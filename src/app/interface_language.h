#pragma once
// The interface's language: Qt's own texts (standard buttons) and the program's translations.
#include "language/language.h"

class QCoreApplication;

namespace app {

// Installs the translators of `language` (none are needed for 简体中文 beyond Qt's own) and
// makes it the language of the generated texts. Called once, before the first window.
void installInterfaceLanguage(QCoreApplication& application, language::Language language);

}  // namespace app
