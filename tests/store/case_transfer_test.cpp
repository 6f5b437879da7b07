// Export and import of cases as JSON Lines: a round trip keeps every text byte for byte, an
// import merges, and a bad line is refused with its number and keeps the import from landing.
#include "store/case_transfer.h"
#include "store/case_categories.h"
#include "store/case_lists.h"
#include "store/schema_version.h"

#include "transfer_bytes.h"

#include <gtest/gtest.h>
#include <QBuffer>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QUuid>

namespace {

using store::ImportMode;

std::unique_ptr<store::Database> freshDatabase(const QTemporaryDir& dir, const char* name) {
    return store::Database::open(dir.filePath(QLatin1String(name)));
}

// Every stored value of every case, as the database holds it: type and bytes.
QStringList storedCases(const store::Database& db) {
    return db.getFirstItems(QStringLiteral(
        "select typeof(g.gua_ming)||hex(g.gua_ming)||'|'||typeof(g.gua_bianhao)||hex(g.gua_bianhao)||'|'||"
        "typeof(f.lei_mingcheng)||hex(f.lei_mingcheng)||'|'||typeof(g.nian)||quote(g.nian)||'|'||typeof(g.yue)||quote("
        "g.yue)||'|'||"
        "typeof(g.ri)||quote(g.ri)||'|'||typeof(g.xingbie)||hex(g.xingbie)||'|'||typeof(g.chusheng)||hex(g.chusheng)||'"
        "|'||"
        "typeof(g.shiyou)||hex(g.shiyou)||'|'||typeof(g.duanyu)||hex(g.duanyu)||'|'||typeof(g.fankui)||hex(g.fankui)||'"
        "|'||"
        "typeof(g.shijian)||hex(g.shijian)||'|'||g.uuid from gua_table g left join fenlei_table f on f.lei_id=g.lei_id "
        "order by "
        "g.id"));
}

void insertCase(store::Database& db, const QVariantList& values) {
    db.execute(QStringLiteral(
                   "insert into "
                   "gua_table(gua_ming,gua_bianhao,lei_id,nian,yue,ri,xingbie,chusheng,shiyou,duanyu,fankui,shijian) "
                   "values(?,?,?,?,?,?,?,?,?,?,?,?)"),
               values);
}

TEST(CaseTransfer, ExportThenImportIntoAnEmptyDatabaseGivesBackEveryTextByteForByte) {
    QTemporaryDir dir;
    auto source = freshDatabase(dir, "a.db");
    const qint64 own = store::CaseCategories(*source).add(QStringLiteral("自建类 \"引号\" 😀")).categoryId;
    // Near the length limit (256 KiB): 5 UTF-16 units, 11 UTF-8 bytes each time.
    const QString longText = QStringLiteral("𠀀断😀").repeated(23000);
    const QString awkward =
        QStringLiteral("'单引号' \"双引号\" %_\\ 百分号下划线反斜杠\t制表\r\n换行 \u2028 \x01 末尾空格 ");
    insertCase(*source, {QStringLiteral("主卦：乾为天"), QStringLiteral("20240101111111京房式T:10:00:00"), 2, 2024, 1,
                         1, QStringLiteral("男"), QStringLiteral("1980"), awkward, longText,
                         QString(qsizetype(0), QChar()), QStringLiteral("2024-01-01 10:00:00.123")});
    insertCase(*source, {QStringLiteral("主卦：坤为地 😀"), QStringLiteral("20240202222222藏山卜T:11:00:00"), own, 2024,
                         2, 2, QVariant(), QVariant(), QStringLiteral("𠀀"), QStringLiteral("\"}{\\n"), longText,
                         QStringLiteral("2024-02-02 11:00:00.000")});
    insertCase(*source, {QStringLiteral("无类"), QStringLiteral("20240303333333京房式T:12:00:00"), QVariant(),
                         QStringLiteral("不是数"), QVariant(), 3, QString(qsizetype(0), QChar()), QStringLiteral("x"),
                         QStringLiteral("y"), QString(qsizetype(0), QChar()), QString(qsizetype(0), QChar()),
                         QStringLiteral("2024-03-03 12:00:00.000")});

    const QByteArray exported = exportAll(*source);
    EXPECT_EQ(exported.count('\n'), 3);
    auto target = freshDatabase(dir, "b.db");
    const store::ImportReport report = importBytes(*target, exported, ImportMode::AllOrNothing);
    EXPECT_EQ(report.added, 3);
    EXPECT_EQ(report.skipped, 0);
    EXPECT_TRUE(report.refused.isEmpty()) << report.refused.value(0).reason.toStdString();
    EXPECT_TRUE(report.committed);
    EXPECT_EQ(storedCases(*target), storedCases(*source));
    EXPECT_EQ(exportAll(*target), exported);  // same ids too: both tables started empty

    // Importing the same file again adds nothing.
    const store::ImportReport again = importBytes(*target, exported, ImportMode::AllOrNothing);
    EXPECT_EQ(again.added, 0);
    EXPECT_EQ(again.skipped, 3);
    EXPECT_EQ(storedCases(*target).size(), 3);
}

TEST(CaseTransfer, MergeSkipsCasesAlreadyPresentAddsNewOnesAndCreatesCategoriesByName) {
    QTemporaryDir dir;
    auto db = freshDatabase(dir, "qinglan.db");
    insertCase(*db, {QStringLiteral("乾"), QStringLiteral("N1"), 2, 2024, 1, 1, QStringLiteral("男"),
                     QStringLiteral("1980"), QStringLiteral("问"), QStringLiteral("断"), QStringLiteral("馈"),
                     QStringLiteral("2024-01-01 00:00:00.000")});
    const QByteArray lines =
        "{\"gua_bianhao\":\"N1\",\"gua_ming\":\"乾\",\"xingbie\":\"男\",\"chusheng\":\"1980\",\"shiyou\":\"问\","
        "\"duanyu\":\"断\",\"fankui\":\"馈\",\"lei_mingcheng\":\"求财\"}\n"
        "{\"gua_bianhao\":\"N1\",\"gua_ming\":\"乾\",\"xingbie\":\"男\",\"chusheng\":\"1980\",\"shiyou\":\"问\","
        "\"duanyu\":\"断\",\"fankui\":\"后来的反馈\"}\n"
        "\n"
        "{\"gua_bianhao\":\"N2\",\"lei_mingcheng\":\"新建的类\",\"nian\":2025,\"yue\":3,\"ri\":4}\n"
        "{\"gua_bianhao\":\"N3\",\"lei_mingcheng\":\"新建的类\"}\r\n";
    const store::ImportReport report = importBytes(*db, lines, ImportMode::AllOrNothing);
    EXPECT_EQ(report.skipped, 1);
    EXPECT_EQ(report.added, 3);  // N1 with other texts, N2, N3
    EXPECT_TRUE(report.committed);
    const auto created = store::CaseCategories(*db).idOf(QStringLiteral("新建的类"));
    ASSERT_TRUE(created.has_value());
    EXPECT_EQ(db->getFirstInteger(QStringLiteral("select count(*) from gua_table where lei_id=?"), {*created}), 2);
    EXPECT_EQ(db->getFirstInteger(QStringLiteral("select count(*) from fenlei_table where lei_mingcheng='新建的类'")),
              1);
    EXPECT_EQ(db->getFirstString(QStringLiteral("select duanyu||'/'||fankui from gua_table where gua_bianhao='N2'")),
              QStringLiteral("/"));
}

TEST(CaseTransfer, ABadLineIsRefusedWithItsNumberAndNothingLandsUntilConfirmed) {
    const QByteArray good = "{\"gua_bianhao\":\"G1\"}\n";
    struct Bad {
        QByteArray line;
        const char* reason;
    };
    const Bad bad[] = {
        {"{\"gua_bianhao\":\"B1\"", "JSON"},
        {"[1,2]", "JSON 对象"},
        {"{\"gua_bianhao\":\"B2\",\"colour\":\"red\"}", "colour"},
        {"{\"gua_ming\":\"无编号\"}", "gua_bianhao"},
        {"{\"gua_bianhao\":\"\"}", "gua_bianhao"},
        {"{\"gua_bianhao\":\"B3\",\"nian\":true}", "nian"},
        {"{\"gua_bianhao\":\"B4\",\"nian\":2024.5}", "nian"},
        {"{\"gua_bianhao\":5}", "gua_bianhao"},
        {"{\"gua_bianhao\":\"B5\",\"lei_mingcheng\":\"" + QStringLiteral("长").repeated(33).toUtf8() + "\"}", "32"},
        {"{\"gua_bianhao\":\"B6\",\"shiyou\":\"\xff\xfe\"}", "UTF-8"},
    };
    QByteArray input = good;
    for (const Bad& b : bad) input += b.line + "\n" + good;

    for (const ImportMode mode : {ImportMode::DryRun, ImportMode::AllOrNothing, ImportMode::SkipRefused}) {
        QTemporaryDir dir;
        auto db = freshDatabase(dir, "qinglan.db");
        const qint64 categoriesBefore = db->getFirstInteger(QStringLiteral("select count(*) from fenlei_table"));
        const store::ImportReport report = importBytes(*db, input, mode);
        // G1 once; its copies are skipped. Refused as a whole, it added nothing.
        EXPECT_EQ(report.added, mode == ImportMode::AllOrNothing ? 0 : 1);
        EXPECT_EQ(report.updated, 0);
        EXPECT_EQ(report.skipped, static_cast<qint64>(std::size(bad)));
        ASSERT_EQ(report.refused.size(), static_cast<qsizetype>(std::size(bad)));
        for (qsizetype i = 0; i < report.refused.size(); ++i) {
            EXPECT_EQ(report.refused[i].lineNumber, 2 + 2 * i);
            EXPECT_TRUE(report.refused[i].reason.contains(QString::fromUtf8(bad[i].reason)))
                << i << ": " << report.refused[i].reason.toStdString();
        }
        const bool lands = mode == ImportMode::SkipRefused;
        EXPECT_EQ(report.committed, lands);
        EXPECT_EQ(db->getFirstInteger(QStringLiteral("select count(*) from gua_table")), lands ? 1 : 0);
        EXPECT_EQ(db->getFirstInteger(QStringLiteral("select count(*) from fenlei_table")), categoriesBefore);
    }
}

TEST(CaseTransfer, ExportByCategoryAndByCastDate) {
    QTemporaryDir dir;
    auto db = freshDatabase(dir, "qinglan.db");
    struct Row {
        const char* number;
        int category;
        int y, m, d;
    };
    const Row rows[] = {{"A", 2, 2023, 12, 31},
                        {"B", 2, 2024, 1, 1},
                        {"C", 3, 2024, 6, 15},
                        {"D", 2, 2024, 12, 31},
                        {"E", 2, 2025, 1, 1}};
    for (const Row& r : rows)
        insertCase(*db, {QString(), QLatin1String(r.number), r.category, r.y, r.m, r.d, QVariant(), QVariant(),
                         QVariant(), QString(), QString(), QStringLiteral("2024-01-01")});
    auto numbers = [&](const store::ExportFilter& filter) {
        QStringList found;
        for (const QByteArray& line : exportAll(*db, filter).split('\n'))
            if (!line.isEmpty())
                found << QString::fromUtf8(line).section(QStringLiteral("\"gua_bianhao\":\""), 1).section(u'"', 0, 0);
        return found;
    };
    EXPECT_EQ(numbers({}), (QStringList{"A", "B", "C", "D", "E"}));
    EXPECT_EQ(numbers({QStringLiteral("求财"), {}, {}}), (QStringList{"A", "B", "D", "E"}));
    EXPECT_EQ(numbers({{}, QDate(2024, 1, 1), QDate(2024, 12, 31)}), (QStringList{"B", "C", "D"}));
    EXPECT_EQ(numbers({QStringLiteral("求财"), QDate(2024, 1, 1), QDate(2024, 12, 31)}), (QStringList{"B", "D"}));
    EXPECT_EQ(numbers({{}, QDate(2025, 1, 1), {}}), (QStringList{"E"}));
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    EXPECT_THROW(store::exportCases(*db, {QStringLiteral("没有这类"), {}, {}}, out), store::DatabaseError);
}

// Two libraries merged: a line naming a case by its uuid updates that case alone, even among
// cases sharing its number; other lines merge by number and texts as before.
TEST(CaseTransfer, AUuidNamesItsCaseAndTheImportUpdatesItsTexts) {
    const QString uuidA = QStringLiteral("0b7e3c6a-2d4f-4a8e-9c1d-5f6a7b8c9d0e");
    const QString uuidB = QStringLiteral("1c8f4d7b-3e5a-4b9f-8d2e-6a7b8c9d0e1f");
    const QString uuidC = QStringLiteral("2d9a5e8c-4f6b-4c0a-9e3f-7b8c9d0e1f2a");
    const QByteArray number = "\"gua_bianhao\":\"20000107113113京房式T:11:31:13\"";
    const auto line = [&](const QString& uuid, const char* judgment) {
        return "{\"uuid\":\"" + uuid.toUtf8() + "\"," + number + ",\"duanyu\":\"" + judgment + "\"}\n";
    };
    const QByteArray input = line(uuidA, "甲改") +                     // 1 A changed: updated
                             line(uuidB.toUpper(), "乙") +             // 2 B as it is: skipped
                             line(uuidC, "丙") +                       // 3 a new case: added
                             line(uuidC, "丙") +                       // 4 the same uuid again: refused
                             "{" + number + ",\"duanyu\":\"乙\"}\n" +  // 5 no uuid, like B: skipped
                             "{\"uuid\":\"B-1\"," + number + "}\n";    // 6 not a UUID: refused
    struct Case {
        store::KnownCases known;
        qint64 added, updated, skipped;
        QList<qint64> refusedLines;
        const char* judgmentOfA;
    };
    const Case cases[] = {{store::KnownCases::Update, 1, 1, 2, {4, 6}, "甲改"},
                          {store::KnownCases::Refuse, 1, 0, 2, {1, 4, 6}, "甲"}};
    for (const Case& c : cases) {
        QTemporaryDir dir;
        auto db = freshDatabase(dir, "qinglan.db");
        for (const auto& [uuid, judgment] : {std::pair{uuidA, "甲"}, std::pair{uuidB, "乙"}}) {
            db->execute(QStringLiteral("insert into gua_table(gua_bianhao,lei_id,duanyu,uuid) values(?,3,?,?)"),
                        {QStringLiteral("20000107113113京房式T:11:31:13"), QString::fromUtf8(judgment), uuid});
        }
        QBuffer in;
        in.setData(input);
        in.open(QIODevice::ReadOnly);
        const store::ImportReport report = store::importCases(*db, in, ImportMode::SkipRefused, c.known);
        EXPECT_EQ(report.added, c.added);
        EXPECT_EQ(report.updated, c.updated);
        EXPECT_EQ(report.skipped, c.skipped);
        QList<qint64> refused;
        for (const store::RefusedLine& r : report.refused) refused << r.lineNumber;
        EXPECT_EQ(refused, c.refusedLines);
        const auto judgmentOf = [&](const QString& uuid) {
            return db->getFirstString(QStringLiteral("select duanyu from gua_table where uuid=?"), {uuid});
        };
        EXPECT_EQ(judgmentOf(uuidA), QString::fromUtf8(c.judgmentOfA));
        EXPECT_EQ(judgmentOf(uuidB), QStringLiteral("乙"));
        EXPECT_EQ(judgmentOf(uuidC), QStringLiteral("丙"));
        EXPECT_EQ(db->getFirstInteger(QStringLiteral("select lei_id from gua_table where uuid=?"), {uuidA}), 3);
        // The keyword index follows the update.
        const auto found = store::CaseLists(*db).searchCases(QStringLiteral("甲改"));
        EXPECT_EQ(found.size(), c.known == store::KnownCases::Update ? 1 : 0);
    }
}

// Every text of a line is at most 256 KiB of UTF-8; a longer one refuses the line, naming the
// field. A line beyond the line limit is refused without being held.
TEST(CaseTransfer, ALineWithATextOverTheLengthLimitIsRefused) {
    const qsizetype limit = 256 * 1024;
    const auto text = [](qsizetype bytes) { return QByteArray(bytes, 'a'); };
    struct Case {
        QByteArray line;
        const char* field;  // null: accepted
    };
    const Case cases[] = {
        {"{\"gua_bianhao\":\"L1\",\"duanyu\":\"" + text(limit) + "\",\"fankui\":\"" + text(limit) + "\"}", nullptr},
        {"{\"gua_bianhao\":\"L2\",\"duanyu\":\"" + text(limit + 1) + "\"}", "duanyu"},
        {"{\"gua_bianhao\":\"L3\",\"fankui\":\"" + QStringLiteral("断").repeated(limit / 3 + 1).toUtf8() + "\"}",
         "fankui"},
        {"{\"gua_bianhao\":\"L4\",\"shiyou\":\"" + text(limit + 1) + "\"}", "shiyou"},
        {"{\"gua_bianhao\":\"" + text(limit + 1) + "\"}", "gua_bianhao"},
        {"{\"gua_bianhao\":\"L5\",\"lei_mingcheng\":\"" + text(limit + 1) + "\"}", "lei_mingcheng"},
        {"{\"gua_bianhao\":\"L6\",\"nian\":\"" + text(limit + 1) + "\"}", "nian"},
        {"{\"gua_bianhao\":\"L7\",\"duanyu\":\"" + text(store::kMaxImportLineBytes) + "\"}", "行太长"},
    };
    QByteArray input;
    for (const Case& c : cases) input += c.line + "\n";
    QTemporaryDir dir;
    auto db = freshDatabase(dir, "qinglan.db");
    const store::ImportReport report = importBytes(*db, input, ImportMode::SkipRefused);
    EXPECT_EQ(report.added, 1);
    ASSERT_EQ(report.refused.size(), qsizetype(std::size(cases)) - 1);
    for (const store::RefusedLine& r : report.refused) {
        const QString reason = r.reason;
        EXPECT_TRUE(reason.contains(QString::fromUtf8(cases[r.lineNumber - 1].field))) << reason.toStdString();
        EXPECT_TRUE(reason.contains(QStringLiteral("262144"))) << reason.toStdString();
    }
}

// A file of the version before the uuid: opening gives every case its own, and new cases get
// one as they are stored.
TEST(CaseTransfer, OlderFilesGiveEveryCaseItsOwnUuid) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("qinglan.db"));
    {
        auto db = store::Database::open(path);
        db->execute(QStringLiteral("drop trigger gua_table_uuid_insert"));
        db->execute(QStringLiteral("drop index gua_table_uuid"));
        db->execute(QStringLiteral("alter table gua_table drop column uuid"));
        for (int i = 0; i < 3; ++i)
            db->execute(QStringLiteral("insert into gua_table(gua_bianhao) values('20000107113113京房式T:11:31:13')"));
        db->execute(QStringLiteral("pragma user_version=2"));
    }
    auto db = store::Database::open(path);
    EXPECT_EQ(db->getFirstInteger(QStringLiteral("pragma user_version")), store::kSchemaVersion);
    db->execute(QStringLiteral("insert into gua_table(gua_bianhao) values('N')"));
    const QStringList uuids = db->getFirstItems(QStringLiteral("select uuid from gua_table order by id"));
    ASSERT_EQ(uuids.size(), 4);
    const QRegularExpression version4(
        QStringLiteral("^[0-9a-f]{8}-[0-9a-f]{4}-4[0-9a-f]{3}-[89ab][0-9a-f]{3}-[0-9a-f]{12}$"));
    for (const QString& uuid : uuids) {
        EXPECT_TRUE(version4.match(uuid).hasMatch()) << uuid.toStdString();
        EXPECT_EQ(QUuid::fromString(uuid).version(), QUuid::Random) << uuid.toStdString();
    }
    EXPECT_EQ(QSet<QString>(uuids.begin(), uuids.end()).size(), 4);
}

}  // namespace
