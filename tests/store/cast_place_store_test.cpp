// The place of a cast and the clock of its pillars travel with the case: stored with the cast,
// loaded with it, null for the Beijing clock, and brought into files of the version before.
#include "store/case_store.h"
#include "store/schema_version.h"

#include <gtest/gtest.h>
#include <QTemporaryDir>

namespace {

TEST(CastPlaceStore, StoredWithTheCastAndLoadedWithTheCase) {
    QTemporaryDir dir;
    auto db = store::Database::open(dir.filePath(QStringLiteral("qinglan.db")));
    store::CaseHistory history;
    store::CaseStore cases(*db, history);
    store::CastCase cast;
    cast.caseNumber = QStringLiteral("20240105242122京房式T:20:30:00");
    cast.castDate = QDate(2024, 1, 5);
    cast.place = QStringLiteral("-123.1,America/Vancouver");
    cast.timeRule = QStringLiteral("solar");
    cases.createCase(cast);
    const qint64 placed = cases.record().saveKey;
    cast.place.clear();
    cast.timeRule.clear();
    cases.createCase(cast);
    const qint64 plain = cases.record().saveKey;

    EXPECT_EQ(db->getFirstItems(QStringLiteral("select coalesce(didian,'null')||'|'||coalesce(shizhi,'null') from "
                                               "gua_table order by id")),
              (QStringList{QStringLiteral("-123.1,America/Vancouver|solar"), QStringLiteral("null|null")}));
    cases.loadLocalCase(placed);
    EXPECT_EQ(cases.record().place, QStringLiteral("-123.1,America/Vancouver"));
    EXPECT_EQ(cases.record().timeRule, QStringLiteral("solar"));
    cases.loadLocalCase(plain);
    EXPECT_TRUE(cases.record().place.isEmpty());
    EXPECT_TRUE(cases.record().timeRule.isEmpty());
}

TEST(CastPlaceStore, AFileOfTheVersionBeforeIsBroughtForward) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("old.db"));
    {
        auto db = store::Database::open(path);
        db->execute(QStringLiteral("alter table gua_table drop column didian"));
        db->execute(QStringLiteral("alter table gua_table drop column shizhi"));
        db->execute(QStringLiteral("insert into gua_table(gua_bianhao) values('20240105111111京房式T:20:30:00')"));
        db->execute(QStringLiteral("pragma user_version=5"));
    }
    auto db = store::Database::open(path);
    EXPECT_EQ(db->getFirstInteger(QStringLiteral("pragma user_version")), store::kSchemaVersion);
    store::CaseHistory history;
    store::CaseStore cases(*db, history);
    ASSERT_TRUE(cases.loadLocalCase(db->getFirstInteger(QStringLiteral("select id from gua_table"))));
    EXPECT_TRUE(cases.record().place.isEmpty());
    EXPECT_EQ(db->getFirstInteger(QStringLiteral("select count(*) from gua_table where didian is null and shizhi is null")), 1);
}

}  // namespace
