// The record over a library of twelve cases whose counts were worked out by hand (see the table
// of cases below): groups with and without decided cases, partial hits, cases without dates,
// malformed case numbers, categories that no longer exist.
#include "record/practice_record.h"
#include "record/record_json.h"
#include "store/database.h"
#include "store/database_error.h"

#include <gtest/gtest.h>
#include <QJsonArray>

using namespace Qt::StringLiterals;

namespace {

// Today for the 待验 list: cases cast before 2026-04-01 are over 90 days old.
const QDate kToday(2026, 6, 30);

struct Expected {
    const char16_t* key;
    qint64 total, hits, partial, misses;
    double rate;  // −1: none (no decided case)
};

class PracticeRecordTest : public ::testing::Test {
protected:
    void SetUp() override {
        db = store::Database::openInMemory();
        // number, lei_id, nian, yue, ri, zhanlei, xingbie, outcome, outcome_date, predicted_date
        const QVariantList rows[] = {
            {u"20250105111111京房式T:10:00:00"_s, 2, 2025, 1, 5, u"求财"_s, u"男"_s, u"hit"_s, u"2025-01-20"_s, u"2025-01-15"_s},
            {u"20250210311111京房式T:10:00:00"_s, 2, 2025, 2, 10, u"求财"_s, u"女"_s, u"partial"_s, u"2025-02-20"_s, u"2025-02-25"_s},
            {u"20250415341111藏山卜T:10:00:00"_s, 3, 2025, 4, 15, u"工作"_s, u"男"_s, u"miss"_s, QVariant(), u"2025-05-01"_s},
            {u"20250720344111藏山卜T:10:00:00"_s, 3, 2025, 7, 20, u"工作"_s, u"女"_s, u"hit"_s, u"2025-07-20"_s, u"2025-07-20"_s},
            {u"20251101111112京房式T:10:00:00"_s, 4, 2025, 11, 1, u"婚姻"_s, u"男"_s, u"pending"_s, QVariant(), u"2025-12-01"_s},
            {u"20251201222222京房式T:10:00:00"_s, 4, 2025, 12, 1, u"婚姻"_s, u"未知"_s, u"pending"_s, QVariant(), QVariant()},
            {u"20260301333333京房式T:10:00:00"_s, 5, 2026, 3, 1, u"疾病"_s, u"男"_s, u"partial"_s, u"2026-04-10"_s, u"2026-03-10"_s},
            {u"20260402111111京房式T:10:00:00"_s, 5, 2026, 4, 2, u"自身"_s, u"男"_s, u"pending"_s, QVariant(), QVariant()},
            {u"20260331111111京房式T:10:00:00"_s, 1, 2026, 3, 31, u""_s, u"男"_s, u"pending"_s, QVariant(), QVariant()},
            {u"XYZ"_s, QVariant(), QVariant(), QVariant(), QVariant(), u"他人"_s, u"男"_s, u"hit"_s, u"2026-01-01"_s, QVariant()},
            {u"20260105211111京房式T:10:00:00"_s, 99, 2026, 1, 5, u"失物"_s, u"女"_s, u"miss"_s, u"2026-02-01"_s, u"2026-02-15"_s},
            {u"20260610111111"_s, 2, 2026, 6, 10, u"求财"_s, u"男"_s, u"hit"_s, u"2026-06-12"_s, u"2026-06-11"_s},
        };
        for (const QVariantList& row : rows)
            db->execute(QStringLiteral("insert into gua_table(gua_bianhao,lei_id,nian,yue,ri,zhanlei,xingbie,outcome,"
                                       "outcome_date,predicted_date) values(?,?,?,?,?,?,?,?,?,?)"),
                        row);
    }

    static void expectGroups(const QList<record::Group>& groups, std::initializer_list<Expected> expected,
                             const char* what) {
        ASSERT_EQ(groups.size(), qsizetype(expected.size())) << what;
        qsizetype i = 0;
        for (const Expected& e : expected) {
            const record::Group& g = groups[i++];
            EXPECT_EQ(g.key, QString::fromUtf16(e.key)) << what;
            EXPECT_EQ(g.tally.total, e.total) << what << " " << g.key.toStdString();
            EXPECT_EQ(g.tally.hits, e.hits) << what << " " << g.key.toStdString();
            EXPECT_EQ(g.tally.partial, e.partial) << what << " " << g.key.toStdString();
            EXPECT_EQ(g.tally.misses, e.misses) << what << " " << g.key.toStdString();
            EXPECT_EQ(g.tally.pending, e.total - e.hits - e.partial - e.misses) << what;
            if (e.rate < 0)
                EXPECT_FALSE(g.tally.hitRate()) << what << " " << g.key.toStdString();
            else
                EXPECT_NEAR(g.tally.hitRate().value_or(-1), e.rate, 1e-9) << what << " " << g.key.toStdString();
        }
    }

