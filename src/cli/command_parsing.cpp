#include "cli/command_parsing.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcessEnvironment>

#include "store/data_root.h"

namespace cli {
namespace {

const QString kDataDir = QStringLiteral("data-dir");
const QString kLang = QStringLiteral("lang");
const QString kCreate = QStringLiteral("create");

store::DataRootChoice dataRoot(const QCommandLineParser& parser) {
    QStringList dataDirArgs;
    if (parser.isSet(kDataDir)) dataDirArgs = {QStringLiteral("--data-dir"), parser.value(kDataDir)};
    return store::chooseDataRoot(dataDirArgs, QProcessEnvironment::systemEnvironment(),
                                 QCoreApplication::applicationDirPath());
}

// A data root named by --data-dir or $QINGLAN_DATA_DIR is made only with --create, and then
// the user is told. Returns the exit status when the command should stop.
std::optional<int> prepareNamedDataRoot(const QCommandLineParser& parser, const QString& prefix, std::ostream& err) {
    const store::DataRootChoice root = dataRoot(parser);
    const std::string where = root.path.toStdString();
    if (QFileInfo(root.path).exists() && !QFileInfo(root.path).isDir()) {
        err << prefix.toStdString() << ": the data folder " << where << " is not a folder\n";
        return 2;
    }
    switch (store::prepareDataRoot(root, parser.isSet(kCreate))) {
    case store::DataRootState::Ready: return std::nullopt;
    case store::DataRootState::Created:
        err << prefix.toStdString() << ": created the data folder " << where << "\n";
        return std::nullopt;
    case store::DataRootState::Missing:
        err << prefix.toStdString() << ": the data folder " << where
            << " does not exist (give --create to make it, or name another with --data-dir)\n";
        return 2;
    case store::DataRootState::CannotCreate:
        err << prefix.toStdString() << ": cannot create the data folder " << where << "\n";
        return 1;
    }
    return std::nullopt;
}

}  // namespace

std::optional<int> parseArguments(QCommandLineParser& parser, const QString& command, const QStringList& args,
                                  int positional, std::ostream& out, std::ostream& err) {
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Show this help."));
    parser.addOption(help);
    parser.addOption({kLang,
                      QStringLiteral("The language of the printed texts: ") + language::acceptedCodes().join(u", ") +
                          QStringLiteral(" (default: the system's). JSON, case exports and the user's own texts "
                                         "stay as stored."),
                      QStringLiteral("CODE")});
    const QString prefix = QStringLiteral("qinglan-cli ") + command;
    if (!parser.parse(QStringList{prefix} + args)) {
        err << prefix.toStdString() << ": " << parser.errorText().toStdString() << " (see --help)\n";
        return 2;
    }
    if (parser.isSet(kLang)) {
        if (const auto problem = languageProblem(parser.value(kLang))) {
            err << prefix.toStdString() << ": " << problem->toStdString() << "\n";
            return 2;
        }
    }
    const QStringList given = parser.optionNames();
    for (const QString& name : given) {
        if (given.count(name) > 1 && name != u"school") {  // --school KEY=VALUE is the one repeatable option
            err << prefix.toStdString() << ": --" << name.toStdString() << " is given more than once (see --help)\n";
            return 2;
        }
    }
    if (parser.isSet(help)) {
        // The first line names the program by the path it was started with; name the command instead.
        const QString text = parser.helpText();
        const QString usage = text.section(u'\n', 0, 0).section(u' ', 2);
        out << "usage: " << prefix.toStdString() << " " << usage.toStdString() << "\n"
            << text.section(u'\n', 1).toStdString();
        return 0;
    }
    if (positional >= 0 && parser.positionalArguments().size() != positional) {
        err << prefix.toStdString() << ": expected " << positional << " argument" << (positional == 1 ? "" : "s")
            << ", got " << parser.positionalArguments().size() << " (see --help)\n";
        return 2;
    }
    return std::nullopt;
}

language::Language outputLanguage(const QCommandLineParser& parser) {
    if (parser.isSet(kLang))
        if (const auto chosen = language::languageFromCode(parser.value(kLang))) return *chosen;
    return language::currentLanguage();
}

std::optional<QString> languageProblem(const QString& code) {
    if (language::languageFromCode(code)) return std::nullopt;
    QStringList codes = language::acceptedCodes();
    const QString last = codes.takeLast();
    return QStringLiteral("--lang needs %1 or %2, not %3").arg(codes.join(u", "), last, code);
}

std::optional<int> parseCommand(QCommandLineParser& parser, const QString& command, const QStringList& args,
                                int positional, std::ostream& out, std::ostream& err) {
    parser.addOption(
        {kDataDir, QStringLiteral("The data root holding qinglan.db (an existing folder)."), QStringLiteral("DIR")});
    parser.addOption({kCreate, QStringLiteral("Create the folder named by --data-dir when it does not exist.")});
    if (const auto status = parseArguments(parser, command, args, positional, out, err)) return status;
    return prepareNamedDataRoot(parser, QStringLiteral("qinglan-cli ") + command, err);
}

QString databasePath(const QCommandLineParser& parser) { return store::databaseFilePath(dataRoot(parser).path); }

std::optional<int> numberOption(const QCommandLineParser& parser, const QString& name, int last) {
    if (!parser.isSet(name)) return std::nullopt;
    bool ok = false;
    const int n = parser.value(name).toInt(&ok);
    if (!ok || n < 1 || n > last) return std::nullopt;
    return n;
}

std::optional<int> readDateRange(const QCommandLineParser& parser, const QString& command, std::optional<QDate>& from,
                                 std::optional<QDate>& to, std::ostream& err) {
    for (const auto& [name, date] : {std::pair{QStringLiteral("from"), &from}, std::pair{QStringLiteral("to"), &to}}) {
        if (!parser.isSet(name)) continue;
        const QDate parsed = QDate::fromString(parser.value(name), QStringLiteral("yyyy-MM-dd"));
        if (!parsed.isValid()) {
            err << "qinglan-cli " << command.toStdString() << ": --" << name.toStdString()
                << " needs a date yyyy-mm-dd, not " << parser.value(name).toStdString() << "\n";
            return 2;
        }
        *date = parsed;
    }
    if (from && to && *from > *to) {
        err << "qinglan-cli " << command.toStdString() << ": --from is after --to\n";
        return 2;
    }
    return std::nullopt;
}

}  // namespace cli
