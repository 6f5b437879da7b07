#include "store/case_outcome.h"

#include "store/database.h"

#include <QSqlQuery>
#include <QVariant>

namespace store {
namespace {

struct OutcomeText {
    Outcome outcome;
    const char16_t* code;
    const char16_t* name;
};
const OutcomeText kOutcomes[] = {
    {Outcome::Pending, u"pending", u"待验"},
    {Outcome::Hit, u"hit", u"应验"},
    {Outcome::Partial, u"partial", u"部分应验"},
    {Outcome::Miss, u"miss", u"未应验"},
};

const OutcomeText& textOf(Outcome outcome) { return kOutcomes[int(outcome)]; }

}  // namespace

QString outcomeCode(Outcome outcome) { return QString::fromUtf16(textOf(outcome).code); }
QString outcomeName(Outcome outcome) { return QString::fromUtf16(textOf(outcome).name); }

QStringList outcomeNames() {
    QStringList names;
    for (const OutcomeText& t : kOutcomes) names << QString::fromUtf16(t.name);
    return names;
}

std::optional<Outcome> parseOutcome(const QString& text) {
    for (const OutcomeText& t : kOutcomes)
        if (text == QStringView(t.code) || text == QStringView(t.name)) return t.outcome;
    return std::nullopt;
}

QVariant dateColumn(const QDate& date) {
    return date.isValid() ? QVariant(date.toString(QStringLiteral("yyyy-MM-dd"))) : QVariant();
}

QDate dateOfColumn(const QVariant& value) {
    return value.isNull() ? QDate() : QDate::fromString(value.toString(), QStringLiteral("yyyy-MM-dd"));
}

bool saveOutcome(Database& db, qint64 id, const CaseOutcome& outcome) {
    // One statement writes: callers may hold a transaction of their own.
    if (db.getFirstInteger(QStringLiteral("select count(*) from gua_table where id=?"), {id}) == 0) return false;
    db.execute(QStringLiteral("update gua_table set outcome=?,outcome_date=?,predicted_date=? where id=?"),
               {outcomeCode(outcome.outcome), dateColumn(outcome.date), dateColumn(outcome.predicted), id});
    return true;
}

std::optional<CaseOutcome> outcomeOf(const Database& db, qint64 id) {
    QSqlQuery query =
        db.select(QStringLiteral("select outcome,outcome_date,predicted_date from gua_table where id=?"), {id});
    if (!db.nextRow(query)) return std::nullopt;
    return CaseOutcome{parseOutcome(query.value(0).toString()).value_or(Outcome::Pending),
                       dateOfColumn(query.value(1)), dateOfColumn(query.value(2))};
}

}  // namespace store
