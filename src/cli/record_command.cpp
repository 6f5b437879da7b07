#include "cli/record_command.h"

#include <QJsonDocument>
#include <iomanip>
#include <sstream>

#include "cli/command_parsing.h"
#include "language/generated_text.h"
#include "record/practice_record.h"
#include "record/record_csv.h"
#include "record/record_json.h"
#include "store/case_outcome.h"
#include "store/database.h"
#include "store/database_error.h"

namespace cli {
namespace {

// The keys are the program's words (占类, 用神, method) except the user's category names, kept as typed.
void printGroups(const QList<record::Group>& groups, const QString& title, bool userKeys, language::Language lang,
                 std::ostream& out) {
    out << language::localized(title, lang).toStdString() << "\ttotal\tdecided\thits\tpartial\tmisses\thit rate\n";
    for (const record::Group& g : groups) {
        const record::Tally& t = g.tally;
        out << (userKeys ? g.key : language::localized(g.key, lang)).toStdString() << '\t' << t.total << '\t'
            << t.decided() << '\t' << t.hits << '\t' << t.partial << '\t' << t.misses << '\t'
            << record::hitRateText(t.hitRate()).toStdString() << '\n';
    }
}

void printRecord(const record::PracticeRecord& r, record::GroupBy by, language::Language lang, std::ostream& out) {
    printGroups({{QStringLiteral("全部"), r.overall}}, QStringLiteral("cases"), false, lang, out);
    out << "pending\t" << r.overall.pending << "\n\n";
    printGroups(r.groupsBy(by), record::groupByTitle(by), by == record::GroupBy::Category, lang, out);
    out << "\ntiming error (actual - predicted, days): " << r.timing.count << " cases, median "
        << (r.timing.median ? QString::number(*r.timing.median).toStdString() : "-") << '\n';
    for (const record::HistogramBin& bin : r.timing.histogram)
        out << record::binText(bin).toStdString() << '\t' << bin.count << '\n';
    out << "\npending over " << record::kOverdueDays << " days: " << r.overdue.size() << '\n';
    for (const record::PendingCase& c : r.overdue)
        out << c.id << '\t' << c.castDate.toString(QStringLiteral("yyyy-MM-dd")).toStdString() << '\t'
            << c.caseNumber.toStdString() << '\t' << c.subject.toStdString() << '\n';
}

}  // namespace

int runCaseStats(const QStringList& args, std::ostream& out, std::ostream& err) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "How often the readings came true: the hit rate (应验 counts 1, 部分应验 1/2, over the decided cases)\n"
        "with its counts, overall and by one grouping; the timing error (outcome date - predicted date, in\n"
        "days: the median and a histogram with the bins <=-31, -30..-15, -14..-8, -7..-4, -3..-1, 0, 1..3,\n"
        "4..7, 8..14, 15..30, >=31); and the cases still 待验 more than 90 days after their cast.\n"
        "JSON: total, decided, hits, partial, misses, pending, hitRate, groups [{key, total, decided, hits,\n"
        "partial, misses, hitRate}], timingErrorDays {count, median, histogram [{from, to, count}]},\n"
        "quarters (as groups, by quarter), overduePending [{id, date, caseNumber, subject}]; a rate without\n"
        "a decided case, a median without a case and an open end of a bin are null."));
    parser.addOption({QStringLiteral("category"), QStringLiteral("Only the cases of this category."),
                      QStringLiteral("NAME")});
    parser.addOption({QStringLiteral("from"), QStringLiteral("Only cases cast on or after this date."),
                      QStringLiteral("yyyy-mm-dd")});
    parser.addOption({QStringLiteral("to"), QStringLiteral("Only cases cast on or before this date."),
                      QStringLiteral("yyyy-mm-dd")});
    parser.addOption({QStringLiteral("by"),
                      QStringLiteral("The grouping: question (占类, the default), category, year, relative (the 用神),\n"
                                     "method (京房式/藏山卜) or moving (the number of moving lines)."),
                      QStringLiteral("GROUPING"), QStringLiteral("question")});
    parser.addOption({QStringLiteral("json"), QStringLiteral("Print one JSON object.")});
    if (const auto status = parseCommand(parser, QStringLiteral("cases stats"), args, 0, out, err)) return *status;

    record::RecordFilter filter;
    if (parser.isSet(QStringLiteral("category"))) filter.category = parser.value(QStringLiteral("category"));
    if (const auto status = readDateRange(parser, QStringLiteral("cases stats"), filter.from, filter.to, err))
        return *status;
    const auto by = record::parseGroupBy(parser.value(QStringLiteral("by")));
    if (!by) {
        err << "qinglan-cli cases stats: --by takes question, category, year, relative, method or moving, not "
            << parser.value(QStringLiteral("by")).toStdString() << "\n";
        return 2;
    }
    record::PracticeRecord result;
    try {
        auto db = store::Database::openToRead(databasePath(parser));
        result = record::computeRecord(*db, filter, QDate::currentDate());
    } catch (const store::DatabaseError& e) {
        err << "qinglan-cli cases stats: " << e.text().toStdString() << "\n";
        return 1;
    }
    if (parser.isSet(QStringLiteral("json")))
        out << QJsonDocument(record::recordJson(result, *by)).toJson(QJsonDocument::Compact).toStdString() << "\n";
    else
        printRecord(result, *by, outputLanguage(parser), out);
    return 0;
}