    std::unique_ptr<store::Database> db;
};

TEST_F(PracticeRecordTest, CountsOverallAndByEveryGrouping) {
    const record::PracticeRecord r = record::computeRecord(*db, {}, kToday);
    expectGroups({{u"全部"_s, r.overall}}, {{u"全部", 12, 4, 2, 2, 5.0 / 8}}, "overall");
    using record::GroupBy;
    expectGroups(r.groupsBy(GroupBy::Question),
                 {{u"自身", 1, 0, 0, 0, -1}, {u"他人", 1, 1, 0, 0, 1}, {u"求财", 3, 2, 1, 0, 2.5 / 3},
                  {u"失物", 1, 0, 0, 1, 0}, {u"工作", 2, 1, 0, 1, 0.5}, {u"疾病", 1, 0, 1, 0, 0.5},
                  {u"婚姻", 2, 0, 0, 0, -1}, {u"未选占类", 1, 0, 0, 0, -1}},
                 "question");
    expectGroups(r.groupsBy(GroupBy::Category),
                 {{u"杂类", 1, 0, 0, 0, -1}, {u"求财", 3, 2, 1, 0, 2.5 / 3}, {u"事业", 2, 1, 0, 1, 0.5},
                  {u"感情婚姻", 2, 0, 0, 0, -1}, {u"健康疾病", 2, 0, 1, 0, 0.5}, {u"出行", 0, 0, 0, 0, -1},
                  {u"失物", 0, 0, 0, 0, -1}, {u"官非诉讼", 0, 0, 0, 0, -1}, {u"学业考试", 0, 0, 0, 0, -1},
                  {u"家宅", 0, 0, 0, 0, -1}, {u"天气", 0, 0, 0, 0, -1}, {u"寻人", 0, 0, 0, 0, -1},
                  {u"其他", 0, 0, 0, 0, -1}, {u"未分类", 2, 1, 0, 1, 0.5}},
                 "category");
    expectGroups(r.groupsBy(GroupBy::Year),
                 {{u"2025", 6, 2, 1, 1, 2.5 / 4}, {u"2026", 5, 1, 1, 1, 1.5 / 3}, {u"无日期", 1, 1, 0, 0, 1}}, "year");
    expectGroups(r.groupsBy(GroupBy::Relative),
                 {{u"妻财", 5, 2, 1, 1, 2.5 / 4}, {u"官鬼", 2, 1, 0, 1, 0.5}, {u"世", 2, 0, 1, 0, 0.5},
                  {u"应", 1, 1, 0, 0, 1}, {u"未定", 2, 0, 0, 0, -1}},
                 "relative");
    expectGroups(r.groupsBy(GroupBy::Method),
                 {{u"京房式", 8, 1, 2, 1, 2.0 / 4}, {u"藏山卜", 2, 1, 0, 1, 0.5}, {u"未知", 2, 2, 0, 0, 1}}, "method");
    expectGroups(r.groupsBy(GroupBy::Moving),
                 {{u"0", 7, 2, 0, 1, 2.0 / 3}, {u"1", 1, 0, 1, 0, 0.5}, {u"2", 1, 0, 0, 1, 0}, {u"3", 1, 1, 0, 0, 1},
                  {u"4", 0, 0, 0, 0, -1}, {u"5", 0, 0, 0, 0, -1}, {u"6", 1, 0, 1, 0, 0.5}, {u"未知", 1, 1, 0, 0, 1}},
                 "moving");
    expectGroups(r.quarters,
                 {{u"2025-Q1", 2, 1, 1, 0, 0.75}, {u"2025-Q2", 1, 0, 0, 1, 0}, {u"2025-Q3", 1, 1, 0, 0, 1},
                  {u"2025-Q4", 2, 0, 0, 0, -1}, {u"2026-Q1", 3, 0, 1, 1, 0.25}, {u"2026-Q2", 2, 1, 0, 0, 1}},
                 "quarter");
}

TEST_F(PracticeRecordTest, TimingErrorOfTheCasesWithBothDates) {
    // actual − predicted: +5, −5, 0, +31, −14, +1 (the miss without an outcome date and the
    // pending case with a predicted date only are left out).
    const record::TimingError t = record::computeRecord(*db, {}, kToday).timing;
    EXPECT_EQ(t.count, 6);
    EXPECT_DOUBLE_EQ(t.median.value_or(-99), 0.5);
    const qint64 counts[] = {0, 0, 1, 1, 0, 1, 1, 1, 0, 0, 1};  // ≤−31 … ≥31
    ASSERT_EQ(t.histogram.size(), qsizetype(std::size(counts)));
    for (qsizetype i = 0; i < t.histogram.size(); ++i) EXPECT_EQ(t.histogram[i].count, counts[i]) << i;
    EXPECT_FALSE(t.histogram.first().from);
    EXPECT_EQ(t.histogram.first().to, -31);
    EXPECT_EQ(t.histogram[5].from, 0);
    EXPECT_EQ(t.histogram[5].to, 0);
    EXPECT_EQ(t.histogram.last().from, 31);
}

TEST_F(PracticeRecordTest, PendingCasesOverNinetyDaysOldOldestFirst) {
    QStringList overdue;
    for (const record::PendingCase& c : record::computeRecord(*db, {}, kToday).overdue)
        overdue << c.castDate.toString(Qt::ISODate) + u' ' + c.caseNumber.left(14);
    EXPECT_EQ(overdue, (QStringList{u"2025-11-01 20251101111112"_s, u"2025-12-01 20251201222222"_s,
                                    u"2026-03-31 20260331111111"_s}));
}

TEST_F(PracticeRecordTest, FiltersByCategoryAndCastDates) {
    const record::PracticeRecord money = record::computeRecord(*db, {u"求财"_s, {}, {}}, kToday);
    expectGroups(money.groupsBy(record::GroupBy::Category), {{u"求财", 3, 2, 1, 0, 2.5 / 3}}, "category filter");
    EXPECT_TRUE(money.overdue.isEmpty());

    const record::PracticeRecord range = record::computeRecord(*db, {{}, QDate(2025, 4, 15), QDate(2025, 12, 1)}, kToday);
    expectGroups({{u"全部"_s, range.overall}}, {{u"全部", 4, 1, 0, 1, 0.5}}, "date range");
    EXPECT_EQ(range.overdue.size(), 2);

    EXPECT_THROW(record::computeRecord(*db, {u"没有的类别"_s, {}, {}}, kToday), store::DatabaseError);
}

TEST_F(PracticeRecordTest, JsonCarriesTheNamedKeys) {
    const QJsonObject json = record::recordJson(record::computeRecord(*db, {}, kToday), record::GroupBy::Method);
    EXPECT_EQ(json[u"total"_s].toInteger(), 12);
    EXPECT_EQ(json[u"decided"_s].toInteger(), 8);
    EXPECT_EQ(json[u"pending"_s].toInteger(), 4);
    EXPECT_DOUBLE_EQ(json[u"hitRate"_s].toDouble(), 0.625);
    const QJsonObject unknown = json[u"groups"_s].toArray()[2].toObject();
    EXPECT_EQ(unknown.keys(), (QStringList{u"decided"_s, u"hitRate"_s, u"hits"_s, u"key"_s, u"misses"_s,
                                           u"partial"_s, u"total"_s}));
    EXPECT_EQ(unknown[u"key"_s].toString(), u"未知");
    const QJsonObject timing = json[u"timingErrorDays"_s].toObject();
    EXPECT_DOUBLE_EQ(timing[u"median"_s].toDouble(), 0.5);
    EXPECT_TRUE(timing[u"histogram"_s].toArray()[0].toObject()[u"from"_s].isNull());
    // Without any decided case the rate is null, not 0.
    auto empty = store::Database::openInMemory();
    EXPECT_TRUE(record::recordJson(record::computeRecord(*empty, {}, kToday), record::GroupBy::Year)[u"hitRate"_s].isNull());
}

}  // namespace
