#include "cli/backup_command.h"

#include <QDateTime>

#include "cli/command_parsing.h"
#include "store/database_backup.h"

namespace cli {

int run_backup(const QStringList& args, std::ostream& out, std::ostream& err) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Writes a consistent copy of the whole database to FILE (replaced when it exists), also while\n"
                       "the desktop program runs."));
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("The backup file to write."));
    if (const auto status = parseCommand(parser, QStringLiteral("backup"), args, 1, out, err)) return *status;
    try {
        auto db = store::Database::open(databasePath(parser));
        store::backupDatabase(*db, parser.positionalArguments()[0]);
    } catch (const store::DatabaseError& e) {
        err << "qinglan-cli backup: " << e.text().toStdString() << "\n";
        return 1;
    }
    return 0;
}

int run_restore(const QStringList& args, std::ostream& out, std::ostream& err) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Replaces the database by the backup FILE after checking it (a database of this program, its\n"
        "integrity check passes, a schema version this program knows). The replaced database is kept\n"
        "beside it as qinglan.db.<date-time>.bak, whose name is printed. Close the desktop program first."));
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("The backup file to restore."));
    if (const auto status = parseCommand(parser, QStringLiteral("restore"), args, 1, out, err)) return *status;
    try {
        const store::RestoreResult result =
            store::restoreDatabase(databasePath(parser), parser.positionalArguments()[0], QDateTime::currentDateTime());
        if (!result.keptAs.isEmpty()) out << "kept the replaced database as " << result.keptAs.toStdString() << "\n";
    } catch (const store::DatabaseError& e) {
        err << "qinglan-cli restore: " << e.text().toStdString() << "\n";
        return 1;
    }
    return 0;
}

}  // namespace cli
