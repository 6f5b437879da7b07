#include "cli/backup_command.h"

#include <QDateTime>
#include <QFileInfo>

#include "cli/command_parsing.h"
#include "store/database_backup.h"

namespace cli {
namespace {

// FILE names one file; an empty name is a mistake in the command line, not a failed backup.
std::optional<int> checkFileArgument(const QCommandLineParser& parser, const char* command, std::ostream& err) {
    if (!parser.positionalArguments()[0].trimmed().isEmpty()) return std::nullopt;
    err << "qinglan-cli " << command << ": FILE is empty; name the backup file (see --help)\n";
    return 2;
}

int verify(const QString& file, std::ostream& out, std::ostream& err) {
    try {
        const store::BackupContents contents = store::checkBackupFile(file);
        out << file.toStdString() << ": ok, " << contents.cases << " cases, ";
        if (contents.noteFiles < 0)
            out << "no note folder (a backup of the database only)\n";
        else
            out << contents.noteFiles << " note files\n";
    } catch (const store::DatabaseError& e) {
        err << "qinglan-cli backup: " << e.text().toStdString() << "\n";
        return 1;
    }
    return 0;
}

}  // namespace

int runBackup(const QStringList& args, std::ostream& out, std::ostream& err) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Writes a consistent copy of the whole data root to FILE (replaced when it exists), also while\n"
                       "the desktop program runs: one SQLite file holding the database and, in its table\n"
                       "biji_wenjian, every file of the note folder save/. With --verify, checks FILE instead."));
    parser.addOption({QStringLiteral("verify"),
                      QStringLiteral("Check FILE: a backup of this program that passes its integrity check; "
                                     "prints its counts of cases and note files.")});
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("The backup file to write (or check)."));
    if (const auto status = parseCommand(parser, QStringLiteral("backup"), args, 1, out, err)) return *status;
    if (const auto status = checkFileArgument(parser, "backup", err)) return *status;
    const QString file = parser.positionalArguments()[0];
    if (parser.isSet(QStringLiteral("verify"))) return verify(file, out, err);
    try {
        auto db = store::Database::open(databasePath(parser));
        store::backupDatabase(*db, file);
    } catch (const store::DatabaseError& e) {
        err << "qinglan-cli backup: " << e.text().toStdString() << "\n";
        return 1;
    }
    return 0;
}

int runRestore(const QStringList& args, std::ostream& out, std::ostream& err) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Replaces the database and the note folder save/ by those of the backup FILE after checking it (a\n"
        "database of this program, its integrity check passes, a schema version this program knows). A\n"
        "backup of the database only leaves the note folder as it is. First the data root is backed up\n"
        "automatically into backups/ (the newest 10 are kept); the replaced database is also kept beside\n"
        "it as qinglan.db.<date-time>.bak. Both names are printed. Close the desktop program first."));
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("The backup file to restore."));
    if (const auto status = parseCommand(parser, QStringLiteral("restore"), args, 1, out, err)) return *status;
    if (const auto status = checkFileArgument(parser, "restore", err)) return *status;
    try {
        const store::RestoreResult result =
            store::restoreDatabase(databasePath(parser), parser.positionalArguments()[0], QDateTime::currentDateTime());
        if (!result.keptAs.isEmpty()) out << "kept the replaced database as " << result.keptAs.toStdString() << "\n";
        if (!result.automaticBackup.isEmpty())
            out << "backed up the replaced data as " << result.automaticBackup.toStdString() << "\n";
        if (!result.notesKeptAs.isEmpty())
            out << "kept the replaced note folder as " << result.notesKeptAs.toStdString() << "\n";
    } catch (const store::DatabaseError& e) {
        err << "qinglan-cli restore: " << e.text().toStdString() << "\n";
        return 1;
    }
    return 0;
}

}  // namespace cli
