// The store's keyword search through the index by owner: the same answer as a literal scan of
// the user's own cases, for keywords of any length, and in files made by earlier versions.
#include "store/sqlite/sqlite_case_repository.h"

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <random>

namespace qinglan::caseservice {
namespace {

struct Texts {
    std::string hexagramName, subject, judgment, feedback;
};

// ASCII letters folded, nothing else.
std::string foldAscii(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}

// The reference: the user's cases newest first, each tested with a plain substring test.
std::vector<std::int64_t> scan(const std::map<std::int64_t, Texts>& cases, const std::string& keyword, int limit) {
    std::vector<std::int64_t> out;
    const std::string k = foldAscii(keyword);
    for (auto it = cases.rbegin(); it != cases.rend() && static_cast<int>(out.size()) < limit; ++it) {
        const Texts& t = it->second;
        for (const std::string* text : {&t.hexagramName, &t.subject, &t.judgment, &t.feedback})
            if (foldAscii(*text).find(k) != std::string::npos) {
                out.push_back(it->first);
                break;
            }
    }
    return out;
}

std::vector<std::int64_t> ids(const std::vector<CaseSummary>& rows) {
    std::vector<std::int64_t> out;
    for (const auto& r : rows) out.push_back(r.id);
    return out;
}

class KeywordSearchStore : public ::testing::Test {
protected:
    std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("qinglan-keywords-" + std::to_string(::getpid()));
    std::string file = (dir / "cases.db").string();

    void SetUp() override { std::filesystem::create_directories(dir); }
    void TearDown() override { std::filesystem::remove_all(dir); }

