// Registration, login and password change, driven over HTTP as the desktop client does.
#include "service_harness.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

using namespace qinglan::caseservice;
using namespace qinglan::caseservice::testing;

namespace {

class Account : public OnEachStore {};

TEST_P(Account, RegistrationReplies) {
    RunningService service{GetParam()};
    const std::string digest = passwordDigest("secret");
    struct Case {
        const char* what;
        Fields fields;
        const char* reply;
    };
    const std::vector<Case> cases = {
        {"new name, mobile only", {{"nm", "张三"}, {"pw", digest}, {"shouji", "13800000000"}, {"youxiang", ""}}, "ok"},
        {"new name, e-mail only", {{"nm", "li"}, {"pw", digest}, {"shouji", ""}, {"youxiang", "li@example.org"}}, "ok"},
        {"name taken", {{"nm", "张三"}, {"pw", digest}, {"shouji", "1"}, {"youxiang", ""}}, "no"},
        {"empty name", {{"nm", ""}, {"pw", digest}, {"shouji", "1"}, {"youxiang", ""}}, "cancel"},
        {"neither mobile nor e-mail", {{"nm", "wang"}, {"pw", digest}, {"shouji", ""}, {"youxiang", ""}}, "cancel"},
        {"a plain password, not a digest",
         {{"nm", "zhao"}, {"pw", "secret"}, {"shouji", "1"}, {"youxiang", ""}},
         "cancel"},
        {"a control character in the name",
         {{"nm", "a\tb"}, {"pw", digest}, {"shouji", "1"}, {"youxiang", ""}},
         "cancel"},
        {"a name of 33 characters",
         {{"nm", std::string(33, 'x')}, {"pw", digest}, {"shouji", "1"}, {"youxiang", ""}},
         "cancel"},
    };
    for (const auto& c : cases) EXPECT_EQ(service.post("reg.php", c.fields), c.reply) << c.what;
    // "no" and "cancel" created nothing.
    EXPECT_EQ(service.post("login.php", {{"nm", "wang"}, {"pw", digest}}), "no");
}

TEST_P(Account, DatabaseHoldsNoDigest) {
    RunningService service{GetParam()};
    const std::string digest = service.registerUser("张三", "secret");
    const std::string stored = service.sql("SELECT pwhash FROM users");
    EXPECT_TRUE(stored.starts_with("$argon2id$")) << stored;
    EXPECT_EQ(stored.find(digest), std::string::npos);
}

TEST_P(Account, BareLoginWhenThereIsNothingToTell) {
    RunningService service{GetParam()};
    const std::string digest = service.registerUser("张三", "secret");
    EXPECT_EQ(service.post("login.php", {{"nm", "张三"}, {"pw", digest}}), "ok");
    EXPECT_EQ(service.post("login.php", {{"nm", "张三"}, {"pw", passwordDigest("Secret")}}), "no");
    EXPECT_EQ(service.post("login.php", {{"nm", "nobody"}, {"pw", digest}}), "no");
}

TEST_P(Account, FullLoginReplyCarriesMessageLinkVersionAndCategories) {
    RunningService service(LoginNotice{"新版本 3.9 已发布：100% 免费+", "http://example.org/news?a=1&b=2", 4}, {}, {},
                           {}, {}, GetParam());
    const std::string digest = service.registerUser("张三", "secret");
    // Without categories the reply is already the full form, with none after it.
    const std::string first = service.post("login.php", {{"nm", "张三"}, {"pw", digest}});
    ASSERT_TRUE(first.starts_with("ok<t>")) << first;
    const std::string token = service.logIn("张三", digest);

    for (const auto& [id, name] : std::vector<std::pair<std::string, std::string>>{{"7", "求财"}, {"2", "婚姻"}})
        ASSERT_EQ(service.post("changeleiming.php",
                               {{"nm", "张三"}, {"lei_bendi_id", id}, {"lei_mingcheng", name}, {"pw", token}}),
                  "ok");
    std::string reply = service.post("login.php", {{"nm", "张三"}, {"pw", digest}});

    // Read it as the login window does.
    ASSERT_TRUE(reply.starts_with("ok<t>"));
    reply.erase(0, 5);
    const auto msg = reply.find("<msg>");
    ASSERT_NE(msg, std::string::npos);
    EXPECT_EQ(urlDecode(reply.substr(0, msg)), "新版本 3.9 已发布：100% 免费+");
    reply.erase(0, msg + 5);
    const auto url = reply.find("<url>");
    EXPECT_EQ(reply.substr(0, url), "http://example.org/news?a=1&b=2");
    reply.erase(0, url + 5);
    const auto v = reply.find("<v>");
    EXPECT_EQ(reply.substr(0, v), "4");
    reply.erase(0, v + 3);
    ASSERT_TRUE(reply.starts_with("<t>"));
    reply.erase(0, 3);
    EXPECT_EQ(reply, "婚姻<t>2<t>求财<t>7<t>");
}

TEST_P(Account, DisabledAccountIsCancelledAndRefused) {
    RunningService service{GetParam()};
    const std::string digest = service.registerUser("张三", "secret");
    const std::string token = service.logIn("张三", digest);
    service.sql("UPDATE users SET disabled = true");
    EXPECT_EQ(service.post("login.php", {{"nm", "张三"}, {"pw", digest}}), "cancel");
    EXPECT_EQ(service.post("login.php", {{"nm", "张三"}, {"pw", passwordDigest("guess")}}), "no");
    EXPECT_EQ(service.post("cha.php", {{"nm", "张三"}, {"wd", "list50"}, {"pw", token}}), "no")
        << "its sessions end too";
}

TEST_P(Account, PasswordChange) {
    RunningService service{GetParam()};
    const std::string oldDigest = service.registerUser("张三", "old");
    const std::string newDigest = passwordDigest("new");
    const std::string oldSession = service.logIn("张三", oldDigest);
    EXPECT_EQ(service.post("cha.php", {{"nm", "张三"}, {"wd", "list50"}, {"pw", oldSession}}), "");

    EXPECT_EQ(service.post("changpw.php", {{"nm", "张三"}, {"oldpw", newDigest}, {"newpw", newDigest}}), "no");
    EXPECT_EQ(service.post("changpw.php", {{"nm", "nobody"}, {"oldpw", oldDigest}, {"newpw", newDigest}}), "no");
    const std::string badNew = service.post("changpw.php", {{"nm", "张三"}, {"oldpw", oldDigest}, {"newpw", ""}});
    EXPECT_NE(badNew, "ok");
    EXPECT_EQ(service.post("login.php", {{"nm", "张三"}, {"pw", oldDigest}}), "ok") << "a refused change keeps the old";

    const auto changed =
        service.postRaw("changpw.php", clientFormBody({{"nm", "张三"}, {"oldpw", oldDigest}, {"newpw", newDigest}}));
    EXPECT_EQ(changed.body, "ok");
    EXPECT_EQ(service.post("login.php", {{"nm", "张三"}, {"pw", oldDigest}}), "no");
    EXPECT_EQ(service.post("cha.php", {{"nm", "张三"}, {"wd", "list50"}, {"pw", oldSession}}), "no")
        << "a password change ends the sessions opened before it";
    EXPECT_EQ(service.post("cha.php", {{"nm", "张三"}, {"wd", "list50"}, {"pw", changed.sessionToken}}), "")
        << "the changing client gets a new session";
    EXPECT_EQ(service.post("login.php", {{"nm", "张三"}, {"pw", newDigest}}), "ok");
}

TEST_P(Account, RepeatedFailuresForANameAreSlowedDown) {
    ThrottlePolicy policy;
    policy.freeFailures = 3;
    policy.firstPause = std::chrono::seconds(1);
    RunningService service({}, {}, policy, {}, {}, GetParam());
    const std::string digest = service.registerUser("张三", "secret");
    const std::string other = service.registerUser("李四", "secret");
    const std::string session = service.logIn("张三", digest);
    const std::string wrong = passwordDigest("guess");
    for (int i = 0; i < 3; ++i) EXPECT_EQ(service.post("login.php", {{"nm", "张三"}, {"pw", wrong}}), "no");

    // Paused: even the right password is not checked, and the reply says to wait.
    const std::string paused = service.post("login.php", {{"nm", "张三"}, {"pw", digest}});
    EXPECT_NE(paused.find("秒后再试"), std::string::npos) << paused;
    EXPECT_FALSE(paused.starts_with("ok") || paused.starts_with("no") || paused.starts_with("cancel"));
    EXPECT_EQ(service.post("cha.php", {{"nm", "张三"}, {"wd", "list50"}, {"pw", session}}), "")
        << "a session opened before the guesses goes on working";
    EXPECT_EQ(service.post("login.php", {{"nm", "李四"}, {"pw", other}}), "ok") << "other names are not slowed";

    service.clock().advance(policy.firstPause);
    EXPECT_EQ(service.post("login.php", {{"nm", "张三"}, {"pw", digest}}), "ok");
}

TEST_P(Account, ASessionEndsAtItsExpiry) {
    RunningService service(GetParam());
    const std::string session = service.registerAndLogIn("张三", "secret");
    const Fields list = {{"nm", "张三"}, {"wd", "list50"}, {"pw", session}};
    service.clock().advance(SessionPolicy{}.lifetime - std::chrono::seconds(2));
    EXPECT_EQ(service.post("cha.php", list), "") << "a session works until its last second";
    service.clock().advance(std::chrono::seconds(3));
    EXPECT_EQ(service.post("cha.php", list), "no") << "an ended session is refused";
}

QINGLAN_ON_EACH_STORE(Account);

}  // namespace
