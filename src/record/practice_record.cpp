#include "record/practice_record.h"

#include <QCoreApplication>
#include <QHash>
#include <QMap>
#include <QSqlQuery>
#include <QVariant>
#include <algorithm>

#include "reading/reading.h"
#include "store/database.h"
#include "store/database_error.h"

using namespace Qt::StringLiterals;

namespace record {
namespace {

const QString kNoCategory = QStringLiteral("未分类");
const QString kNoQuestion = QStringLiteral("未选占类");
const QString kNoDate = QStringLiteral("无日期");
const QString kNoUseGod = QStringLiteral("未定");
const QString kUnknown = QStringLiteral("未知");

// What a case number gives: its method word after the 14 digits, and the moving lines (codes 3
// and 4) among its six line codes, -1 when they are not six codes 1–4.
struct NumberFacts {
    int method = -1;  // index into kMethods
    int moving = -1;
};
const QString kMethods[] = {QStringLiteral("京房式"), QStringLiteral("藏山卜")};

NumberFacts factsOfNumber(const QString& number) {
    NumberFacts facts;
    if (number.size() >= 14) {
        int moving = 0;
        for (int i = 8; i < 14 && moving >= 0; ++i) {
            const char16_t c = number.at(i).unicode();
            moving = c < u'1' || c > u'4' ? -1 : moving + (c >= u'3');
        }
        facts.moving = moving;
    }
    for (int m = 0; m < 2; ++m)
        if (QStringView(number).mid(14, 3) == kMethods[m]) facts.method = m;
    return facts;
}

// The cases sharing everything the record groups by, counted in one pass over the rows.
struct CaseKind {
    qint64 leiId = -1;        // -1: none
    int year = 0, month = 0;  // 0: no cast date
    int question = 0, gender = 0;  // indices into the pass's lists of texts seen
    int method = -1, moving = -1;
    store::Outcome outcome = store::Outcome::Pending;
    bool operator==(const CaseKind&) const = default;
};
size_t qHash(const CaseKind& k, size_t seed = 0) {
    return qHashMulti(seed, k.leiId, k.year, k.month, k.question, k.gender, k.method, k.moving, int(k.outcome));
}

// A file of the earlier layout opened read-only has no outcome: every case is pending.
QString outcomeColumn(bool hasOutcome) {
    return hasOutcome ? QStringLiteral("coalesce(outcome,'pending')") : QStringLiteral("'pending'");
}

// Every column the pass reads is in the index gua_table_record, so the long texts are never read.
QString caseSelect(bool hasOutcome) {
    return QStringLiteral(
               "select coalesce(lei_id,-1),coalesce(nian,0),coalesce(yue,0),coalesce(zhanlei,''),coalesce(xingbie,''),"
               "coalesce(gua_bianhao,''),%1 from gua_table where (? is null or lei_id=?) "
               "and (? is null or nian*10000+yue*100+ri>=?) and (? is null or nian*10000+yue*100+ri<=?)")
        .arg(outcomeColumn(hasOutcome) +
             (hasOutcome ? QStringLiteral(",cast(julianday(outcome_date)-julianday(predicted_date) as integer)")
                         : QStringLiteral(",null")));
}

// The index of a text in a list of texts seen, added when new.
int indexOf(QHash<QString, int>& indices, QStringList& texts, const QString& text) {
    auto it = indices.constFind(text);
    if (it == indices.constEnd()) {
        it = indices.insert(text, int(texts.size()));
        texts << text;
    }
    return *it;
}

QVariant dayNumber(const std::optional<QDate>& d) {
    return d ? QVariant(d->year() * 10000 + d->month() * 100 + d->day()) : QVariant();
}

// Keeps tallies by key and lists them in an order: the fixed keys first (listed even when empty),
// then the others as ordered by `later`.
class Grouping {
public:
    explicit Grouping(QStringList fixed = {}) : fixed_(std::move(fixed)) {
        for (const QString& key : fixed_) tallies_[key];
    }
    void add(const QString& key, store::Outcome outcome, qint64 count) { tallies_[key].add(outcome, count); }
    QList<Group> list(const QStringList& lastKeys = {}, const QStringList& order = {}) const {
        QList<Group> out;
        for (const QString& key : fixed_) out.append({key, tallies_.value(key)});
        QStringList rest;
        for (auto it = tallies_.begin(); it != tallies_.end(); ++it)
            if (!fixed_.contains(it.key()) && !lastKeys.contains(it.key())) rest << it.key();
        std::stable_sort(rest.begin(), rest.end(), [&](const QString& a, const QString& b) {
            const qsizetype ia = order.indexOf(a), ib = order.indexOf(b);
            if (ia != ib) return (ia < 0 ? order.size() : ia) < (ib < 0 ? order.size() : ib);
            return a < b;
        });
        for (const QString& key : rest) out.append({key, tallies_.value(key)});
        for (const QString& key : lastKeys)
            if (tallies_.contains(key)) out.append({key, tallies_.value(key)});
        return out;
    }

private:
    QStringList fixed_;
    QMap<QString, Tally> tallies_;
};

QList<HistogramBin> emptyHistogram() {
    QList<HistogramBin> bins;
    std::optional<int> from;
    for (int edge : kTimingEdges) {
        bins.append({from, edge - 1, 0});
        from = edge;
    }
    bins.append({from, std::nullopt, 0});
    return bins;
}

TimingError timingOf(QMap<qint64, qint64> days) {
    TimingError timing;
    timing.histogram = emptyHistogram();
    for (auto it = days.begin(); it != days.end(); ++it) {
        timing.count += it.value();
        const auto bin = std::upper_bound(kTimingEdges.begin(), kTimingEdges.end(), it.key()) - kTimingEdges.begin();
        timing.histogram[bin].count += it.value();
    }
    if (timing.count == 0) return timing;
    // The middle value, or the mean of the two middle values of an even count.
    const qint64 lower = (timing.count - 1) / 2, upper = timing.count / 2;
    qint64 seen = 0;
    std::optional<qint64> low;
    for (auto it = days.begin(); it != days.end(); ++it) {
        seen += it.value();
        if (!low && seen > lower) low = it.key();
        if (seen > upper) {
            timing.median = (double(*low) + double(it.key())) / 2;
            break;
        }
    }
    return timing;
}

QString quarterKey(int year, int quarter) { return QStringLiteral("%1-Q%2").arg(year).arg(quarter); }

}  // namespace

std::optional<double> Tally::hitRate() const {
    if (decided() == 0) return std::nullopt;
    return (double(hits) + double(partial) / 2) / double(decided());
}

void Tally::add(store::Outcome outcome, qint64 count) {
    total += count;
    switch (outcome) {
    case store::Outcome::Hit: hits += count; break;
    case store::Outcome::Partial: partial += count; break;
    case store::Outcome::Miss: misses += count; break;
    case store::Outcome::Pending: pending += count; break;
    }
}

namespace {
struct GroupingText {
    GroupBy by;
    const char16_t* word;
    const char16_t* title;
};
const GroupingText kGroupingTexts[] = {
    {GroupBy::Question, u"question", u"占类"}, {GroupBy::Category, u"category", u"分类"},
    {GroupBy::Year, u"year", u"年份"},         {GroupBy::Relative, u"relative", u"用神"},
    {GroupBy::Method, u"method", u"排卦方式"},  {GroupBy::Moving, u"moving", u"动爻数"},
};
}  // namespace

QString groupByWord(GroupBy by) { return QString::fromUtf16(kGroupingTexts[int(by)].word); }
QString groupByTitle(GroupBy by) { return QString::fromUtf16(kGroupingTexts[int(by)].title); }
std::optional<GroupBy> parseGroupBy(const QString& word) {
    for (const GroupingText& t : kGroupingTexts)
        if (word == QStringView(t.word)) return t.by;
    return std::nullopt;
}

PracticeRecord computeRecord(const store::Database& db, const RecordFilter& filter, const QDate& today) {
    // Categories by id: all of them, or the one of the filter.
    QList<std::pair<qint64, QString>> categories;
    {
        QSqlQuery query = db.select(QStringLiteral("select lei_id,lei_mingcheng from fenlei_table order by lei_id"));
        while (db.nextRow(query)) {
            const QString name = query.value(1).toString();
            if (!filter.category || name == *filter.category) categories.append({query.value(0).toLongLong(), name});
        }
    }
    QVariant categoryId;
    if (filter.category) {
        if (categories.isEmpty())
            throw store::DatabaseError(
                QCoreApplication::translate("record::PracticeRecord", "没有名为“%1”的类别").arg(*filter.category));
        categories = {categories.first()};
        categoryId = categories.first().first;
    }
    QHash<qint64, QString> categoryNames;
    QStringList categoryKeys;
    for (const auto& [id, name] : categories) {
        categoryNames.insert(id, name);
        categoryKeys << name;
    }
    categoryKeys.removeDuplicates();

    const bool hasOutcome = db.getFirstInteger(QStringLiteral(
                                "select count(*) from pragma_table_info('gua_table') where name='outcome'")) > 0;
    QSqlQuery query = db.select(caseSelect(hasOutcome), {categoryId, categoryId, dayNumber(filter.from),
                                                         dayNumber(filter.from), dayNumber(filter.to),
                                                         dayNumber(filter.to)});
    QHash<CaseKind, qint64> kinds;
    QHash<QString, int> questionIndex, genderIndex;
    QStringList questions, genders;
    QMap<qint64, qint64> timingDays;
    QHash<QString, store::Outcome> outcomes;
    while (db.nextRow(query)) {
        CaseKind kind;
        kind.leiId = query.value(0).toLongLong();
        kind.year = query.value(1).toInt();
        kind.month = query.value(2).toInt();
        kind.question = indexOf(questionIndex, questions, query.value(3).toString());
        kind.gender = indexOf(genderIndex, genders, query.value(4).toString());
        const NumberFacts facts = factsOfNumber(query.value(5).toString());
        kind.method = facts.method;
        kind.moving = facts.moving;
        const QString outcome = query.value(6).toString();
        auto known = outcomes.constFind(outcome);
        if (known == outcomes.constEnd())
            known = outcomes.insert(outcome, store::parseOutcome(outcome).value_or(store::Outcome::Pending));
        kind.outcome = *known;
        ++kinds[kind];
        if (const QVariant days = query.value(7); !days.isNull()) ++timingDays[days.toLongLong()];
    }

    PracticeRecord record;
    std::array<Grouping, kGroupings.size()> groups = {
        Grouping{}, Grouping{categoryKeys}, Grouping{}, Grouping{}, Grouping{{kMethods[0], kMethods[1]}},
        Grouping{{u"0"_s, u"1"_s, u"2"_s, u"3"_s, u"4"_s, u"5"_s, u"6"_s}}};
    QMap<int, Tally> quarters;  // year * 4 + quarter − 1
    QHash<std::pair<int, int>, QString> useGods;
    for (auto it = kinds.constBegin(); it != kinds.constEnd(); ++it) {
        const CaseKind& k = it.key();
        const qint64 count = it.value();
        record.overall.add(k.outcome, count);
        const QString& question = questions.at(k.question);
        auto useGod = useGods.constFind({k.question, k.gender});
        if (useGod == useGods.constEnd())
            useGod = useGods.insert({k.question, k.gender}, reading::useGodOf(question, genders.at(k.gender)));
        const QString keys[] = {
            question.isEmpty() ? kNoQuestion : question,
            categoryNames.value(k.leiId, kNoCategory),
            k.year > 0 ? QString::number(k.year) : kNoDate,
            useGod->isEmpty() ? kNoUseGod : *useGod,
            k.method >= 0 ? kMethods[k.method] : kUnknown,
            k.moving >= 0 ? QString::number(k.moving) : kUnknown,
        };
        for (std::size_t i = 0; i < groups.size(); ++i) groups[i].add(keys[i], k.outcome, count);
        if (k.year > 0 && k.month >= 1 && k.month <= 12) quarters[k.year * 4 + (k.month - 1) / 3].add(k.outcome, count);
    }

    static const QStringList questionOrder = reading::questionTypes();
    static const QStringList useGodOrder = {u"父母"_s, u"兄弟"_s, u"子孙"_s, u"妻财"_s,
                                            u"官鬼"_s, u"世"_s,   u"应"_s};
    const QStringList lastKeys[] = {{kNoQuestion}, {kNoCategory}, {kNoDate}, {kNoUseGod}, {kUnknown}, {kUnknown}};
    const QStringList orders[] = {questionOrder, {}, {}, useGodOrder, {}, {}};
    for (std::size_t i = 0; i < groups.size(); ++i) record.groups[i] = groups[i].list(lastKeys[i], orders[i]);
    if (!quarters.isEmpty())
        for (int q = quarters.firstKey(); q <= quarters.lastKey(); ++q)
            record.quarters.append({quarterKey(q / 4, q % 4 + 1), quarters.value(q)});
    record.timing = timingOf(timingDays);

    // The columns of the index again, but for the subject, read only for the cases listed; sorted
    // here, as an order by would lead SQLite to an index without the outcome.
    QSqlQuery pending = db.select(
        QStringLiteral("select id,nian,yue,ri,gua_bianhao,(select shiyou from gua_table s where s.id=g.id) "
                       "from gua_table g where %1='pending' and nian*10000+yue*100+ri<? and (? is null or lei_id=?) "
                       "and (? is null or nian*10000+yue*100+ri>=?) and (? is null or nian*10000+yue*100+ri<=?)")
            .arg(outcomeColumn(hasOutcome)),
        {dayNumber(today.addDays(-kOverdueDays)), categoryId, categoryId, dayNumber(filter.from),
         dayNumber(filter.from), dayNumber(filter.to), dayNumber(filter.to)});
    while (db.nextRow(pending))
        record.overdue.append({pending.value(0).toLongLong(),
                               QDate(pending.value(1).toInt(), pending.value(2).toInt(), pending.value(3).toInt()),
                               pending.value(4).toString(), pending.value(5).toString()});
    std::sort(record.overdue.begin(), record.overdue.end(), [](const PendingCase& a, const PendingCase& b) {
        return a.castDate != b.castDate ? a.castDate < b.castDate : a.id < b.id;
    });
    return record;
}

}  // namespace record
