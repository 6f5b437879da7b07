// The question type (占类) of a case: stored with the cast, changed on a stored case, carried by
// export and import (also from lines and files made before it was kept).
#include "store/case_store.h"
#include "store/case_transfer.h"
#include "store/schema_version.h"

#include "transfer_bytes.h"

#include <gtest/gtest.h>
#include <QBuffer>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;

namespace {

QStringList questionTypes(const store::Database& db) {
    return db.getFirstItems(QStringLiteral("select gua_bianhao||':'||zhanlei from gua_table order by id"));
}

class QuestionTypeTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    std::unique_ptr<store::Database> open(const char* name) {
        return store::Database::open(dir.filePath(QLatin1String(name)));
    }
};

TEST_F(QuestionTypeTest, StoredWithTheCastLoadedWithTheCaseAndChangedByRow) {
    auto db = open("qinglan.db");
    store::CaseHistory history;
    store::CaseStore cases(*db, history);
    store::CastCase cast;
    cast.caseNumber = QStringLiteral("20260909113312京房式T:17:28:00");
    cast.questionType = QStringLiteral("求财");
    cast.castDate = QDate(2026, 9, 9);
    cases.createCase(cast);
    const qint64 first = cases.record().saveKey;
    cases.createCase(cast);  // a second case with the same number
    EXPECT_TRUE(cases.saveQuestionType(QStringLiteral("婚姻")).saved);
    EXPECT_EQ(questionTypes(*db), (QStringList{cast.caseNumber + u":求财"_s, cast.caseNumber + u":婚姻"_s}));
    cases.loadLocalCase(first);
    EXPECT_EQ(cases.record().questionType, u"求财");
}

TEST_F(QuestionTypeTest, RoundTripThroughExportAndImport) {
    auto from = open("from.db");
    from->execute(QStringLiteral("insert into gua_table(gua_bianhao,zhanlei) values('A','考试'),('B','')"));
    const QByteArray lines = exportAll(*from);
    EXPECT_TRUE(lines.contains("\"zhanlei\":\"考试\"")) << lines.toStdString();
    auto to = open("to.db");
    EXPECT_EQ(importBytes(*to, lines).added, 2);
    EXPECT_EQ(questionTypes(*to), (QStringList{u"A:考试"_s, u"B:"_s}));
}

TEST_F(QuestionTypeTest, LinesWithoutItAreReadAndLeaveAStoredOneBe) {
    auto db = open("qinglan.db");
    const QByteArray uuid = "0f8fad5b-d9cb-469f-a165-70867728950e";
    EXPECT_EQ(importBytes(*db, "{\"gua_bianhao\":\"A\",\"uuid\":\"" + uuid +
                                   "\",\"zhanlei\":\"疾病\"}\n"
                                   "{\"gua_bianhao\":\"B\"}\n")
                  .added,
              2);
    // A line of an older export naming the same case with a new judgment: the type stays.
    const store::ImportReport again =
        importBytes(*db, "{\"gua_bianhao\":\"A\",\"uuid\":\"" + uuid + "\",\"duanyu\":\"应在寅日\"}\n");
    EXPECT_EQ(again.updated, 1);
    EXPECT_EQ(questionTypes(*db), (QStringList{u"A:疾病"_s, u"B:"_s}));
}

TEST_F(QuestionTypeTest, AFileOfTheEarlierVersionIsBroughtForward) {
    const QString path = dir.filePath(QStringLiteral("old.db"));
    {
        auto db = store::Database::open(path);
        db->execute(QStringLiteral("drop index gua_table_record"));  // made with a later version
        db->execute(QStringLiteral("alter table gua_table drop column zhanlei"));
        db->execute(QStringLiteral("insert into gua_table(gua_bianhao) values('A')"));
        db->execute(QStringLiteral("pragma user_version=4"));
    }
    auto db = store::Database::open(path);
    EXPECT_EQ(db->getFirstInteger(QStringLiteral("pragma user_version")), store::kSchemaVersion);
    EXPECT_EQ(questionTypes(*db), QStringList{u"A:"_s});
    QByteArray lines = exportAll(*db);
    EXPECT_TRUE(lines.contains("\"zhanlei\":\"\"")) << lines.toStdString();
    auto to = open("to.db");
    importBytes(*to, lines.replace("\"zhanlei\":\"\"", "\"zhanlei\":\"出行\""));
    EXPECT_EQ(questionTypes(*to), QStringList{u"A:出行"_s});
}

}  // namespace
