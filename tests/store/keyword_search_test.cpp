// Keyword search through the character index: its answer must be the literal scan's on every
// case, for keywords of any length, after inserts, updates and deletes, and in files made by
// earlier versions once they are opened.
#include "store/case_lists.h"
#include "store/schema_version.h"
#include "store/search_index.h"

#include <gtest/gtest.h>
#include <QRandomGenerator>
#include <QTemporaryDir>

namespace {

using store::CaseLists;
using store::Database;
using store::kAllCategories;

struct Texts {
    QString hexagramName, subject, judgment, feedback;
};

qint64 addCase(Database& db, const Texts& t, int category = 1) {
    return db.insert(
        QStringLiteral("insert into gua_table(gua_ming,gua_bianhao,lei_id,nian,yue,ri,shiyou,duanyu,fankui) "
                       "values(?,'k',?,2024,1,1,?,?,?)"),
        {t.hexagramName, category, t.subject, t.judgment, t.feedback});
}

QList<qint64> ids(const QList<store::CaseListRow>& rows) {
    QList<qint64> out;
    for (const auto& r : rows) out << r.id;
    return out;
}

// ASCII letters folded, nothing else: how LIKE compares characters.
QString foldAscii(QString s) {
    for (QChar& c : s)
        if (c >= u'A' && c <= u'Z') c = QChar(c.unicode() + 32);
    return s;
}

// The reference: every case, newest first, tested with a plain substring test in C++.
struct ReferenceCase {
    qint64 id;
    int category;
    Texts texts;
};

QList<qint64> scan(const QList<ReferenceCase>& cases, const QString& keyword, int limit, qint64 category) {
    QList<qint64> out;
    const QString k = foldAscii(keyword);
    for (auto it = cases.crbegin(); it != cases.crend() && out.size() < limit; ++it) {
        if (category != kAllCategories && it->category != category) continue;
        const Texts& t = it->texts;
        for (const QString* text : {&t.hexagramName, &t.subject, &t.judgment, &t.feedback}) {
            if (foldAscii(*text).contains(k)) {
                out << it->id;
                break;
            }
        }
    }
    return out;
}

TEST(KeywordSearch, FindsEveryKindOfKeywordExactlyWhereItOccurs) {
    auto db = Database::openInMemory();
    CaseLists lists(*db);
    const qint64 a = addCase(*db, {"天风姤", "问求财", "官鬼持世，财爻发动", "后来果然得财"});
    const qint64 b = addCase(*db, {"AB", "cd", "100%_\\ \"引号\"", "😀𠀀é"});
    const qint64 c = addCase(*db, {"财", "", "", ""});
    const qint64 d = addCase(*db, {"aaaa", "Mixed Case", "e\u0301", "x"});
    struct Case {
        const char* keyword;
        QList<qint64> expected;  // newest first
    };
    const Case cases[] = {
        {"财", {c, a}},               // one character, also a whole one-character text
        {"得财", {a}},                // at the very end of a text
        {"问", {a}},                  // at the very start
        {"官鬼持世，财", {a}},        // across the punctuation, six characters
        {"财爻发动x", {}},            // longer than what is there
        {"BC", {}},                   // never across two texts
        {"bc", {}},                   //
        {"ab", {b}},                  // ASCII letters in either case, as LIKE
        {"mIXED c", {d}},             // with the blank
        {"%", {b}},                   // the metacharacters are plain characters
        {"_", {b}},                   //
        {"\\", {b}},                  //
        {"%_\\", {b}},                //
        {"0%", {b}},                  //
        {"\"引号\"", {b}},            // the query syntax's quote
        {"\"", {b}},                  //
        {"😀", {b}},                  // four-byte characters
        {"𠀀é", {b}},                 //
        {"É", {}},                    // only ASCII letters are folded
        {"aaa", {d}},                 // overlapping repeats
        {"aaaaa", {}},                //
        {"\u0301", {d}},              // a combining mark on its own
        {"e", {d}},                   //
        {"求财", {a}},                //
        {"财求", {}},                 // the pair reversed
    };
    for (const Case& t : cases)
        EXPECT_EQ(ids(lists.searchCases(QString::fromUtf8(t.keyword))), t.expected) << t.keyword;
}

// Random cases over a small alphabet, so that keywords hit often, miss often and overlap; the
// index must follow inserts, updates and deletes and agree with the scan on every keyword.
TEST(KeywordSearch, AgreesWithALiteralScanOnGeneratedCasesAndKeywords) {
    const QStringList alphabet = {"官", "鬼", "财", "父", "母", "兄", "弟", "子", "孙", "世", "应", "动", "，", "。",
                                  "A",  "a",  "b",  "B",  "%",  "_",  "\\", "\"", " ",  "😀", "𠀀", "'", "*"};
    const QStringList outside = {"龙", "Z", "(", "^", "-", "🀄"};
    QRandomGenerator random(20241209);
    const auto text = [&](int maxLength) {
        QString s;
        const int n = random.bounded(maxLength + 1);
        for (int i = 0; i < n; ++i) s += alphabet[random.bounded(alphabet.size())];
        return s;
    };
    const auto texts = [&] { return Texts{text(3), text(8), text(40), text(20)}; };

    auto db = Database::openInMemory();
    CaseLists lists(*db);
    QList<ReferenceCase> cases;
    for (int i = 0; i < 300; ++i) {
        const int category = 1 + random.bounded(3);
        const Texts t = texts();
        cases.append({addCase(*db, t, category), category, t});
    }
    for (int i = 0; i < 60; ++i) {  // changed texts
        ReferenceCase& c = cases[random.bounded(cases.size())];
        c.texts = texts();
        db->execute(QStringLiteral("update gua_table set gua_ming=?,shiyou=?,duanyu=?,fankui=? where id=?"),
                    {c.texts.hexagramName, c.texts.subject, c.texts.judgment, c.texts.feedback, c.id});
    }
    for (int i = 0; i < 30; ++i) {  // deleted cases
        const qsizetype at = random.bounded(cases.size());
        db->execute(QStringLiteral("delete from gua_table where id=?"), {cases[at].id});
        cases.removeAt(at);
    }

    int checked = 0, nonEmpty = 0;
    for (int i = 0; i < 1500; ++i) {
        QString keyword;
        const int length = 1 + random.bounded(4);
        const int kind = random.bounded(3);
        if (kind == 0) {  // a piece of a stored text
            const Texts& t = cases[random.bounded(cases.size())].texts;
            const QString source = t.judgment + t.feedback;
            const auto chars = source.toUcs4();
            if (chars.size() < length) continue;
            const int from = random.bounded(static_cast<int>(chars.size()) - length + 1);
            keyword = QString::fromUcs4(reinterpret_cast<const char32_t*>(chars.constData()) + from, length);
        } else {  // drawn from the alphabet, sometimes with a character that is never stored
            for (int j = 0; j < length; ++j)
                keyword += (kind == 2 && j == length / 2) ? outside[random.bounded(outside.size())]
                                                          : alphabet[random.bounded(alphabet.size())];
        }
        const int limit = random.bounded(2) ? 100 : 1 + random.bounded(8);
        const qint64 category = random.bounded(3) ? kAllCategories : 1 + random.bounded(3);
        const QList<qint64> expected = scan(cases, keyword, limit, category);
        ASSERT_EQ(ids(lists.searchCases(keyword, limit, category)), expected)
            << keyword.toStdString() << " limit " << limit << " category " << category;
        ++checked;
        nonEmpty += !expected.isEmpty();
    }
    // The run covers hits and misses alike.
    EXPECT_GT(checked, 1000);
    EXPECT_GT(nonEmpty, checked / 4);
    EXPECT_LT(nonEmpty, checked * 9 / 10);
}

// Files made by earlier versions: without an index (version 0) and with the trigram index that
// could not look up one or two characters (version 1). Opening brings them to the character
// index, built from the cases they hold, in the same opening.
TEST(KeywordSearch, OlderFilesGetTheCharacterIndexWhenOpened) {
    const char* const trigramIndex[] = {
        "CREATE VIRTUAL TABLE gua_fts USING fts5(gua_ming, shiyou, duanyu, fankui, content='gua_table', "
        "content_rowid='id', tokenize='trigram')",
        "CREATE TRIGGER gua_table_fts_insert AFTER INSERT ON gua_table BEGIN INSERT INTO gua_fts(rowid, gua_ming, "
        "shiyou, duanyu, fankui) VALUES (new.id, new.gua_ming, new.shiyou, new.duanyu, new.fankui); END",
        "CREATE TRIGGER gua_table_fts_delete AFTER DELETE ON gua_table BEGIN INSERT INTO gua_fts(gua_fts, rowid, "
        "gua_ming, shiyou, duanyu, fankui) VALUES ('delete', old.id, old.gua_ming, old.shiyou, old.duanyu, "
        "old.fankui); END",
    };
    for (const int oldVersion : {0, 1}) {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("qinglan.db"));
        qint64 first = 0, second = 0;
        {
            auto db = Database::open(path);
            store::dropSearchIndex(*db);
            if (oldVersion == 1)
                for (const char* statement : trigramIndex) db->execute(QString::fromLatin1(statement));
            first = addCase(*db, {"乾为天", "问升职", "财", ""});
            second = addCase(*db, {"坤为地", "问婚姻", "官鬼", "应期在午"});
            db->execute(QStringLiteral("pragma user_version=%1").arg(oldVersion));
        }
        auto db = Database::open(path);
        EXPECT_EQ(db->getFirstInteger(QStringLiteral("pragma user_version")), store::kSchemaVersion);
        EXPECT_TRUE(store::hasSearchIndex(*db));
        // Asked of the index itself, so a scan cannot stand in for it.
        const auto indexed = [&](const char* table, const char* phrase) {
            return db->getFirstInteger(
                QStringLiteral("select group_concat(rowid) from %1 where %1 match ?").arg(QLatin1String(table)),
                {QString::fromUtf8(phrase)});
        };
        EXPECT_EQ(indexed("gua_fts_short", "\"财\""), first) << oldVersion;
        EXPECT_EQ(indexed("gua_fts_short", "\"应期\""), second) << oldVersion;
        EXPECT_EQ(indexed("gua_fts", "\"应期在午\""), second) << oldVersion;
        EXPECT_EQ(indexed("gua_fts", "\"问升职\""), first) << oldVersion;
        CaseLists lists(*db);
        EXPECT_EQ(ids(lists.searchCases(QStringLiteral("问"))), (QList<qint64>{second, first})) << oldVersion;
        EXPECT_EQ(ids(lists.searchCases(QStringLiteral("问婚"))), (QList<qint64>{second})) << oldVersion;
        // The new triggers keep it in step.
        const qint64 third = addCase(*db, {"离为火", "", "", "财来"});
        EXPECT_EQ(ids(lists.searchCases(QStringLiteral("财"))), (QList<qint64>{third, first})) << oldVersion;
        EXPECT_EQ(db->getFirstString(QStringLiteral("pragma integrity_check")), QStringLiteral("ok"));
    }
}

}  // namespace
