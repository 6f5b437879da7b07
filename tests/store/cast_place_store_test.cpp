// The place of a cast and the clock of its pillars travel with the case: stored with the cast,
// loaded with it, null for the Beijing clock, brought into files of the version before, and
// carried by export and import.
#include "store/case_store.h"
#include "store/schema_version.h"

#include "transfer_bytes.h"

#include <gtest/gtest.h>
#include <QTemporaryDir>

namespace {

// didian|shizhi of every case in id order, "null" for null.
QStringList placesOf(const store::Database& db) {
    return db.getFirstItems(
        QStringLiteral("select coalesce(didian,'null')||'|'||coalesce(shizhi,'null') from gua_table order by id"));
}

const QStringList kPlacedAndPlain{QStringLiteral("-123.1,America/Vancouver|solar"), QStringLiteral("null|null")};

// Stores a case cast in Vancouver on the solar clock (matter 温哥华), then one of the default
// place (北京); their ids.
std::pair<qint64, qint64> storePlacedAndPlain(store::CaseStore& cases) {
    store::CastCase cast;
    cast.caseNumber = QStringLiteral("20240105242122京房式T:20:30:00");
    cast.castDate = QDate(2024, 1, 5);
    cast.place = QStringLiteral("-123.1,America/Vancouver");
    cast.timeRule = QStringLiteral("solar");
    cast.subject = QStringLiteral("温哥华");
    cases.createCase(cast);
    const qint64 placed = cases.record().saveKey;
    cast.place.clear();
    cast.timeRule.clear();
    cast.subject = QStringLiteral("北京");
    cases.createCase(cast);
    return {placed, cases.record().saveKey};
}

TEST(CastPlaceStore, StoredWithTheCastAndLoadedWithTheCase) {
    QTemporaryDir dir;
    auto db = store::Database::open(dir.filePath(QStringLiteral("qinglan.db")));
    store::CaseHistory history;
    store::CaseStore cases(*db, history);
    const auto [placed, plain] = storePlacedAndPlain(cases);

    EXPECT_EQ(placesOf(*db), kPlacedAndPlain);
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

TEST(CastPlaceStore, ExportAndImportCarryThePlace) {
    QTemporaryDir dir;
    auto source = store::Database::open(dir.filePath(QStringLiteral("a.db")));
    store::CaseHistory history;
    store::CaseStore cases(*source, history);
    storePlacedAndPlain(cases);

    const QByteArray exported = exportAll(*source);
    EXPECT_TRUE(exported.contains(R"("didian":"-123.1,America/Vancouver","shizhi":"solar"})")) << exported.data();
    auto target = store::Database::open(dir.filePath(QStringLiteral("b.db")));
    EXPECT_EQ(importBytes(*target, exported).added, 2);
    EXPECT_EQ(placesOf(*target), kPlacedAndPlain);

    // A line naming a case already here changes its texts, never its place.
    QByteArray changed = exported.left(exported.indexOf('\n') + 1);
    changed.replace("\"didian\":\"-123.1,America/Vancouver\"", "\"didian\":\"13.4,Europe/Berlin\"");
    changed.replace("温哥华", "改过");
    EXPECT_EQ(importBytes(*target, changed).updated, 1);
    EXPECT_EQ(placesOf(*target), kPlacedAndPlain);
}

TEST(CastPlaceStore, ImportedLinesWithoutAPlaceGetTheDefaultAndUnreadablePlacesAreRefused) {
    const char* const lines[] = {
        "",
        R"(,"didian":"13.4,Europe/Berlin","shizhi":"beijing")",
        R"(,"shizhi":"solar")",
        R"(,"didian":"120,Asia/Shanghai","shizhi":"beijing")",
        R"(,"didian":"east")",
        R"(,"didian":"13.4,Europe/Atlantis")",
        R"(,"shizhi":"local")",
    };
    QByteArray bytes;
    for (const char* line : lines) bytes += R"({"gua_bianhao":"n)" + QByteArray(line).toHex() + '"' + line + "}\n";
    auto db = store::Database::openInMemory();
    const store::ImportReport report = importBytes(*db, bytes, store::ImportMode::SkipRefused);
    EXPECT_EQ(placesOf(*db),
              (QStringList{"null|null", "13.4,Europe/Berlin|beijing", "120,Asia/Shanghai|solar", "null|null"}));
    QStringList refused;  // line number and the field its reason names
    for (const store::RefusedLine& line : report.refused)
        refused << QString::number(line.lineNumber) +
                       (line.reason.contains(u"didian") ? "didian" : line.reason.left(9));
    EXPECT_EQ(refused, (QStringList{"5didian", "6didian", "7字段 shizhi"}));
}

}  // namespace
