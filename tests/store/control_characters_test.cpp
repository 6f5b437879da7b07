// Texts holding U+0000 and the other C0 controls: stored and exported exactly, found by the text
// on either side of each control, and the keyword index sound through single saves and a large
// import; and a file whose index the earlier tokenizer built (NUL bytes in its terms, which FTS5
// cannot keep) is mended when opened.
#include "store/case_lists.h"
#include "store/case_transfer.h"
#include "store/schema_version.h"
#include "test_support/earlier_tokenizer.h"

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <QBuffer>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

namespace {

using store::CaseLists;
using store::Database;

const char* const kTextFields[] = {"gua_ming", "shiyou", "duanyu", "fankui"};
constexpr int kControls = 32;  // U+0000 to U+001F

// The text of one control in one field: pieces on either side that no other text holds.
struct Placed {
    int control, field;
    QString before() const { return QStringLiteral("前%1号").arg(field * 100 + control); }
    QString after() const { return QStringLiteral("后%1号").arg(field * 100 + control); }
    QString text() const { return before() + QChar(control) + after(); }
};

qint64 saveCase(Database& db, int field, const QString& text) {
    QVariantList texts{QString(), QString(), QString(), QString()};
    texts[field] = text;
    return db.insert(
        QStringLiteral("insert into gua_table(gua_ming,shiyou,duanyu,fankui,gua_bianhao,lei_id,nian,yue,ri) "
                       "values(?,?,?,?,'20000107111111',1,2000,1,7)"),
        texts);
}

QList<qint64> found(Database& db, const QString& keyword) {
    QList<qint64> ids;
    for (const auto& row : CaseLists(db).searchCases(keyword, 100000)) ids << row.id;
    return ids;
}

// SQLite's own check of the file, and each FTS5 table's of its index (which throws when damaged).
void expectSound(Database& db) {
    EXPECT_EQ(db.getFirstString(QStringLiteral("pragma integrity_check")), QStringLiteral("ok"));
    for (const char* table : {"gua_fts", "gua_fts_short"})
        EXPECT_NO_THROW(
            db.execute(QStringLiteral("insert into %1(%1) values('integrity-check')").arg(QLatin1String(table))))
            << table;
}

TEST(ControlCharacters, AreStoredFoundAndExportedExactlyAndKeepTheIndexSound) {
    QTemporaryDir dir;
    auto db = Database::open(dir.filePath(QStringLiteral("qinglan.db")));
    QList<std::pair<Placed, qint64>> placed;
    for (int control = 0; control < kControls; ++control)
        for (int field = 0; field < 4; ++field) {
            const Placed p{control, field};
            placed.append({p, saveCase(*db, field, p.text())});  // one save each
        }
    for (int i = 0; i < 50; ++i) ASSERT_NO_THROW(saveCase(*db, i % 4, QStringLiteral("其后第%1次保存").arg(i)));

    QByteArray lines;
    for (int i = 0; i < 12000; ++i) {
        QJsonObject line{{"gua_bianhao", QStringLiteral("2000010711%1").arg(i, 4, 10, QLatin1Char('0'))},
                         {"duanyu", QStringLiteral("导入%1").arg(i) + QChar(i % kControls) + QStringLiteral("条")}};
        lines += QJsonDocument(line).toJson(QJsonDocument::Compact) + '\n';
    }
    QBuffer in(&lines);
    in.open(QIODevice::ReadOnly);
    const auto report = store::importCases(*db, in, store::ImportMode::AllOrNothing);
    ASSERT_TRUE(report.committed);
    ASSERT_EQ(report.added, 12000);
    ASSERT_NO_THROW(saveCase(*db, 0, QStringLiteral("导入后再存")));

    expectSound(*db);
    QHash<int, QList<qint64>> byControl;  // newest first, as the search answers
    for (auto it = placed.crbegin(); it != placed.crend(); ++it) byControl[it->first.control] << it->second;
    for (const auto& [p, id] : placed) {
        SCOPED_TRACE(QStringLiteral("U+%1 in %2")
                         .arg(p.control, 4, 16, QLatin1Char('0'))
                         .arg(kTextFields[p.field])
                         .toStdString());
        EXPECT_EQ(
            db->getFirstString(
                QStringLiteral("select %1 from gua_table where id=?").arg(QLatin1String(kTextFields[p.field])), {id}),
            p.text());
        EXPECT_EQ(found(*db, p.before()), QList<qint64>{id});
        EXPECT_EQ(found(*db, p.after()), QList<qint64>{id});
        EXPECT_EQ(found(*db, p.text()), QList<qint64>{id});
        // Pairs with the control: the index's two-character terms.
        EXPECT_EQ(found(*db, QChar(p.control) + QStringLiteral("后")), byControl[p.control]);
        EXPECT_EQ(found(*db, QStringLiteral("号") + QChar(p.control)), byControl[p.control]);
    }
    EXPECT_EQ(found(*db, QStringLiteral("导入11999") + QChar(11999 % kControls) + QStringLiteral("条")).size(), 1);
    // The control alone: every case holding it, the imported ones too.
    EXPECT_EQ(found(*db, QString(QChar(0))).size(), 4 + 12000 / kControls);

    // An export read back into another library brings the texts over exactly, and a sound index.
    QBuffer exported;
    exported.open(QIODevice::ReadWrite);
    store::exportCases(*db, {}, exported);
    exported.seek(0);
    auto next = Database::open(dir.filePath(QStringLiteral("next.db")));
    ASSERT_TRUE(store::importCases(*next, exported, store::ImportMode::AllOrNothing).committed);
    expectSound(*next);
    for (const auto& [p, id] : placed) {
        ASSERT_EQ(found(*next, p.text()).size(), 1) << p.control << " " << p.field;
        EXPECT_EQ(found(*next, p.after()), found(*next, p.text()));
    }
}

// A file of version 2 whose index the earlier tokenizer kept: a case with U+0000, then enough
// single saves to damage it. Opening rebuilds the index in one step, and everything is found.
TEST(ControlCharacters, AnIndexOfTheEarlierTokenizerIsRebuiltWhenTheFileIsOpened) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("qinglan.db"));
    Database::open(path);  // made by this version, then written as the earlier one did
    sqlite3* raw = nullptr;
    ASSERT_EQ(sqlite3_open(path.toUtf8().constData(), &raw), SQLITE_OK);
    ASSERT_TRUE(text_search::testing::useEarlierTokenizer(raw));
    const auto run = [&](const std::string& sql) { return sqlite3_exec(raw, sql.c_str(), nullptr, nullptr, nullptr); };
    ASSERT_EQ(run("pragma user_version=2"), SQLITE_OK);
    ASSERT_EQ(run("insert into gua_table(gua_bianhao,nian,yue,ri,duanyu) "
                  "values('20000107111111',2000,1,7,'a'||char(0)||'b')"),
              SQLITE_OK);
    int failed = 0;
    for (int i = 0; i < 30; ++i)
        failed += run("insert into gua_table(gua_bianhao,nian,yue,ri,duanyu) values('2000010711111" +
                      std::to_string(i % 10) + "',2000,1,7,'第" + std::to_string(i) + "次')") != SQLITE_OK;
    const bool damaged =
        failed > 0 || run("insert into gua_fts_short(gua_fts_short) values('integrity-check')") != SQLITE_OK;
    sqlite3_close(raw);
    EXPECT_TRUE(damaged) << "the earlier tokenizer's index is damaged by a NUL: the fault this version mends";

    testing::internal::CaptureStderr();
    auto db = Database::open(path);
    const std::string told = testing::internal::GetCapturedStderr();
    EXPECT_NE(told.find("关键词索引"), std::string::npos) << told;
    EXPECT_EQ(db->getFirstInteger(QStringLiteral("pragma user_version")), store::kSchemaVersion);
    expectSound(*db);
    const QString nul = QStringLiteral("a") + QChar(0) + QStringLiteral("b");
    const qint64 first = db->getFirstInteger(QStringLiteral("select min(id) from gua_table"));
    for (const QString& keyword : {QStringLiteral("a"), QStringLiteral("b"), nul, nul.mid(1), nul.left(2)})
        EXPECT_EQ(found(*db, keyword), QList<qint64>{first}) << keyword.toStdString();
    for (int i = 0; i < 30; ++i) ASSERT_NO_THROW(saveCase(*db, 2, QStringLiteral("再存%1").arg(i)));
    expectSound(*db);
    EXPECT_EQ(found(*db, QStringLiteral("再存29")).size(), 1);
}

}  // namespace
