#include "cli/cases_command.h"

#include <unistd.h>
#include <QBuffer>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include "cli/case_search_command.h"
#include "cli/command_parsing.h"
#include "store/automatic_backup.h"
#include "store/case_transfer.h"

namespace cli {
namespace {

int runExport(const QStringList& args, std::ostream& out, std::ostream& err) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Writes the cases as JSON Lines (one case per line, UTF-8) to FILE, or to standard output for -.\n"
        "Fields: id, gua_ming, gua_bianhao, lei_mingcheng (category name), nian, yue, ri, xingbie,\n"
        "chusheng, shiyou, duanyu, fankui, shijian."));
    parser.addOption(
        {QStringLiteral("category"), QStringLiteral("Only the cases of this category."), QStringLiteral("NAME")});
    parser.addOption({QStringLiteral("from"), QStringLiteral("Only cases cast on or after this date."),
                      QStringLiteral("yyyy-mm-dd")});
    parser.addOption({QStringLiteral("to"), QStringLiteral("Only cases cast on or before this date."),
                      QStringLiteral("yyyy-mm-dd")});
    parser.addPositionalArgument(QStringLiteral("FILE"),
                                 QStringLiteral("The file to write, or - for standard output."));
    if (const auto status = parseCommand(parser, QStringLiteral("cases export"), args, 1, out, err)) return *status;

    store::ExportFilter filter;
    if (parser.isSet(QStringLiteral("category"))) filter.category = parser.value(QStringLiteral("category"));
    for (const auto& [name, date] :
         {std::pair{QStringLiteral("from"), &filter.from}, std::pair{QStringLiteral("to"), &filter.to}}) {
        if (!parser.isSet(name)) continue;
        const QDate parsed = QDate::fromString(parser.value(name), QStringLiteral("yyyy-MM-dd"));
        if (!parsed.isValid()) {
            err << "qinglan-cli cases export: --" << name.toStdString() << " needs a date yyyy-mm-dd, not "
                << parser.value(name).toStdString() << "\n";
            return 2;
        }
        *date = parsed;
    }
    if (filter.from && filter.to && *filter.from > *filter.to) {
        err << "qinglan-cli cases export: --from is after --to\n";
        return 2;
    }

    const QString target = parser.positionalArguments()[0];
    try {
        auto db = store::Database::open(databasePath(parser));
        if (target == u"-") {
            QFile standardOutput;
            if (!standardOutput.open(STDOUT_FILENO, QIODevice::WriteOnly | QIODevice::Unbuffered))
                throw store::DatabaseError(standardOutput.errorString());
            store::exportCases(*db, filter, standardOutput);
        } else {
            // Written under a temporary name and renamed when complete: a failed export leaves
            // no partial file and an earlier file of that name as it was.
            QSaveFile file(target);
            if (!file.open(QIODevice::WriteOnly))
                throw store::DatabaseError(QStringLiteral("无法写入 %1：%2").arg(target, file.errorString()));
            store::exportCases(*db, filter, file);
            if (!file.commit())
                throw store::DatabaseError(QStringLiteral("无法写入 %1：%2").arg(target, file.errorString()));
        }
    } catch (const store::DatabaseError& e) {
        err << "qinglan-cli cases export: " << e.text().toStdString() << "\n";
        return 1;
    }
    return 0;
}

int runImport(const QStringList& args, std::ostream& out, std::ostream& err) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Merges cases from JSON Lines (as cases export writes them) in one transaction: a case already\n"
                       "present (same gua_bianhao and the same texts) is skipped, a new one is added, categories are\n"
                       "created by name. Prints the counts; each refused line is named on standard error. When a line\n"
                       "is refused nothing is imported unless --skip-refused is given."));
    parser.addOption({QStringLiteral("dry-run"), QStringLiteral("Only count; change nothing.")});
    parser.addOption({QStringLiteral("skip-refused"), QStringLiteral("Import the other lines when some are refused.")});
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("The file to read, or - for standard input."));
    if (const auto status = parseCommand(parser, QStringLiteral("cases import"), args, 1, out, err)) return *status;

    const store::ImportMode mode = parser.isSet(QStringLiteral("dry-run"))        ? store::ImportMode::DryRun
                                   : parser.isSet(QStringLiteral("skip-refused")) ? store::ImportMode::SkipRefused
                                                                                  : store::ImportMode::AllOrNothing;
    const QString source = parser.positionalArguments()[0];
    store::ImportReport report;
    try {
        QFile file;
        const bool opened = source == u"-" ? file.open(STDIN_FILENO, QIODevice::ReadOnly)
                                           : (file.setFileName(source), file.open(QIODevice::ReadOnly));
        if (!opened) throw store::DatabaseError(QStringLiteral("无法读取 %1：%2").arg(source, file.errorString()));
        auto db = store::Database::open(databasePath(parser));
        QBuffer input;  // read twice when large: counted, then imported after an automatic backup
        input.setData(file.readAll());
        input.open(QIODevice::ReadOnly);
        if (mode != store::ImportMode::DryRun) {
            const QString kept = store::backUpBeforeLargeImport(
                *db, input, QFileInfo(databasePath(parser)).absolutePath(), QDateTime::currentDateTime());
            if (!kept.isEmpty())
                err << "qinglan-cli cases import: backed up the data first as " << kept.toStdString() << "\n";
        }
        report = store::importCases(*db, input, mode);
    } catch (const store::DatabaseError& e) {
        err << "qinglan-cli cases import: " << e.text().toStdString() << "\n";
        return 1;
    }
    for (const store::RefusedLine& line : report.refused)
        err << "line " << line.lineNumber << ": " << line.reason.toStdString() << "\n";
    out << "added " << report.added << "\nskipped " << report.skipped << "\nrefused " << report.refused.size() << "\n";
    if (mode == store::ImportMode::DryRun) return 0;
    if (!report.committed) {
        err << "qinglan-cli cases import: nothing imported because of the refused lines; "
               "fix them, or run again with --skip-refused to import the others\n";
        return 1;
    }
    return 0;
}

}  // namespace

int run_cases(const QStringList& args, std::ostream& out, std::ostream& err) {
    const QString verb = args.value(0);
    if (verb == u"export") return runExport(args.mid(1), out, err);
    if (verb == u"import") return runImport(args.mid(1), out, err);
    if (verb == u"search") return run_case_search(args.mid(1), out, err);
    err << "qinglan-cli cases: expected export, import or search (see qinglan-cli --help)\n";
    return 2;
}

}  // namespace cli
