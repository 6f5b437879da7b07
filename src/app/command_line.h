#pragma once
// The desktop program's command line: --help, --version, --case, --data-dir (with --create),
// --service and --lang, as "--name value" or "--name=value".
#include <QString>
#include <QStringList>
#include <optional>

#include "language/language.h"

namespace app {

struct ProgramCommandLine {
    enum class Action { Run, Help, Version, Refuse };
    Action action = Action::Run;
    QString text;  // the help, the version line, or what was wrong
    // The options as one spelling ("--data-dir DIR", "--service URL", "--case TEXT") for the
    // start-up steps that read them.
    QStringList arguments;
    QString caseText;
    bool createDataRoot = false;
    // --lang: the interface's language for this run; none leaves the choice to the settings.
    std::optional<language::Language> interfaceLanguage;
};

// `arguments` starts with the program's name, as QCoreApplication::arguments() does.
ProgramCommandLine parseProgramCommandLine(const QStringList& arguments);

}  // namespace app
