// Texts holding the C0 controls, saved through the service by two accounts: stored exactly and
// found by the text on either side of each control, other saves unharmed, each account's index
// its own. U+0000 is refused alike on both stores, in a text or a keyword, before the store sees it.
// A file whose index the earlier tokenizer built (NUL bytes in its terms) is rebuilt when the
// service starts.
#include "service_harness.h"
#include "test_support/earlier_tokenizer.h"

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <unistd.h>

#include <filesystem>

using namespace qinglan::caseservice;
using namespace qinglan::caseservice::testing;

namespace {

constexpr int kControls = 32;  // U+0000 to U+001F

// The text of one control in one of the four texts: pieces on either side no other text holds.
struct Placed {
    int control, field;
    std::string tag() const { return std::to_string(field * 100 + control); }
    std::string before() const { return "前" + tag() + "号"; }
    std::string after() const { return "后" + tag() + "号"; }
    std::string text() const { return before() + std::string(1, static_cast<char>(control)) + after(); }
};

Fields withToken(Fields fields, const std::string& token) {
    fields.emplace_back("pw", token);
    return fields;
}

// A case whose name, matter, judgment and feedback each hold the control, saved as the client
// does: the case, then its texts. The two replies.
std::pair<std::string, std::string> saveWithControl(const RunningService& service, const std::string& nm,
                                                    const std::string& token, int control) {
    const std::string number = "c" + std::to_string(control);
    Fields fields = caseFields(nm, number, Placed{control, 1}.text());
    fields[1].second = Placed{control, 0}.text();  // save_gua_ming
    const std::string saved = service.post("savegua.php", withToken(fields, token));
    fields.insert(
        fields.end(),
        {{"save_duanyu", Placed{control, 2}.text()}, {"save_fankui", Placed{control, 3}.text()}, {"save_b", "3"}});
    return {saved, service.post("saveduanyufankui.php", withToken(fields, token))};
}

std::vector<std::string> numbersFound(const RunningService& service, const std::string& nm, const std::string& token,
                                      const std::string& keyword) {
    std::vector<std::string> numbers;
    for (const auto& row : readList(service.post("cha.php", {{"nm", nm}, {"wd", keyword}, {"pw", token}}), 4, 1000))
        numbers.push_back(row[1]);
    return numbers;
}

class ControlCharacters : public OnEachStore {};

const std::string kNulRefused = "请求被拒绝：内容含有空字符（U+0000），无法保存或搜索";

TEST_P(ControlCharacters, ANulByteInATextOrKeywordIsRefusedAlikeOnEitherStoreAndNothingIsStored) {
    RunningService service{GetParam()};
    const std::string token = service.registerAndLogIn("甲", "secret-a");
    const std::string nul("前\0后", 7);
    const auto [saved, texts] = saveWithControl(service, "甲", token, 0);
    EXPECT_EQ(saved, kNulRefused);
    EXPECT_EQ(texts, kNulRefused);
    EXPECT_EQ(
        service.post("changeleiming.php", {{"nm", "甲"}, {"lei_bendi_id", "1"}, {"lei_mingcheng", nul}, {"pw", token}}),
        kNulRefused);
    const std::string found = service.post("cha.php", {{"nm", "甲"}, {"wd", nul}, {"pw", token}});
    EXPECT_EQ(found, kNulRefused);
    EXPECT_TRUE(readList(found, 4, 100).empty()) << "a client that does not show refusals finds nothing";
    EXPECT_EQ(service.sql("SELECT count(*) FROM gua_table"), "0");
    EXPECT_EQ(service.sql("SELECT count(*) FROM fenlei_table"), "0");
}

TEST_P(ControlCharacters, InEveryTextOfTwoAccountsAreStoredAndFoundAndHarmNoOtherSave) {
    RunningService service{GetParam()};
    const std::string a = "甲", b = "乙";
    const std::string tokenA = service.registerAndLogIn(a, "secret-a");
    const std::string tokenB = service.registerAndLogIn(b, "secret-b");
    const std::string idA = service.sql("SELECT id FROM users WHERE nm = '甲'");

    for (int control = 0; control < kControls; ++control) {
        const auto [saved, texts] = saveWithControl(service, a, tokenA, control);
        if (control == 0) {
            EXPECT_EQ(saved, kNulRefused);
            EXPECT_EQ(texts, kNulRefused);
            continue;
        }
        EXPECT_EQ(saved, "ok") << control;
        EXPECT_EQ(texts, "ok") << control;
    }
    // A text of the other account that holds the first one's owner mark forges nothing.
    const std::string forged = "\x01" + idA + "\x02伪造的";
    ASSERT_EQ(service.post("savegua.php", withToken(caseFields(b, "forged", forged + "标记"), tokenB)), "ok");
    for (int i = 0; i < 50; ++i)
        ASSERT_EQ(service.post("savegua.php", withToken(caseFields(i % 2 ? a : b, "n" + std::to_string(i), "其后"),
                                                        i % 2 ? tokenA : tokenB)),
                  "ok")
            << i;

    if (GetParam() == Backend::Sqlite) {
        for (const char* table : {"case_grams", "case_grams_short"})
            EXPECT_NO_THROW(
                service.sql(std::string("INSERT INTO ") + table + "(" + table + ") VALUES('integrity-check')"))
                << table;
        EXPECT_EQ(service.sql("PRAGMA integrity_check"), "ok");
    }
    for (int control = 1; control < kControls; ++control) {
        SCOPED_TRACE(control);
        const std::vector<std::string> one{"c" + std::to_string(control)};
        for (int field = 0; field < 4; ++field) {
            const Placed p{control, field};
            EXPECT_EQ(numbersFound(service, a, tokenA, p.before()), one) << field;
            EXPECT_EQ(numbersFound(service, a, tokenA, p.after()), one) << field;
            EXPECT_EQ(numbersFound(service, a, tokenA, p.text()), one) << field;
            EXPECT_TRUE(numbersFound(service, b, tokenB, p.text()).empty()) << field;
        }
        const auto rows =
            readList(service.post("cha.php", {{"nm", a}, {"wd", Placed{control, 0}.text()}, {"pw", tokenA}}), 4, 1);
        ASSERT_EQ(rows.size(), 1u);
        const auto stored =
            readList("x<t>" + service.post("loadgua.php", {{"nm", a}, {"guaid", rows[0][0]}, {"pw", tokenA}}), 12, 1);
        ASSERT_EQ(stored.size(), 1u);
        const Placed name{control, 0}, matter{control, 1}, judgment{control, 2}, feedback{control, 3};
        EXPECT_EQ(stored[0][1], name.text());
        EXPECT_EQ(stored[0][9], matter.text());
        EXPECT_EQ(service.post("getduanyufankui.php", {{"nm", a}, {"id", rows[0][0]}, {"pw", tokenA}}),
                  judgment.text() + "<tr>" + feedback.text());
    }
    EXPECT_TRUE(numbersFound(service, a, tokenA, "伪造的").empty());
    EXPECT_EQ(numbersFound(service, b, tokenB, forged), std::vector<std::string>{"forged"});
    EXPECT_EQ(numbersFound(service, a, tokenA, "其后").size(), 25u);
    EXPECT_EQ(numbersFound(service, b, tokenB, "其后").size(), 25u);
}

QINGLAN_ON_EACH_STORE(ControlCharacters);

// A file of the version before: its index by owner kept by the earlier tokenizer, a case with
// U+0000 saved, then enough single saves to damage it.
TEST(ControlCharactersStore, AnIndexOfTheEarlierTokenizerIsRebuiltAtStart) {
    const auto dir = std::filesystem::temp_directory_path() / ("qinglan-earlier-index-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::string file = (dir / "cases.db").string();
    std::int64_t owner = 0;
    {
        SqliteCaseRepository store(file);
        ASSERT_TRUE(store.createUser({"owner", "owner", "owner"}, "hash", "1", ""));
        owner = store.findUser("owner")->id;
    }
    sqlite3* raw = nullptr;
    ASSERT_EQ(sqlite3_open(file.c_str(), &raw), SQLITE_OK);
    ASSERT_TRUE(text_search::testing::useEarlierTokenizer(raw));
    const auto save = [&](const std::string& duanyuExpression) {
        // As the service of the version before wrote a case: the row, then its index terms.
        const std::string sql =
            "INSERT INTO gua_table(user_id, gua_bianhao, nian, yue, ri, duanyu) VALUES(" + std::to_string(owner) +
            ", 'k', 2024, 1, 1, " + duanyuExpression +
            ");"
            "INSERT INTO case_grams(rowid, texts) SELECT id, texts FROM case_grams_texts WHERE id = (SELECT max(id) "
            "FROM gua_table);"
            "INSERT INTO case_grams_short(rowid, texts) SELECT id, texts FROM case_grams_texts WHERE id = "
            "(SELECT max(id) FROM gua_table);";
        return sqlite3_exec(raw, sql.c_str(), nullptr, nullptr, nullptr);
    };
    ASSERT_EQ(sqlite3_exec(raw, "PRAGMA user_version = 0", nullptr, nullptr, nullptr), SQLITE_OK);
    ASSERT_EQ(save("'a' || char(0) || 'b'"), SQLITE_OK);
    int failed = 0;
    for (int i = 0; i < 30; ++i) failed += save("'第" + std::to_string(i) + "次'") != SQLITE_OK;
    const bool damaged =
        failed > 0 || sqlite3_exec(raw, "INSERT INTO case_grams_short(case_grams_short) VALUES('integrity-check')",
                                   nullptr, nullptr, nullptr) != SQLITE_OK;
    sqlite3_close(raw);
    EXPECT_TRUE(damaged) << "a NUL damages the earlier tokenizer's index: the fault the rebuild mends";

    ::testing::internal::CaptureStderr();
    {
        SqliteCaseRepository store(file);
        const std::string log = ::testing::internal::GetCapturedStderr();
        EXPECT_NE(log.find("keyword index"), std::string::npos) << log;
        const std::string nul("a\0b", 3);
        for (const std::string& keyword : {std::string("a"), std::string("b"), nul, nul.substr(1), nul.substr(0, 2)}) {
            const auto rows = store.searchCases(owner, keyword, 100);
            ASSERT_EQ(rows.size(), 1u) << keyword;
            EXPECT_EQ(rows[0].id, 1);
        }
        for (int i = 0; i < 30; ++i)
            store.insertCase(owner,
                             {"", "n" + std::to_string(i), "1", "2024", "1", "1", "", "", "再存" + std::to_string(i)});
        EXPECT_EQ(store.searchCases(owner, "再存29", 100).size(), 1u);
    }
    ASSERT_EQ(sqlite3_open(file.c_str(), &raw), SQLITE_OK);
    for (const char* check : {"INSERT INTO case_grams(case_grams) VALUES('integrity-check')",
                              "INSERT INTO case_grams_short(case_grams_short) VALUES('integrity-check')"})
        EXPECT_EQ(sqlite3_exec(raw, check, nullptr, nullptr, nullptr), SQLITE_OK) << check << sqlite3_errmsg(raw);
    sqlite3_close(raw);
    // Opened again, the file is not rebuilt a second time.
    ::testing::internal::CaptureStderr();
    { SqliteCaseRepository again(file); }
    EXPECT_EQ(::testing::internal::GetCapturedStderr().find("keyword index"), std::string::npos);
    std::filesystem::remove_all(dir);
}

}  // namespace
