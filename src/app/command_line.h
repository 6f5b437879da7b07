#pragma once
// The desktop program's command line: --help, --version, --case, --data-dir (with --create) and
// --service, as "--name value" or "--name=value".
#include <QString>
#include <QStringList>

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
};

// `arguments` starts with the program's name, as QCoreApplication::arguments() does.
ProgramCommandLine parseProgramCommandLine(const QStringList& arguments);

}  // namespace app
