// Cases, texts, lists, search and categories, driven over HTTP as the desktop client does.
#include "service_harness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

using namespace qinglan::caseservice;
using namespace qinglan::caseservice::testing;

namespace {

class CaseEndpoints : public OnEachStore {
protected:
    void SetUp() override {
        digest = service.registerUser(nm, "secret");
        token = service.logIn(nm, digest);
    }

    std::string post(const std::string& endpoint, Fields fields) {
        fields.emplace_back("pw", token);
        return service.post(endpoint, fields);
    }
    void save(const std::string& bianhao, const std::string& subject, const std::string& categoryId = "1",
              const std::string& year = "2024", const std::string& month = "3") {
        ASSERT_EQ(post("savegua.php", caseFields(nm, bianhao, subject, categoryId, year, month)), "ok");
    }
    std::string saveTexts(const std::string& bianhao, const std::string& judgment, const std::string& feedback,
                          const std::string& which) {
        auto fields = caseFields(nm, bianhao, "问财运");
        fields.insert(fields.end(), {{"save_duanyu", judgment}, {"save_fankui", feedback}, {"save_b", which}});
        return post("saveduanyufankui.php", fields);
    }
    // The identifiers of a case list reply, in reply order.
    std::vector<std::string> ids(const std::string& reply, std::size_t cap = 3001) {
        std::vector<std::string> out;
        for (const auto& row : readList(reply, 4, cap)) out.push_back(row[0]);
        return out;
    }
    std::vector<std::string> values(const std::string& reply) {
        std::vector<std::string> out;
        for (const auto& row : readList(reply, 1, 101)) out.push_back(row[0]);
        return out;
    }
    std::vector<std::string> recent() { return ids(post("cha.php", {{"nm", nm}, {"wd", "list50"}}), 102); }

    RunningService service{GetParam()};
    std::string nm = "张三";
    std::string digest;
    std::string token;
};

TEST_P(CaseEndpoints, SavedCaseLoadsBackFieldForField) {
    save("20240315101010京房T:10:10:10", "问 A&B+C=D 之事 100%");
    const auto id = recent().at(0);
    const std::string reply = post("loadgua.php", {{"nm", nm}, {"guaid", id}});
    const auto rows = readList("x<t>" + reply, 12, 1);  // the status field is a field of the record
    ASSERT_EQ(rows.size(), 1u) << reply;
    const std::vector<std::string> expected = {"ok",
                                               "主卦：乾为天 变卦：天风姤",
                                               "20240315101010京房T:10:10:10",
                                               "1",
                                               "2024",
                                               "3",
                                               "15",
                                               "男",
                                               "1980",
                                               "问 A&B+C=D 之事 100%",
                                               "",
                                               ""};
    EXPECT_EQ(rows[0], expected);
}

TEST_P(CaseEndpoints, UnknownCaseLoadsAsTheEmptyReply) {
    EXPECT_EQ(post("loadgua.php", {{"nm", nm}, {"guaid", "12345"}}), "");
    EXPECT_EQ(post("getduanyufankui.php", {{"nm", nm}, {"id", "12345"}}), "");
}

TEST_P(CaseEndpoints, TextsSaveInsertsThenUpdatesOnlyWhatItNames) {
    const std::string key = "20240316080000藏山T:08:00:00";
    // A case opened from the cloud on another machine: no row yet under this number.
    EXPECT_EQ(saveTexts(key, "断：\r\n财可得。", "未反馈", "1"), "ok");
    ASSERT_EQ(recent().size(), 1u);
    const auto id = recent()[0];
    struct Step {
        std::string judgment, feedback, which, expected;
    };
    const std::vector<Step> steps = {
        {"ignored", "应验。\n第二行", "2", "断：\r\n财可得。<tr>应验。\n第二行"},
        {"新断语", "ignored", "1", "新断语<tr>应验。\n第二行"},
        {"两者", "皆存", "3", "两者<tr>皆存"},
        {"", "", "3", "<tr>"},
    };
    for (const auto& step : steps) {
        EXPECT_EQ(saveTexts(key, step.judgment, step.feedback, step.which), "ok");
        EXPECT_EQ(post("getduanyufankui.php", {{"nm", nm}, {"id", id}}), step.expected) << step.which;
    }
    EXPECT_EQ(recent().size(), 1u) << "updates never add a case";
    // A bad "which" is refused without the letters the client takes for success.
    const std::string refused = saveTexts(key, "x", "y", "4");
    EXPECT_EQ(refused.find("ok"), std::string::npos) << refused;
}

TEST_P(CaseEndpoints, LoadedTextsKeepLineBreaks) {
    const std::string key = "20240317090000京房T:09:00:00";
    save(key, "问事");
    ASSERT_EQ(saveTexts(key, "第一行\r\n第二行\n", "反馈\r\n", "3"), "ok");
    const auto rows = readList("x<t>" + post("loadgua.php", {{"nm", nm}, {"guaid", recent().at(0)}}), 12, 1);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][10], "第一行\r\n第二行\n");
    EXPECT_EQ(rows[0][11], "反馈\r\n");
}

