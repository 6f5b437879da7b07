// Who may reach which cases: the name and a live session token of that account must come
// with every request, and one user's cases and categories never reach another user.
#include "service_harness.h"

#include <gtest/gtest.h>

#include <atomic>
#include <set>
#include <thread>

using namespace qinglan::caseservice;
using namespace qinglan::caseservice::testing;

namespace {

// Every case and category endpoint with valid fields for user nm (without "pw").
std::vector<std::pair<std::string, Fields>> caseRequests(const std::string& nm, const std::string& id) {
    auto save = caseFields(nm, "b1", "问事");
    auto texts = save;
    texts.insert(texts.end(), {{"save_duanyu", "d"}, {"save_fankui", "f"}, {"save_b", "3"}});
    return {
        {"savegua.php", save},
        {"saveduanyufankui.php", texts},
        {"loadgua.php", {{"nm", nm}, {"guaid", id}}},
        {"cha.php", {{"nm", nm}, {"wd", "list50"}}},
        {"cha.php", {{"nm", nm}, {"wd", "问事"}}},
        {"gualist.php", {{"nm", nm}, {"fenlei", "-1"}, {"nian", "2024"}, {"yue", "3"}}},
        {"nian.php", {{"nm", nm}, {"fenlei", "-1"}}},
        {"yue.php", {{"nm", nm}, {"fenlei", "-1"}, {"nian", "2024"}}},
        {"getduanyufankui.php", {{"nm", nm}, {"id", id}}},
        {"changeleiming.php", {{"nm", nm}, {"lei_bendi_id", "1"}, {"lei_mingcheng", "改名"}}},
    };
}

Fields with(Fields fields, const std::string& pw) {
    fields.emplace_back("pw", pw);
    return fields;
}

class Authentication : public OnEachStore {};

TEST_P(Authentication, EveryCaseRequestWithoutALiveSessionOfTheNameIsRefused) {
    ThrottlePolicy patient;
    patient.freeFailures = 1000;  // the many failures below would otherwise pause the name
    RunningService service({}, {}, patient, {}, {}, GetParam());
    const std::string digest = service.registerUser("张三", "secret");
    const std::string token = service.logIn("张三", digest);
    const std::string other = service.registerAndLogIn("李四", "other");
    const std::string ended = service.logIn("张三", digest);
    ASSERT_EQ(service.post("logout.php", {{"nm", "张三"}, {"pw", ended}}), "ok");
    ASSERT_EQ(service.post("savegua.php", with(caseFields("张三", "b0", "原有"), token)), "ok");
    const auto id =
        readList(service.post("cha.php", {{"nm", "张三"}, {"wd", "list50"}, {"pw", token}}), 4, 102).at(0)[0];

    for (const auto& [endpoint, fields] : caseRequests("张三", id)) {
        EXPECT_EQ(service.post(endpoint, fields), "no") << endpoint << " without pw";
        EXPECT_EQ(service.post(endpoint, with(fields, std::string(64, 'a'))), "no") << endpoint << " made-up token";
        EXPECT_EQ(service.post(endpoint, with(fields, other)), "no") << endpoint << " another user's token";
        EXPECT_EQ(service.post(endpoint, with(fields, "")), "no") << endpoint << " empty pw";
        EXPECT_EQ(service.post(endpoint, with(fields, digest)), "no") << endpoint << " the digest instead of a token";
        EXPECT_EQ(service.post(endpoint, with(fields, ended)), "no") << endpoint << " a token after logout";
    }
    for (const auto& [endpoint, fields] : caseRequests("nobody", id))
        EXPECT_EQ(service.post(endpoint, with(fields, token)), "no") << endpoint << " unknown name";

    // Nothing was changed by the refused requests.
    const auto rows = readList(service.post("cha.php", {{"nm", "张三"}, {"wd", "list50"}, {"pw", token}}), 4, 102);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(service.post("getduanyufankui.php", {{"nm", "张三"}, {"id", id}, {"pw", token}}), "<tr>");
    EXPECT_EQ(service.post("login.php", {{"nm", "张三"}, {"pw", digest}}), "ok") << "no category was renamed";
}

class Sessions : public OnEachStore {};

TEST_P(Sessions, OnlyTheNewestOfAnAccountAreKept) {
    RunningService service{GetParam()};
    const std::string digest = service.registerUser("张三", "secret");
    std::vector<std::string> tokens;
    for (int i = 0; i < SessionPolicy{}.perUser + 5; ++i) tokens.push_back(service.logIn("张三", digest));
    const auto works = [&](const std::string& token) {
        return service.post("nian.php", {{"nm", "张三"}, {"fenlei", "-1"}, {"pw", token}}) != "no";
    };
    for (std::size_t i = 0; i < tokens.size(); ++i)
        EXPECT_EQ(works(tokens[i]), i >= 5) << "session " << i << " of " << tokens.size() << " opened within a second";
}

class Isolation : public OnEachStore {};

TEST_P(Isolation, TwoUsersNeverSeeEachOthersCases) {
    RunningService service{GetParam()};
    const std::string a = service.registerAndLogIn("张三", "secret");
    const std::string b = service.registerAndLogIn("李四", "secret");  // the same password
    auto texts = caseFields("张三", "同号", "张三的事");
    texts.insert(texts.end(), {{"save_duanyu", "张三的断语"}, {"save_fankui", "张三的反馈"}, {"save_b", "3"}});
    ASSERT_EQ(service.post("saveduanyufankui.php", with(texts, a)), "ok");
    ASSERT_EQ(
        service.post("changeleiming.php", {{"nm", "张三"}, {"lei_bendi_id", "1"}, {"lei_mingcheng", "甲"}, {"pw", a}}),
        "ok");
    const auto idA = readList(service.post("cha.php", {{"nm", "张三"}, {"wd", "list50"}, {"pw", a}}), 4, 102).at(0)[0];

    // Li Si, properly logged in, asks for everything of Zhang San's.
    for (const auto& [endpoint, fields] : caseRequests("李四", idA)) {
        if (endpoint == "savegua.php" || endpoint == "changeleiming.php") continue;
        if (endpoint == "saveduanyufankui.php") continue;
        EXPECT_EQ(service.post(endpoint, with(fields, b)), "") << endpoint;
    }
    // His texts save under the same case number makes a case of his own.
    auto textsB = caseFields("李四", "同号", "李四的事");
    textsB.insert(textsB.end(), {{"save_duanyu", "李四的断语"}, {"save_fankui", ""}, {"save_b", "1"}});
    ASSERT_EQ(service.post("saveduanyufankui.php", with(textsB, b)), "ok");
    EXPECT_EQ(service.post("getduanyufankui.php", {{"nm", "张三"}, {"id", idA}, {"pw", a}}),
              "张三的断语<tr>张三的反馈");
    EXPECT_EQ(service.post("getduanyufankui.php", {{"nm", "李四"}, {"id", idA}, {"pw", b}}), "");
    const auto rowsB = readList(service.post("cha.php", {{"nm", "李四"}, {"wd", "断语"}, {"pw", b}}), 4, 102);
    ASSERT_EQ(rowsB.size(), 1u);
    EXPECT_NE(rowsB[0][0], idA);
    EXPECT_EQ(rowsB[0][2], "李四的事");
    EXPECT_EQ(service.post("login.php", {{"nm", "李四"}, {"pw", passwordDigest("secret")}}), "ok")
        << "no categories of Zhang San's";
}

class Concurrency : public OnEachStore {};

TEST_P(Concurrency, EightClientsSavingAtOnceLoseNothing) {
    RunningService service{GetParam()};
    const std::string digest = service.registerAndLogIn("张三", "secret");  // the session token
    constexpr int kClients = 8;
    constexpr int kEach = 40;
    std::atomic<int> failures{0};
    std::vector<std::thread> clients;
    for (int c = 0; c < kClients; ++c) {
        clients.emplace_back([&, c] {
            for (int i = 0; i < kEach; ++i) {
                const std::string key = "c" + std::to_string(c) + "-" + std::to_string(i);
                auto fields = caseFields("张三", key, "并发");
                Fields request = fields;
                if (i % 2 == 0) {
                    request.insert(request.end(), {{"save_duanyu", key}, {"save_fankui", ""}, {"save_b", "1"}});
                    request.emplace_back("pw", digest);
                    if (service.postRaw("saveduanyufankui.php", clientFormBody(request)).body != "ok") ++failures;
                } else {
                    request.emplace_back("pw", digest);
                    if (service.postRaw("savegua.php", clientFormBody(request)).body != "ok") ++failures;
                }
            }
        });
    }
    for (auto& client : clients) client.join();
    EXPECT_EQ(failures.load(), 0);

    std::set<std::string> keys;
    const auto rows = readList(
        service.post("gualist.php", {{"nm", "张三"}, {"fenlei", "-1"}, {"nian", "2024"}, {"yue", "3"}, {"pw", digest}}),
        4, 3001);
    for (const auto& row : rows) keys.insert(row[1]);
    EXPECT_EQ(rows.size(), static_cast<std::size_t>(kClients * kEach));
    EXPECT_EQ(keys.size(), static_cast<std::size_t>(kClients * kEach));
    // The texts saved with the cases are there too.
    const auto judged = readList(service.post("cha.php", {{"nm", "张三"}, {"wd", "c3-4"}, {"pw", digest}}), 4, 102);
    ASSERT_EQ(judged.size(), 1u);
    EXPECT_EQ(judged[0][1], "c3-4");
}

QINGLAN_ON_EACH_STORE(Authentication);
QINGLAN_ON_EACH_STORE(Sessions);
QINGLAN_ON_EACH_STORE(Isolation);
QINGLAN_ON_EACH_STORE(Concurrency);

}  // namespace