int runCaseOutcome(const QStringList& args, std::ostream& out, std::ostream& err) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Sets the outcome of the local case CASE-ID: 应验, 部分应验, 未应验 or 待验 (or hit, partial, miss,\n"
        "pending). The dates not given stay as they are; an empty one clears it."));
    parser.addOption({QStringLiteral("date"), QStringLiteral("The day it came true or failed."),
                      QStringLiteral("yyyy-mm-dd")});
    parser.addOption({QStringLiteral("predicted"), QStringLiteral("The day the reading predicted."),
                      QStringLiteral("yyyy-mm-dd")});
    parser.addPositionalArgument(QStringLiteral("CASE-ID"), QStringLiteral("The case's local id."));
    parser.addPositionalArgument(QStringLiteral("OUTCOME"), QStringLiteral("应验|部分应验|未应验|待验"));
    if (const auto status = parseCommand(parser, QStringLiteral("cases outcome"), args, 2, out, err)) return *status;

    const QStringList words = parser.positionalArguments();
    bool numeric = false;
    const qint64 id = words[0].toLongLong(&numeric);
    if (!numeric) {
        err << "qinglan-cli cases outcome: CASE-ID is a number, not " << words[0].toStdString() << "\n";
        return 2;
    }
    const auto outcome = store::parseOutcome(words[1]);
    if (!outcome) {
        err << "qinglan-cli cases outcome: the outcome is 应验, 部分应验, 未应验 or 待验, not " << words[1].toStdString()
            << "\n";
        return 2;
    }
    std::optional<QDate> dates[2];
    const QString dateOptions[2] = {QStringLiteral("date"), QStringLiteral("predicted")};
    for (int i = 0; i < 2; ++i) {
        if (!parser.isSet(dateOptions[i])) continue;
        const QString text = parser.value(dateOptions[i]);
        dates[i] = text.isEmpty() ? QDate() : QDate::fromString(text, QStringLiteral("yyyy-MM-dd"));
        if (!text.isEmpty() && !dates[i]->isValid()) {
            err << "qinglan-cli cases outcome: --" << dateOptions[i].toStdString() << " needs a date yyyy-mm-dd, not "
                << text.toStdString() << "\n";
            return 2;
        }
    }
    try {
        auto db = store::Database::open(databasePath(parser));
        store::Transaction transaction(*db);
        auto stored = store::outcomeOf(*db, id);
        if (!stored) {
            err << "qinglan-cli cases outcome: no case with id " << id << "\n";
            return 1;
        }
        stored->outcome = *outcome;
        if (dates[0]) stored->date = *dates[0];
        if (dates[1]) stored->predicted = *dates[1];
        store::saveOutcome(*db, id, *stored);
        transaction.commit();
    } catch (const store::DatabaseError& e) {
        err << "qinglan-cli cases outcome: " << e.text().toStdString() << "\n";
        return 1;
    }
    return 0;
}

}  // namespace cli
