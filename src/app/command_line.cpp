#include "app/command_line.h"

#include <QCommandLineParser>

#include "qinglan_build.h"

namespace app {

ProgramCommandLine parseProgramCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("青岚 (Qinglan): cast six-line hexagrams, lay out and analyse the chart, keep every case."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Show this help."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Show the version."));
    const QCommandLineOption caseOption(
        QStringLiteral("case"), QStringLiteral("Start with the chart of a case number instead of the casting dialog."),
        QStringLiteral("TEXT"));
    const QCommandLineOption dataDir(
        QStringLiteral("data-dir"),
        QStringLiteral("The data root holding qinglan.db (an existing folder; default $QINGLAN_DATA_DIR, else\n"
                       "~/.local/share/qinglan)."),
        QStringLiteral("DIR"));
    const QCommandLineOption create(QStringLiteral("create"),
                                    QStringLiteral("Create the folder named by --data-dir when it does not exist."));
    const QCommandLineOption service(
        QStringLiteral("service"),
        QStringLiteral("Address of the case service (default $QINGLAN_SERVICE, else http://127.0.0.1:8080/)."),
        QStringLiteral("URL"));
    const QCommandLineOption lang(
        QStringLiteral("lang"),
        QStringLiteral("The interface's language for this run: %1 (default: the choice in 设置, else the "
                       "system's language).")
            .arg(language::acceptedCodes().join(QStringLiteral(", "))),
        QStringLiteral("CODE"));
    for (const auto& option : {help, version, caseOption, dataDir, create, service, lang}) parser.addOption(option);

    ProgramCommandLine out;
    const bool parsed = parser.parse(arguments);
    if (parser.isSet(help)) {
        out.action = ProgramCommandLine::Action::Help;
        out.text = parser.helpText();
        out.text.replace(0, out.text.indexOf(u' ', 7), QStringLiteral("Usage: qinglan"));
        return out;
    }
    if (parser.isSet(version)) {
        out.action = ProgramCommandLine::Action::Version;
        out.text = QStringLiteral("qinglan " QINGLAN_VERSION "\n");
        return out;
    }
    if (!parsed || !parser.positionalArguments().isEmpty()) {
        out.action = ProgramCommandLine::Action::Refuse;
        out.text =
            parsed ? QStringLiteral("unexpected argument ") + parser.positionalArguments().first() : parser.errorText();
        return out;
    }
    if (parser.isSet(lang)) {
        const QString code = parser.value(lang);
        if (!language::acceptedCodes().contains(code)) {
            out.action = ProgramCommandLine::Action::Refuse;
            out.text = QStringLiteral("unknown language '%1' for --lang (one of %2)")
                           .arg(code, language::acceptedCodes().join(QStringLiteral(", ")));
            return out;
        }
        out.interfaceLanguage = language::languageFromCode(code);
    }
    out.arguments = QStringList{arguments.value(0)};
    for (const auto& [option, name] :
         {std::pair{&dataDir, QStringLiteral("--data-dir")}, std::pair{&service, QStringLiteral("--service")}})
        if (parser.isSet(*option)) out.arguments << name << parser.value(*option);
    out.caseText = parser.value(caseOption);
    out.createDataRoot = parser.isSet(create);
    return out;
}

}  // namespace app
