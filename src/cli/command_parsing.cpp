#include "cli/command_parsing.h"

#include <QCoreApplication>
#include <QProcessEnvironment>

#include "store/data_root.h"

namespace cli {
namespace {

const QString kDataDir = QStringLiteral("data-dir");

}  // namespace

std::optional<int> parseCommand(QCommandLineParser& parser, const QString& command, const QStringList& args,
                                int positional, std::ostream& out, std::ostream& err) {
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Show this help."));
    parser.addOption(help);
    parser.addOption({kDataDir, QStringLiteral("The data root holding qinglan.db."), QStringLiteral("DIR")});
    const QString prefix = QStringLiteral("qinglan-cli ") + command;
    if (!parser.parse(QStringList{prefix} + args)) {
        err << prefix.toStdString() << ": " << parser.errorText().toStdString() << "\n";
        return 2;
    }
    if (parser.isSet(help)) {
        // The first line names the program by the path it was started with; name the command instead.
        const QString text = parser.helpText();
        const QString usage = text.section(u'\n', 0, 0).section(u' ', 2);
        out << "usage: " << prefix.toStdString() << " " << usage.toStdString() << "\n"
            << text.section(u'\n', 1).toStdString();
        return 0;
    }
    if (parser.positionalArguments().size() != positional) {
        err << prefix.toStdString() << ": expected " << positional << " argument" << (positional == 1 ? "" : "s")
            << ", got " << parser.positionalArguments().size() << " (see --help)\n";
        return 2;
    }
    return std::nullopt;
}

QString databasePath(const QCommandLineParser& parser) {
    QStringList dataDirArgs;
    if (parser.isSet(kDataDir)) dataDirArgs = {QStringLiteral("--data-dir"), parser.value(kDataDir)};
    return store::databaseFilePath(store::resolveDataRoot(dataDirArgs, QProcessEnvironment::systemEnvironment(),
                                                          QCoreApplication::applicationDirPath()));
}

}  // namespace cli
