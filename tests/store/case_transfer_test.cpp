// Export and import of cases as JSON Lines: a round trip keeps every text byte for byte, an
// import merges, and a bad line is refused with its number and keeps the import from landing.
#include "store/case_transfer.h"
#include "store/case_categories.h"

#include <gtest/gtest.h>
#include <QBuffer>
#include <QTemporaryDir>

namespace {

using store::ImportMode;

std::unique_ptr<store::Database> freshDatabase(const QTemporaryDir& dir, const char* name) {
    return store::Database::open(dir.filePath(QLatin1String(name)));
}

QByteArray exportAll(const store::Database& db, const store::ExportFilter& filter = {}) {
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    store::exportCases(db, filter, out);
    return out.data();
}

store::ImportReport importBytes(store::Database& db, const QByteArray& bytes, ImportMode mode) {
    QBuffer in;
    in.setData(bytes);
    in.open(QIODevice::ReadOnly);
    return store::importCases(db, in, mode);
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
        "typeof(g.shijian)||hex(g.shijian) from gua_table g left join fenlei_table f on f.lei_id=g.lei_id order by "
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
    const qint64 own = store::CaseCategories(*source).add(QStringLiteral("自建类 \"引号\" 😀")).leiId;
    const QString megabyte = QStringLiteral("𠀀断😀").repeated(1 << 18);  // 5 UTF-16 units, 11 UTF-8 bytes each
    const QString awkward =
        QStringLiteral("'单引号' \"双引号\" %_\\ 百分号下划线反斜杠\t制表\r\n换行 \u2028 \x01 末尾空格 ");
    insertCase(*source, {QStringLiteral("主卦：乾为天"), QStringLiteral("20240101111111京房式T:10:00:00"), 2, 2024, 1,
                         1, QStringLiteral("男"), QStringLiteral("1980"), awkward, megabyte,
                         QString(qsizetype(0), QChar()), QStringLiteral("2024-01-01 10:00:00.123")});
    insertCase(*source, {QStringLiteral("主卦：坤为地 😀"), QStringLiteral("20240202222222藏山卜T:11:00:00"), own, 2024,
                         2, 2, QVariant(), QVariant(), QStringLiteral("𠀀"), QStringLiteral("\"}{\\n"), megabyte,
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
        EXPECT_EQ(report.added, 1);  // G1 once; its copies are skipped
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

}  // namespace
