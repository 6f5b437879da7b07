// The outcome of a case: saved with the feedback, brought into files of the earlier layout as
// 待验, carried by export and import (also from lines without it).
#include "store/case_outcome.h"
#include "store/case_store.h"
#include "store/case_transfer.h"
#include "store/database_error.h"
#include "store/schema_version.h"

#include "transfer_bytes.h"

#include <gtest/gtest.h>
#include <QBuffer>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;

namespace {

// number:outcome:outcome_date:predicted_date per case, in id order.
QStringList outcomes(const store::Database& db) {
    return db.getFirstItems(QStringLiteral(
        "select gua_bianhao||':'||outcome||':'||coalesce(outcome_date,'')||':'||coalesce(predicted_date,'') "
        "from gua_table order by id"));
}

class CaseOutcomeTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    std::unique_ptr<store::Database> open(const char* name) {
        return store::Database::open(dir.filePath(QLatin1String(name)));
    }
};

TEST_F(CaseOutcomeTest, WordsAndCodesAreReadAndNothingElse) {
    const struct {
        const char16_t* text;
        std::optional<store::Outcome> outcome;
    } cases[] = {
        {u"应验", store::Outcome::Hit},     {u"hit", store::Outcome::Hit},       {u"部分应验", store::Outcome::Partial},
        {u"未应验", store::Outcome::Miss},  {u"pending", store::Outcome::Pending}, {u"待验", store::Outcome::Pending},
        {u"验", std::nullopt},              {u"Hit", std::nullopt},             {u"", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(store::parseOutcome(QString::fromUtf16(c.text)), c.outcome) << QString::fromUtf16(c.text).toStdString();
}

TEST_F(CaseOutcomeTest, SavedWithTheFeedbackAndLoadedWithTheCase) {
    auto db = open("qinglan.db");
    store::CaseHistory history;
    store::CaseStore cases(*db, history);
    store::CastCase cast;
    cast.caseNumber = u"20260909113312京房式T:17:28:00"_s;
    cast.castDate = QDate(2026, 9, 9);
    cases.createCase(cast);
    const qint64 id = cases.record().saveKey;
    EXPECT_EQ(outcomes(*db), QStringList{cast.caseNumber + u":pending::"_s});
    const store::CaseOutcome outcome{store::Outcome::Partial, QDate(2026, 10, 2), QDate(2026, 9, 28)};
    // The judgment alone leaves the outcome; the feedback carries it.
    cases.saveCaseTexts(store::TextsToSave::Judgment, {u"应在午日"_s, {}, outcome});
    EXPECT_EQ(outcomes(*db), QStringList{cast.caseNumber + u":pending::"_s});
    cases.saveCaseTexts(store::TextsToSave::Feedback, {{}, u"十月二日成"_s, outcome});
    EXPECT_EQ(outcomes(*db), QStringList{cast.caseNumber + u":partial:2026-10-02:2026-09-28"_s});
    EXPECT_EQ(cases.loadLocalCase(id)->outcome, outcome);
}

TEST_F(CaseOutcomeTest, AFileOfVersionFiveIsBroughtForwardWithItsCasesAndTexts) {
    const QString path = dir.filePath(QStringLiteral("old.db"));
    {
        auto db = store::Database::open(path);
        db->execute(QStringLiteral("drop index gua_table_record"));  // a file of version 5 has neither
        for (const char* column : {"outcome", "outcome_date", "predicted_date"})
            db->execute(QStringLiteral("alter table gua_table drop column %1").arg(QLatin1String(column)));
        db->execute(QStringLiteral("insert into gua_table(gua_bianhao,duanyu,fankui,zhanlei) values"
                                   "('A','官鬼持世','果然得职','工作'),('B','','','')"));
        db->execute(QStringLiteral("pragma user_version=5"));
    }
    auto db = store::Database::open(path);
    EXPECT_EQ(db->getFirstInteger(QStringLiteral("pragma user_version")), store::kSchemaVersion);
    EXPECT_EQ(db->getFirstItems(QStringLiteral("select gua_bianhao||duanyu||fankui||zhanlei from gua_table order by id")),
              (QStringList{u"A官鬼持世果然得职工作"_s, u"B"_s}));
    EXPECT_EQ(outcomes(*db), (QStringList{u"A:pending::"_s, u"B:pending::"_s}));
    EXPECT_EQ(db->getFirstInteger(u"select count(*) from sqlite_master where name='gua_table_record'"_s), 1);
    db.reset();

    {
        auto later = store::Database::open(path);
        later->execute(QStringLiteral("pragma user_version=%1").arg(store::kSchemaVersion + 1));
    }
    EXPECT_THROW(store::Database::open(path), store::DatabaseError);
}

TEST_F(CaseOutcomeTest, RoundTripThroughExportAndImport) {
    auto from = open("from.db");
    from->execute(QStringLiteral(
        "insert into gua_table(gua_bianhao,outcome,outcome_date,predicted_date) values"
        "('A','hit','2025-03-04','2025-03-01'),('B','miss',null,'2025-05-05'),('C','pending',null,null)"));
    const QByteArray lines = exportAll(*from);
    EXPECT_TRUE(lines.contains(R"("outcome":"hit","outcome_date":"2025-03-04","predicted_date":"2025-03-01")"))
        << lines.toStdString();
    auto to = open("to.db");
    EXPECT_EQ(importBytes(*to, lines).added, 3);
    EXPECT_EQ(outcomes(*to), outcomes(*from));
}

TEST_F(CaseOutcomeTest, LinesWithoutItAreReadAndLeaveAStoredOneBe) {
    auto db = open("qinglan.db");
    const QByteArray uuid = "0f8fad5b-d9cb-469f-a165-70867728950e";
    ASSERT_EQ(importBytes(*db, "{\"gua_bianhao\":\"A\",\"uuid\":\"" + uuid +
                                   "\",\"outcome\":\"部分应验\",\"outcome_date\":\"2024-01-31\"}\n"
                                   "{\"gua_bianhao\":\"B\"}\n")
                  .added,
              2);
    EXPECT_EQ(outcomes(*db), (QStringList{u"A:partial:2024-01-31:"_s, u"B:pending::"_s}));
    // An older line naming the same case with a new judgment: the outcome stays.
    EXPECT_EQ(importBytes(*db, "{\"gua_bianhao\":\"A\",\"uuid\":\"" + uuid + "\",\"duanyu\":\"应在寅日\"}\n").updated, 1);
    EXPECT_EQ(outcomes(*db), (QStringList{u"A:partial:2024-01-31:"_s, u"B:pending::"_s}));
    // A line with an outcome sets all three.
    EXPECT_EQ(importBytes(*db, "{\"gua_bianhao\":\"A\",\"uuid\":\"" + uuid +
                                   "\",\"duanyu\":\"应在寅日\",\"outcome\":\"hit\",\"predicted_date\":\"2024-02-02\"}\n")
                  .updated,
              1);
    EXPECT_EQ(outcomes(*db)[0], u"A:hit::2024-02-02"_s);
}

TEST_F(CaseOutcomeTest, BadValuesAreRefusedNamingTheField) {
    auto db = open("qinglan.db");
    const struct {
        const char* line;
        const char16_t* reason;
    } cases[] = {
        {R"({"gua_bianhao":"A","outcome":"灵验"})", u"outcome"},
        {R"({"gua_bianhao":"A","outcome":1})", u"outcome"},
        {R"({"gua_bianhao":"A","outcome":"hit","outcome_date":"2024-02-30"})", u"outcome_date"},
        {R"({"gua_bianhao":"A","predicted_date":"20240201"})", u"predicted_date"},
    };
    for (const auto& c : cases) {
        const store::ImportReport report = importBytes(*db, c.line);
        ASSERT_EQ(report.refused.size(), 1) << c.line;
        EXPECT_TRUE(report.refused[0].reason.contains(QString::fromUtf16(c.reason))) << report.refused[0].reason.toStdString();
    }
    EXPECT_EQ(outcomes(*db), QStringList{});
}

}  // namespace
