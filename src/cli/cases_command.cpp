#include "cli/cases_command.h"

#include <unistd.h>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QTemporaryFile>

#include "cli/case_search_command.h"
#include "cli/command_parsing.h"
#include "cli/progress_device.h"
#include "cli/record_command.h"
#include "store/automatic_backup.h"
#include "store/case_transfer.h"

namespace cli {
namespace {

const QString kQuiet = QStringLiteral("quiet");
const QCommandLineOption kQuietOption(kQuiet, QStringLiteral("No progress on standard error."));

constexpr const char* kCasesUsage =
    "usage: qinglan-cli cases export|import|search|stats|outcome ...\n"
    "  export [--category NAME] [--from DATE --to DATE] [--quiet] FILE|-\n"
    "  import [--dry-run] [--skip-refused] [--no-update] [--json] [--quiet] FILE|-\n"
    "  search [--limit N] [--category NAME] KEYWORD\n"
    "  stats [--category NAME] [--from DATE --to DATE] [--by GROUPING] [--json]\n"
    "  outcome CASE-ID 应验|部分应验|未应验|待验 [--date DATE] [--predicted DATE]\n"
    "(qinglan-cli cases VERB --help describes each)\n";

// Copies everything `from` gives until its end to `to` in pieces; false when a write failed.
bool copyAll(QIODevice& from, QFile& to) {
    QByteArray piece;
    while (!(piece = from.read(1 << 20)).isEmpty())
        if (to.write(piece) != piece.size()) return false;
    return to.flush();
}

QJsonObject importReportJson(const store::ImportReport& report) {
    QJsonArray refused;
    for (const store::RefusedLine& line : report.refused)
        refused.append(QJsonObject{{QStringLiteral("line"), line.lineNumber}, {QStringLiteral("reason"), line.reason}});
    return {{QStringLiteral("added"), report.added},
            {QStringLiteral("updated"), report.updated},
            {QStringLiteral("skipped"), report.skipped},
            {QStringLiteral("refused"), refused},
            {QStringLiteral("committed"), report.committed}};
}

int runExport(const QStringList& args, std::ostream& out, std::ostream& err) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Writes the cases as JSON Lines (one case per line, UTF-8) to FILE, or to standard output for -.\n"
        "Fields: id, uuid, gua_ming, gua_bianhao, lei_mingcheng (category name), nian, yue, ri, xingbie,\n"
        "chusheng, shiyou, duanyu, fankui, shijian, zhanlei (question type), outcome (hit, partial, miss,\n"
        "pending), outcome_date, predicted_date (yyyy-mm-dd or null), didian (place: LONGITUDE,ZONE) and shizhi\n"
        "(clock: beijing or solar), both null for Beijing time as it stands; lines without the last six are read as "
        "well."));
    parser.addOption(
        {QStringLiteral("category"), QStringLiteral("Only the cases of this category."), QStringLiteral("NAME")});
    parser.addOption({QStringLiteral("from"), QStringLiteral("Only cases cast on or after this date."),
                      QStringLiteral("yyyy-mm-dd")});
    parser.addOption({QStringLiteral("to"), QStringLiteral("Only cases cast on or before this date."),
                      QStringLiteral("yyyy-mm-dd")});
    parser.addOption(kQuietOption);
    parser.addPositionalArgument(QStringLiteral("FILE"),
                                 QStringLiteral("The file to write, or - for standard output."));
    if (const auto status = parseCommand(parser, QStringLiteral("cases export"), args, 1, out, err)) return *status;

    store::ExportFilter filter;
    if (parser.isSet(QStringLiteral("category"))) filter.category = parser.value(QStringLiteral("category"));
    if (const auto status = readDateRange(parser, QStringLiteral("cases export"), filter.from, filter.to, err))
        return *status;

    const QString target = parser.positionalArguments()[0];
    const bool quiet = parser.isSet(kQuiet);
    try {
        auto db = store::Database::openToRead(databasePath(parser));
        if (target == u"-") {
            QFile standardOutput;
            if (!standardOutput.open(STDOUT_FILENO, QIODevice::WriteOnly | QIODevice::Unbuffered))
                throw store::DatabaseError(standardOutput.errorString());
            // Lines on the terminal need no count beside them.
            ProgressDevice progress(standardOutput, QIODevice::WriteOnly, "cases export", 0,
                                    quiet || ::isatty(STDOUT_FILENO));
            store::exportCases(*db, filter, progress);
        } else {
            // Written under a temporary name and renamed when complete: a failed export leaves
            // no partial file and an earlier file of that name as it was.
            QSaveFile file(target);
            if (!file.open(QIODevice::WriteOnly))
                throw store::DatabaseError(QStringLiteral("无法写入 %1：%2").arg(target, file.errorString()));
            try {
                ProgressDevice progress(file, QIODevice::WriteOnly, "cases export", 0, quiet);
                store::exportCases(*db, filter, progress);
            } catch (const store::DatabaseError& e) {
                throw store::DatabaseError(QStringLiteral("%1；%2 没有写出").arg(e.text(), target), e.problem());
            }
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
        QStringLiteral("Merges cases from JSON Lines (as cases export writes them) in one transaction: a case known\n"
                       "by its uuid takes the line's texts when they differ; another case already present (same\n"
                       "gua_bianhao and the same texts) is skipped, a new one is added, categories are created by\n"
                       "name. Prints the counts; each refused line is named on standard error. When a line is\n"
                       "refused nothing is imported unless --skip-refused is given."));
    parser.addOption({QStringLiteral("dry-run"), QStringLiteral("Only count; change nothing.")});
    parser.addOption({QStringLiteral("skip-refused"), QStringLiteral("Import the other lines when some are refused.")});
    parser.addOption(
        {QStringLiteral("no-update"),
         QStringLiteral("Refuse a line whose uuid names a case here with other texts, instead of updating it.")});
    const QString json = QStringLiteral("json");
    parser.addOption({json, QStringLiteral("Print the report as one JSON object: added, updated, skipped, refused (line, "
                                           "reason), committed.")});
    parser.addOption(kQuietOption);
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
        // Standard input is kept in a temporary file: an import that may be large is read twice,
        // counted first for the automatic backup, without holding the whole input in memory.
        QTemporaryFile spool;
        QIODevice* input = &file;
        if (file.isSequential()) {
            if (!spool.open() || !copyAll(file, spool) || !spool.reset())
                throw store::DatabaseError(QStringLiteral("无法暂存标准输入：%1").arg(spool.errorString()));
            input = &spool;
        }
        if (mode != store::ImportMode::DryRun) {
            const QString kept = store::backUpBeforeLargeImport(
                *db, *input, QFileInfo(databasePath(parser)).absolutePath(), QDateTime::currentDateTime());
            if (!kept.isEmpty())
                err << "qinglan-cli cases import: backed up the data first as " << kept.toStdString() << "\n";
        }
        ProgressDevice progress(*input, QIODevice::ReadOnly, "cases import", input->size(), parser.isSet(kQuiet));
        report = store::importCases(
            *db, progress, mode,
            parser.isSet(QStringLiteral("no-update")) ? store::KnownCases::Refuse : store::KnownCases::Update);
    } catch (const store::DatabaseError& e) {
        err << "qinglan-cli cases import: " << e.text().toStdString() << "\n";
        return 1;
    }
    if (parser.isSet(json)) {
        out << QJsonDocument(importReportJson(report)).toJson(QJsonDocument::Compact).toStdString() << "\n";
    } else {
        for (const store::RefusedLine& line : report.refused)
            err << "line " << line.lineNumber << ": " << line.reason.toStdString() << "\n";
        out << "added " << report.added << "\nupdated " << report.updated << "\nskipped " << report.skipped
            << "\nrefused " << report.refused.size() << "\n";
    }
    if (mode == store::ImportMode::DryRun) return 0;
    if (!report.committed) {
        err << "qinglan-cli cases import: nothing imported because of the refused lines; "
               "fix them, or run again with --skip-refused to import the others\n";
        return 1;
    }
    return 0;
}

}  // namespace

int runCases(const QStringList& args, std::ostream& out, std::ostream& err) {
    const QString verb = args.value(0);
    if (verb == u"export") return runExport(args.mid(1), out, err);
    if (verb == u"import") return runImport(args.mid(1), out, err);
    if (verb == u"search") return runCaseSearch(args.mid(1), out, err);
    if (verb == u"stats") return runCaseStats(args.mid(1), out, err);
    if (verb == u"outcome") return runCaseOutcome(args.mid(1), out, err);
    if (verb == u"--help" || verb == u"-h" || verb == u"help") {
        out << kCasesUsage;
        return 0;
    }
    err << "qinglan-cli cases: expected export, import, search, stats or outcome (see qinglan-cli --help)\n";
    return 2;
}

}  // namespace cli