TEST_P(CaseEndpoints, YearMonthAndCaseListsByCategoryAndForAll) {
    save("a", "一", "1", "2023", "12");
    save("b", "二", "2", "2024", "1");
    save("c", "三", "1", "2024", "1");
    save("d", "四", "1", "2024", "5");
    save("e", "五", "2", "2022", "7");
    const auto all = recent();  // newest first: e d c b a
    ASSERT_EQ(all.size(), 5u);
    const std::string a = all[4], b = all[3], c = all[2], d = all[1];

    EXPECT_EQ(values(post("nian.php", {{"nm", nm}, {"fenlei", "-1"}})),
              (std::vector<std::string>{"2022", "2023", "2024"}));
    EXPECT_EQ(values(post("nian.php", {{"nm", nm}, {"fenlei", "1"}})), (std::vector<std::string>{"2023", "2024"}));
    EXPECT_EQ(post("nian.php", {{"nm", nm}, {"fenlei", "9"}}), "");
    EXPECT_EQ(values(post("yue.php", {{"nm", nm}, {"fenlei", "-1"}, {"nian", "2024"}})),
              (std::vector<std::string>{"1", "5"}));
    EXPECT_EQ(values(post("yue.php", {{"nm", nm}, {"fenlei", "2"}, {"nian", "2024"}})),
              (std::vector<std::string>{"1"}));
    EXPECT_EQ(post("yue.php", {{"nm", nm}, {"fenlei", "2"}, {"nian", "2023"}}), "");
    EXPECT_EQ(ids(post("gualist.php", {{"nm", nm}, {"fenlei", "-1"}, {"nian", "2024"}, {"yue", "1"}})),
              (std::vector<std::string>{b, c}));
    EXPECT_EQ(ids(post("gualist.php", {{"nm", nm}, {"fenlei", "1"}, {"nian", "2024"}, {"yue", "1"}})),
              (std::vector<std::string>{c}));
    EXPECT_EQ(post("gualist.php", {{"nm", nm}, {"fenlei", "1"}, {"nian", "2024"}, {"yue", "2"}}), "");

    // A row shows identifier; case number; matter; hexagram name.
    const auto rows =
        readList(post("gualist.php", {{"nm", nm}, {"fenlei", "1"}, {"nian", "2024"}, {"yue", "5"}}), 4, 3001);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0], (std::vector<std::string>{d, "d", "四", "主卦：乾为天 变卦：天风姤"}));
    (void)a;
}

