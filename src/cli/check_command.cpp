#include "cli/check_command.h"

#include <QDateTime>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>

#include "cli/command_parsing.h"
#include "store/database_check.h"
#include "store/schema_version.h"

namespace cli {
namespace {

std::string countText(const std::optional<qint64>& count) {
    return count ? std::to_string(*count) : std::string("cannot be counted");
}

QJsonValue countJson(const std::optional<qint64>& count) { return count ? QJsonValue(*count) : QJsonValue(); }

}  // namespace

int runCheck(const QStringList& args, std::ostream& out, std::ostream& err) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Checks the database without changing it: SQLite's integrity check, the keyword index's own\n"
        "check, the schema version, and the counts of cases and categories. Exit status 0 only when all\n"
        "of them hold, 1 otherwise (see qinglan-cli repair)."));
    parser.addOption({QStringLiteral("json"), QStringLiteral("Print the findings as one JSON object.")});
    if (const auto status = parseCommand(parser, QStringLiteral("check"), args, 0, out, err)) return *status;
    const QString path = databasePath(parser);
    if (!QFileInfo::exists(path)) {
        err << "qinglan-cli check: there is no database " << path.toStdString() << "\n";
        return 1;
    }
    store::DatabaseCheck check;
    try {
        check = store::checkDatabase(path);
    } catch (const store::DatabaseError& e) {
        err << "qinglan-cli check: " << e.text().toStdString() << "\n";
        return 1;
    }
    if (parser.isSet(QStringLiteral("json"))) {
        const QJsonObject object{
            {QStringLiteral("file"), path},
            {QStringLiteral("integrity"), check.integrity},
            {QStringLiteral("keyword_index"), check.searchIndex.isEmpty() ? QStringLiteral("ok") : check.searchIndex},
            {QStringLiteral("schema_version"), check.schemaVersion},
            {QStringLiteral("current_schema_version"), qint64(store::kSchemaVersion)},
            {QStringLiteral("cases"), countJson(check.cases)},
            {QStringLiteral("categories"), countJson(check.categories)},
            {QStringLiteral("sound"), check.sound()}};
        out << QJsonDocument(object).toJson(QJsonDocument::Compact).toStdString() << "\n";
    } else {
        out << "file: " << path.toStdString() << "\n"
            << "integrity: " << check.integrity.toStdString() << "\n"
            << "keyword index: " << (check.searchIndex.isEmpty() ? "ok" : check.searchIndex.toStdString()) << "\n"
            << "schema version: " << check.schemaVersion
            << (check.schemaVersion == store::kSchemaVersion
                    ? " (this program's)"
                    : " (not this program's " + std::to_string(store::kSchemaVersion) + ")")
            << "\n"
            << "cases: " << countText(check.cases) << "\n"
            << "categories: " << countText(check.categories) << "\n";
    }
    if (!check.sound()) {
        err << "qinglan-cli check: the database is not sound; qinglan-cli repair rebuilds the keyword index, or "
               "copies what can be read from a damaged file\n";
        return 1;
    }
    return 0;
}

int runRepair(const QStringList& args, std::ostream& out, std::ostream& err) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "When the database file is sound, makes its keyword index again. When the file itself is damaged it\n"
        "is left exactly as it is: every case and category that can be read is copied into a new file\n"
        "beside it (qinglan-repaired-<date-time>.db, whose name is printed) and what could not be read is\n"
        "named; the new file can then be put in place with qinglan-cli restore. Close the desktop program\n"
        "first. Exit status 1 when the file is damaged, also after the copy."));
    if (const auto status = parseCommand(parser, QStringLiteral("repair"), args, 0, out, err)) return *status;
    const QString path = databasePath(parser);
    if (!QFileInfo::exists(path)) {
        err << "qinglan-cli repair: there is no database " << path.toStdString() << "\n";
        return 1;
    }
    store::RepairReport report;
    try {
        report = store::repairDatabase(path, QDateTime::currentDateTime());
    } catch (const store::DatabaseError& e) {
        err << "qinglan-cli repair: " << e.text().toStdString() << "\n";
        return 1;
    }
    if (report.indexRebuilt) {
        out << "the keyword index was made again\n";
        return 0;
    }
    out << "copied " << report.casesCopied << " cases into " << report.copiedTo.toStdString() << "\n";
    for (const QString& line : report.unreadable) out << "not readable: " << line.toStdString() << "\n";
    err << "qinglan-cli repair: " << path.toStdString()
        << " is damaged and was left as it is; check the new file, then put it in place with qinglan-cli restore "
        << report.copiedTo.toStdString() << "\n";
    return 1;
}

}  // namespace cli