    static std::int64_t newUser(SqliteCaseRepository& store, const std::string& name) {
        EXPECT_TRUE(store.createUser({name, name, name}, "hash", "1", ""));
        return store.findUser(name)->id;
    }
    static std::int64_t addCase(SqliteCaseRepository& store, std::int64_t user, const std::string& number,
                                const Texts& t) {
        const CaseFields fields{t.hexagramName, number, "1", "2024", "1", "1", "", "", t.subject};
        const std::int64_t id = store.insertCase(user, fields);
        store.saveTexts(user, fields, TextsToSave::Both, t.judgment, t.feedback);
        return id;
    }
};

TEST_F(KeywordSearchStore, AgreesWithALiteralScanOfTheUsersOwnCases) {
    const std::vector<std::string> alphabet = {"官", "鬼", "财", "父", "兄", "子", "世", "应", "，",   "A", "a", "b",
                                               "%",  "_",  "\\", "\"", " ",  "😀",  "𠀀", "1",  "\x01", "2", "\n"};
    const std::vector<std::string> outside = {"龙", "Z", "(", "🀄"};
    std::mt19937 random(20241209);
    const auto pick = [&](const std::vector<std::string>& from) { return from[random() % from.size()]; };
    const auto text = [&](int maxLength) {
        std::string s;
        for (int n = static_cast<int>(random() % (maxLength + 1)); n > 0; --n) s += pick(alphabet);
        return s;
    };
    const auto texts = [&] { return Texts{text(3), text(8), text(30), text(15)}; };

    // The index's segments are merged whenever the maintenance comes round, between and during
    // the writes, and by hand between searches: the answers must not change.
    StoreSettings settings;
    settings.indexMergeIdle = std::chrono::milliseconds(0);
    SqliteCaseRepository store(file, settings);
    std::vector<std::int64_t> users = {newUser(store, "u1"), newUser(store, "u2"), newUser(store, "u3")};
    std::map<std::int64_t, std::map<std::int64_t, Texts>> reference;
    std::map<std::int64_t, std::pair<std::int64_t, std::string>> numberOf;  // id -> user, case number
    for (int i = 0; i < 240; ++i) {
        const std::int64_t user = users[random() % users.size()];
        const Texts t = texts();
        const std::string number = "N" + std::to_string(i);
        const std::int64_t id = addCase(store, user, number, t);
        reference[user][id] = t;
        numberOf[id] = {user, number};
    }
    for (int i = 0; i < 40; ++i) {  // texts saved again
        auto it = std::next(numberOf.begin(), static_cast<long>(random() % numberOf.size()));
        const auto& [user, number] = it->second;
        Texts& t = reference[user][it->first];
        t.judgment = text(30);
        t.feedback = text(15);
        store.saveTexts(user, {t.hexagramName, number, "1", "2024", "1", "1", "", "", t.subject}, TextsToSave::Both,
                        t.judgment, t.feedback);
    }

    int checked = 0, nonEmpty = 0;
    for (int i = 0; i < 1200; ++i) {
        const std::int64_t user = users[random() % users.size()];
        std::string keyword;
        const int length = 1 + static_cast<int>(random() % 4);
        if (random() % 3 == 0) {  // a piece of one of the user's texts, whole characters
            const auto& cases = reference[user];
            const Texts& t = std::next(cases.begin(), static_cast<long>(random() % cases.size()))->second;
            std::vector<std::size_t> starts;
            for (std::size_t at = 0; at < t.judgment.size(); ++at)
                if ((static_cast<unsigned char>(t.judgment[at]) & 0xC0) != 0x80) starts.push_back(at);
            if (static_cast<int>(starts.size()) < length) continue;
            starts.push_back(t.judgment.size());
            const std::size_t from = random() % (starts.size() - length);
            keyword = t.judgment.substr(starts[from], starts[from + length] - starts[from]);
        } else {
            for (int j = 0; j < length; ++j) keyword += (random() % 4 == 0) ? pick(outside) : pick(alphabet);
        }
        if (i % 100 == 0) {
            store.maintain();
            // More writes between the merges, known to the reference like the others.
            const Texts t = texts();
            reference[user][addCase(store, user, "M" + std::to_string(i), t)] = t;
        }
        const int limit = random() % 2 ? 100 : 1 + static_cast<int>(random() % 6);
        const auto expected = scan(reference[user], keyword, limit);
        ASSERT_EQ(ids(store.searchCases(user, keyword, limit)), expected) << keyword << " limit " << limit;
        ++checked;
        nonEmpty += !expected.empty();
    }
    EXPECT_GT(checked, 1000);
    EXPECT_GT(nonEmpty, checked / 5);
    EXPECT_LT(nonEmpty, checked * 9 / 10);
}

// Files of earlier versions: one with a trigram index, one with a character index whose terms
// mixed all users' cases, one whose index by owner was kept by triggers. Opening replaces the
// first two with the index by owner, built from the cases already there, builds the third's
// index again (its tokenizer was the earlier one) without its triggers (the store's writes index
// the texts themselves: with the triggers as well, a new case would be found twice), and leaves
// nothing of the old ones.
TEST_F(KeywordSearchStore, AnOlderFileGetsTheIndexByOwnerWhenOpened) {
    const std::string dropCurrent =
        "DROP TRIGGER case_grams_delete; DROP TABLE case_grams; DROP TABLE case_grams_short;"
        "DROP VIEW case_grams_texts; PRAGMA user_version=0;";
    struct Earlier {
        const char* what;
        std::string index;  // made in place of the current one
        const char* gone;   // a condition on sqlite_master's rows that must be gone after opening
    };
    const std::vector<Earlier> earlier = {
        {"trigram index",
         "CREATE VIRTUAL TABLE gua_search USING fts5(gua_ming, shiyou, duanyu, fankui, content='gua_table', "
         "content_rowid='id', tokenize='trigram');"
         "CREATE TRIGGER gua_search_insert AFTER INSERT ON gua_table BEGIN INSERT INTO gua_search(rowid, "
         "gua_ming, shiyou, duanyu, fankui) VALUES (new.id, new.gua_ming, new.shiyou, new.duanyu, new.fankui); "
         "END;",
         "name LIKE 'gua_search%'"},
        {"character index of all users",
         "CREATE VIEW gua_grams_texts AS SELECT id, char(1) || user_id AS owner, gua_ming || char(10) || shiyou "
         "|| char(10) || duanyu || char(10) || fankui AS texts FROM gua_table;"
         "CREATE VIRTUAL TABLE gua_grams USING fts5(owner, texts, content='', tokenize='char_grams triples', "
         "columnsize=0);"
         "CREATE VIRTUAL TABLE gua_grams_short USING fts5(owner, texts, content='', tokenize='char_grams short', "
         "columnsize=0, detail=none);"
         "CREATE TRIGGER gua_grams_insert AFTER INSERT ON gua_table BEGIN "
         "INSERT INTO gua_grams(rowid, owner, texts) SELECT id, owner, texts FROM gua_grams_texts WHERE id = new.id;"
         "INSERT INTO gua_grams_short(rowid, owner, texts) SELECT id, owner, texts FROM gua_grams_texts "
         "WHERE id = new.id; END;",
         "name LIKE 'gua_grams%'"},
        {"index by owner kept by triggers",
         "CREATE VIEW case_grams_texts AS SELECT id, char(1) || user_id || char(2) || gua_ming || char(10) || "
         "shiyou || char(10) || duanyu || char(10) || fankui AS texts FROM gua_table;"
         "CREATE VIRTUAL TABLE case_grams USING fts5(texts, content='', tokenize='char_grams triples owned', "
         "columnsize=0);"
         "CREATE VIRTUAL TABLE case_grams_short USING fts5(texts, content='', tokenize='char_grams short owned', "
         "columnsize=0, detail=none);"
         "CREATE TRIGGER case_grams_insert AFTER INSERT ON gua_table BEGIN "
         "INSERT INTO case_grams(rowid, texts) SELECT id, texts FROM case_grams_texts WHERE id = new.id;"
         "INSERT INTO case_grams_short(rowid, texts) SELECT id, texts FROM case_grams_texts WHERE id = new.id; END;"
         "CREATE TRIGGER case_grams_update AFTER UPDATE OF user_id, gua_ming, shiyou, duanyu, fankui ON gua_table "
         "BEGIN INSERT INTO case_grams(rowid, texts) SELECT id, texts FROM case_grams_texts WHERE id = new.id;"
         "INSERT INTO case_grams_short(rowid, texts) SELECT id, texts FROM case_grams_texts WHERE id = new.id; END;",
         "name IN ('case_grams_insert', 'case_grams_update')"}};
    for (const Earlier& old : earlier) {
        SCOPED_TRACE(old.what);
        std::filesystem::remove(file);
        std::int64_t owner = 0, other = 0;
        {
            SqliteCaseRepository store(file);
            owner = newUser(store, "owner");
            other = newUser(store, "other");
        }
        {
            sqlite3* db = nullptr;
            ASSERT_EQ(sqlite3_open(file.c_str(), &db), SQLITE_OK);
            const std::string script =
                dropCurrent + old.index +
                "INSERT INTO gua_table(user_id, gua_ming, gua_bianhao, nian, yue, ri, shiyou, duanyu) VALUES "
                "(" +
                std::to_string(owner) +
                ", '乾为天', 'A', 2024, 1, 1, '问财', '官鬼持世'),"
                "(" +
                std::to_string(other) +
                ", '坤为地', 'B', 2024, 1, 1, '问财', ''),"
                "(" +
                std::to_string(owner) + ", '离为火', 'C', 2024, 1, 1, '', '财来');";
            ASSERT_EQ(sqlite3_exec(db, script.c_str(), nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
            sqlite3_close(db);
        }
        {
            SqliteCaseRepository store(file);
            const auto found = [&](std::int64_t user, const std::string& keyword) {
                return ids(store.searchCases(user, keyword, 100));
            };
            EXPECT_EQ(found(owner, "财"), (std::vector<std::int64_t>{3, 1}));
            EXPECT_EQ(found(other, "财"), (std::vector<std::int64_t>{2}));
            EXPECT_EQ(found(owner, "官鬼"), (std::vector<std::int64_t>{1}));
            EXPECT_EQ(found(owner, "官鬼持世"), (std::vector<std::int64_t>{1}));
            EXPECT_EQ(found(owner, "地"), (std::vector<std::int64_t>{}));  // another user's case
            addCase(store, owner, "D", {"", "", "财", ""});
            EXPECT_EQ(found(owner, "财"), (std::vector<std::int64_t>{4, 3, 1}));
        }
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(file.c_str(), &db), SQLITE_OK);
        sqlite3_stmt* stmt = nullptr;
        sqlite3_prepare_v2(db, (std::string("SELECT group_concat(name) FROM sqlite_master WHERE ") + old.gone).c_str(),
                           -1, &stmt, nullptr);
        ASSERT_EQ(sqlite3_step(stmt), SQLITE_ROW);
        EXPECT_EQ(sqlite3_column_type(stmt, 0), SQLITE_NULL) << "the earlier index and its triggers are gone";
        sqlite3_finalize(stmt);
        sqlite3_close(db);
    }
}

}  // namespace
}  // namespace qinglan::caseservice