TEST_P(CaseEndpoints, RecentFiftyNewestFirst) {
    EXPECT_EQ(post("cha.php", {{"nm", nm}, {"wd", "list50"}}), "");
    for (int i = 0; i < 60; ++i) save("n" + std::to_string(i), "事" + std::to_string(i));
    const auto rows = readList(post("cha.php", {{"nm", nm}, {"wd", "list50"}}), 4, 102);
    ASSERT_EQ(rows.size(), 50u);
    EXPECT_EQ(rows.front()[1], "n59");
    EXPECT_EQ(rows.back()[1], "n10");
    for (std::size_t i = 1; i < rows.size(); ++i) EXPECT_GT(std::stoll(rows[i - 1][0]), std::stoll(rows[i][0]));
}

TEST_P(CaseEndpoints, SearchLooksInNameMatterJudgmentAndFeedback) {
    save("k1", "问工作 Offer");
    save("k2", "问婚姻");
    ASSERT_EQ(saveTexts("k3", "断：财旺 50%_off", "", "1"), "ok");
    ASSERT_EQ(saveTexts("k4", "", "后来升职了", "2"), "ok");
    save("k5", "他说\"好的\"");
    const auto matter = [&](const std::string& keyword) {
        std::multiset<std::string> found;
        for (const auto& row : readList(post("cha.php", {{"nm", nm}, {"wd", keyword}}), 4, 102)) found.insert(row[1]);
        return found;
    };
    const std::vector<std::pair<std::string, std::multiset<std::string>>> cases = {
        {"工作", {"k1"}},   // matter
        {"offer", {"k1"}},  // ASCII letters without case
        {"婚", {"k2"}},
        {"财旺", {"k3"}},                            // judgment
        {"升职", {"k4"}},                            // feedback
        {"天风姤", {"k1", "k2", "k3", "k4", "k5"}},  // hexagram name
        {"\"好的\"", {"k5"}},                        // a double quote inside a long keyword
        {"OFFER", {"k1"}},
        {"50%_", {"k3"}},  // % and _ are plain characters
        {"0%x", {}},
        {"_", {"k3"}},
        {"不存在", {}},
    };
    for (const auto& [keyword, expected] : cases) EXPECT_EQ(matter(keyword), expected) << keyword;
    EXPECT_EQ(post("cha.php", {{"nm", nm}, {"wd", "不存在"}}), "") << "nothing found is the empty reply";
}

TEST_P(CaseEndpoints, SearchListsAtMostOneHundredNewestFirst) {
    for (int i = 0; i < 120; ++i) save("s" + std::to_string(i), "同一件事");
    const auto rows = readList(post("cha.php", {{"nm", nm}, {"wd", "同一件事"}}), 4, 102);
    ASSERT_EQ(rows.size(), 100u);
    EXPECT_EQ(rows.front()[1], "s119");
    EXPECT_EQ(rows.back()[1], "s20");
}

TEST_P(CaseEndpoints, RenameReplacesTheNameOfThatCategory) {
    EXPECT_EQ(post("changeleiming.php", {{"nm", nm}, {"lei_bendi_id", "3"}, {"lei_mingcheng", "财运&投资=1+1"}}), "ok");
    EXPECT_EQ(post("changeleiming.php", {{"nm", nm}, {"lei_bendi_id", "3"}, {"lei_mingcheng", "求财"}}), "ok");
    const std::string login = service.post("login.php", {{"nm", nm}, {"pw", digest}});
    EXPECT_TRUE(login.ends_with("<v><t>求财<t>3<t>")) << login;
    for (const char* bad : {"", "a<t>b"})
        EXPECT_NE(post("changeleiming.php", {{"nm", nm}, {"lei_bendi_id", "3"}, {"lei_mingcheng", bad}}), "ok") << bad;
    EXPECT_NE(post("changeleiming.php", {{"nm", nm}, {"lei_bendi_id", "x"}, {"lei_mingcheng", "c"}}), "ok");
}

