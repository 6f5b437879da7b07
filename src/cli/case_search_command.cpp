#include "cli/case_search_command.h"

#include <QBuffer>

#include "cli/command_parsing.h"
#include "store/case_categories.h"
#include "store/case_lists.h"
#include "store/case_transfer.h"

namespace cli {
namespace {

constexpr int kDefaultLimit = 100;  // as many as the case browser shows
constexpr int kMaxLimit = 1000000;

}  // namespace

int runCaseSearch(const QStringList& args, std::ostream& out, std::ostream& err) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Prints the cases whose name, subject, judgment or feedback contain KEYWORD (literally; ASCII\n"
        "letters in either case), newest first, as the case browser's search finds them: one JSON object\n"
        "per line with the fields of cases export."));
    parser.addOption({QStringLiteral("limit"), QStringLiteral("At most N cases (default 100)."), QStringLiteral("N")});
    parser.addOption(
        {QStringLiteral("category"), QStringLiteral("Only the cases of this category."), QStringLiteral("NAME")});
    parser.addPositionalArgument(QStringLiteral("KEYWORD"), QStringLiteral("The text to look for."));
    const QString command = QStringLiteral("cases search");
    if (const auto status = parseCommand(parser, command, args, 1, out, err)) return *status;

    const QString keyword = parser.positionalArguments()[0];
    if (keyword.isEmpty()) {
        err << "qinglan-cli cases search: the keyword is empty\n";
        return 2;
    }
    int limit = kDefaultLimit;
    if (parser.isSet(QStringLiteral("limit"))) {
        bool ok = false;
        limit = parser.value(QStringLiteral("limit")).toInt(&ok);
        if (!ok || limit < 1 || limit > kMaxLimit) {
            err << "qinglan-cli cases search: --limit needs a whole number from 1 to " << kMaxLimit << ", not "
                << parser.value(QStringLiteral("limit")).toStdString() << "\n";
            return 2;
        }
    }
    try {
        auto db = store::Database::openToRead(databasePath(parser));
        qint64 category = store::kAllCategories;
        if (parser.isSet(QStringLiteral("category"))) {
            const QString name = parser.value(QStringLiteral("category"));
            const auto id = store::CaseCategories(*db).idOf(name);
            if (!id) throw store::DatabaseError(QStringLiteral("没有名为“%1”的类别").arg(name));
            category = *id;
        }
        QList<qint64> ids;
        for (const auto& row : store::CaseLists(*db).searchCases(keyword, limit, category)) ids << row.id;
        QBuffer lines;
        lines.open(QIODevice::WriteOnly);
        store::exportCasesById(*db, ids, lines);
        out.write(lines.data().constData(), lines.data().size());
        out.flush();
    } catch (const store::DatabaseError& e) {
        err << "qinglan-cli cases search: " << e.text().toStdString() << "\n";
        return 1;
    }
    return 0;
}

}  // namespace cli