TEST_P(CaseEndpoints, StoresRefuseWhatTheyCouldNotGiveBack) {
    // A "<t>" inside a stored text would shift every field after it on loading.
    EXPECT_NE(post("savegua.php", caseFields(nm, "m1", "a<t>b")), "ok");
    EXPECT_NE(saveTexts("m2", "断语<tr>", "", "1"), "ok");
    EXPECT_NE(post("savegua.php", caseFields(nm, "m3", "x", "1", "二〇二四")), "ok");
    EXPECT_EQ(post("savegua.php", caseFields(nm, "m4", "no category", "")), "ok") << "an empty lei_id is allowed";
    const auto stored = recent();
    ASSERT_EQ(stored.size(), 1u) << "only m4 was stored";
    const auto rows = readList("x<t>" + post("loadgua.php", {{"nm", nm}, {"guaid", stored[0]}}), 12, 1);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][2], "m4");
    EXPECT_EQ(rows[0][3], "");
}

// The place and clock travel as optional fields last before "pw"; clients that know none leave
// them out and keep storing as before. They are checked as the other case fields are.
TEST_P(CaseEndpoints, ThePlaceOfACaseIsStoredAndLoadedAndOlderClientsLeaveItOut) {
    const Fields vancouver{{"save_didian", "-123.1,America/Vancouver"}, {"save_shizhi", "solar"}};
    const auto with = [](Fields fields, const Fields& more) {
        fields.insert(fields.end(), more.begin(), more.end());
        return fields;
    };
    const Fields texts =
        with(caseFields(nm, "p3", "问事"), {{"save_duanyu", "断"}, {"save_fankui", ""}, {"save_b", "3"}});
    const std::string refused = "请求被拒绝：内容不能含有<t>或<tr>";
    struct Step {
        std::string endpoint;
        Fields fields;
        std::string reply, place;  // the place and rule loadgua.php gives the newest case afterwards
    };
    const std::vector<Step> steps = {
        {"savegua.php", with(caseFields(nm, "p1", "问事"), vancouver), "ok", "-123.1,America/Vancouver|solar"},
        {"savegua.php", caseFields(nm, "p2", "问事"), "ok", "|"},  // an older client
        {"saveduanyufankui.php", with(texts, vancouver), "ok", "-123.1,America/Vancouver|solar"},
        {"saveduanyufankui.php", texts, "ok", "-123.1,America/Vancouver|solar"},  // keeps the stored place
        {"savegua.php", with(caseFields(nm, "p4", "问事"), {{"save_didian", "1<t>2"}}), refused,
         "-123.1,America/Vancouver|solar"},
    };
    for (const auto& step : steps) {
        EXPECT_EQ(post(step.endpoint, step.fields), step.reply) << step.place;
        const auto rows = readList("x<t>" + post("loadgua.php", {{"nm", nm}, {"guaid", recent().at(0)}}), 14, 1);
        ASSERT_EQ(rows.size(), 1u);
        EXPECT_EQ(rows[0][12] + "|" + rows[0][13], step.place);
    }
}

QINGLAN_ON_EACH_STORE(CaseEndpoints);

// A file of the first schema version gets the place columns when the service opens it; its cases
// have the default place.
TEST(PlaceColumns, AFileOfTheFirstVersionGetsThemWhenOpened) {
    RunningService first;
    const std::string token = first.registerAndLogIn("张三", "secret");
    Fields fields = caseFields("张三", "old", "问事");
    fields.emplace_back("pw", token);
    ASSERT_EQ(first.post("savegua.php", fields), "ok");
    for (const char* step : {"ALTER TABLE gua_table DROP COLUMN didian", "ALTER TABLE gua_table DROP COLUMN shizhi",
                             "PRAGMA user_version = 1"})
        first.sql(step);
    const RunningService reopened(Database(Backend::Sqlite, first.databaseFile().string()));
    EXPECT_EQ(reopened.sql("PRAGMA user_version"), "4");
    EXPECT_EQ(reopened.sql("SELECT gua_bianhao || '|' || didian || '|' || shizhi FROM gua_table"), "old||");
}

}  // namespace
