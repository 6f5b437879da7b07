// The devices that keep a login: their refresh tokens issued, spent and replaced, listed and
// removed, driven over HTTP as the desktop client does; and that nothing a device keeps logs in
// through login.php.
#include "service_harness.h"

#include <gtest/gtest.h>

using namespace qinglan::caseservice;
using namespace qinglan::caseservice::testing;

namespace {

class DeviceLogin : public OnEachStore {};

// The token of a token.php or refresh.php reply ("ok<t>" token "<t>" ...), or "" when refused.
std::string tokenOf(const std::string& reply) {
    if (!reply.starts_with("ok<t>")) return {};
    const auto end = reply.find("<t>", 5);
    return end == std::string::npos ? std::string() : reply.substr(5, end - 5);
}

std::string addDevice(const RunningService& service, const std::string& nm, const std::string& digest,
                      const std::string& device) {
    return tokenOf(service.post("token.php", {{"nm", nm}, {"shebei", device}, {"pw", digest}}));
}

TEST_P(DeviceLogin, EachRefreshSpendsTheTokenAndACopyPresentedLaterEndsTheDevice) {
    RunningService service{GetParam()};
    const std::string digest = service.registerUser("张三", "secret");
    const std::string first = addDevice(service, "张三", digest, "书房的电脑");
    ASSERT_EQ(first.size(), 64u);

    const auto refreshed = service.postRaw("refresh.php", clientFormBody({{"nm", "张三"}, {"lingpai", first}}));
    const std::string second = tokenOf(refreshed.body);
    ASSERT_EQ(second.size(), 64u) << refreshed.body;
    EXPECT_NE(second, first);
    EXPECT_EQ(service.post("cha.php", {{"nm", "张三"}, {"wd", "list50"}, {"pw", refreshed.sessionToken}}), "")
        << "the refresh opened a session";

    // The first token, copied before it was spent, comes back: the device ends, for both holders.
    EXPECT_EQ(service.post("refresh.php", {{"nm", "张三"}, {"lingpai", first}}), "no");
    EXPECT_EQ(service.post("refresh.php", {{"nm", "张三"}, {"lingpai", second}}), "no");
    EXPECT_EQ(service.sql("SELECT count(*) FROM device_tokens"), "0");
}

TEST_P(DeviceLogin, RefreshRepliesLikeTheLoginAfterTheToken) {
    RunningService service(LoginNotice{"通知", "http://example.org/", 4}, {}, {}, {}, {}, GetParam());
    const std::string digest = service.registerUser("张三", "secret");
    const std::string login = service.post("login.php", {{"nm", "张三"}, {"pw", digest}});
    const std::string token = addDevice(service, "张三", digest, "pc");
    const std::string reply = service.post("refresh.php", {{"nm", "张三"}, {"lingpai", token}});
    ASSERT_TRUE(login.starts_with("ok<t>"));
    EXPECT_EQ(reply, "ok<t>" + tokenOf(reply) + "<t>" + login.substr(5));
}

TEST_P(DeviceLogin, RefusedRequestsIssueNothing) {
    RunningService service{GetParam()};
    const std::string digest = service.registerUser("张三", "secret");
    const struct {
        const char* what;
        Fields fields;
        const char* reply;  // the start of it
    } cases[] = {
        {"wrong password", {{"nm", "张三"}, {"shebei", "pc"}, {"pw", passwordDigest("guess")}}, "no"},
        {"unknown name", {{"nm", "nobody"}, {"shebei", "pc"}, {"pw", digest}}, "no"},
        {"no device name", {{"nm", "张三"}, {"shebei", ""}, {"pw", digest}}, "请求被拒绝"},
        {"a line break in the name", {{"nm", "张三"}, {"shebei", "a\nb"}, {"pw", digest}}, "请求被拒绝"},
        {"65 characters", {{"nm", "张三"}, {"shebei", std::string(65, 'x')}, {"pw", digest}}, "请求被拒绝"},
    };
    for (const auto& c : cases) EXPECT_TRUE(service.post("token.php", c.fields).starts_with(c.reply)) << c.what;
    EXPECT_EQ(service.sql("SELECT count(*) FROM device_tokens"), "0");
}

TEST_P(DeviceLogin, OneAccountsTokenIsWorthNothingForAnother) {
    RunningService service{GetParam()};
    const std::string digest = service.registerUser("张三", "secret");
    service.registerUser("李四", "secret");
    const std::string token = addDevice(service, "张三", digest, "pc");
    EXPECT_EQ(service.post("refresh.php", {{"nm", "李四"}, {"lingpai", token}}), "no");
    EXPECT_FALSE(tokenOf(service.post("refresh.php", {{"nm", "张三"}, {"lingpai", token}})).empty())
        << "the failed try did not spend it";
}

TEST_P(DeviceLogin, NothingTheDeviceKeepsLogsInThroughLoginPhp) {
    RunningService service{GetParam()};
    const std::string digest = service.registerUser("张三", "secret");
    const std::string token = addDevice(service, "张三", digest, "pc");
    EXPECT_EQ(service.post("login.php", {{"nm", "张三"}, {"pw", token}}), "no");
    EXPECT_EQ(service.post("token.php", {{"nm", "张三"}, {"shebei", "thief"}, {"pw", token}}), "no");
    EXPECT_EQ(service.sql("SELECT count(*) FROM device_tokens WHERE token_hash = '" + token + "'"), "0")
        << "the store keeps only a hash";
}

TEST_P(DeviceLogin, TheUserListsAndRemovesDevices) {
    RunningService service{GetParam()};
    const std::string digest = service.registerUser("张三", "secret");
    const std::string other = service.registerUser("李四", "secret");
    const std::string study = addDevice(service, "张三", digest, "书房");
    const std::string laptop = addDevice(service, "张三", digest, "笔记本");
    const std::string theirs = addDevice(service, "李四", other, "他的");
    const std::string session = service.logIn("张三", digest);

    const auto rows = readList(service.post("devices.php", {{"nm", "张三"}, {"pw", session}}), 4, 100);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0][1], "书房");
    EXPECT_EQ(rows[1][1], "笔记本");
    EXPECT_EQ(rows[0][2], rows[0][3]) << "never used since it was added";

    const std::string theirId = service.sql("SELECT id FROM device_tokens WHERE shebei = '他的'");
    const struct {
        std::string id;
        const char* reply;
    } removals[] = {{theirId, "请求被拒绝：没有这个设备"},
                    {"x", "请求被拒绝：设备编号必须是整数"},
                    {rows[0][0], "ok"},
                    {rows[0][0], "请求被拒绝：没有这个设备"}};
    for (const auto& r : removals)
        EXPECT_EQ(service.post("revoke.php", {{"nm", "张三"}, {"shebeiid", r.id}, {"pw", session}}), r.reply) << r.id;

    EXPECT_EQ(service.post("refresh.php", {{"nm", "张三"}, {"lingpai", study}}), "no");
    EXPECT_FALSE(tokenOf(service.post("refresh.php", {{"nm", "张三"}, {"lingpai", laptop}})).empty());
    EXPECT_FALSE(tokenOf(service.post("refresh.php", {{"nm", "李四"}, {"lingpai", theirs}})).empty());
}

TEST_P(DeviceLogin, APasswordChangeOrADisabledAccountEndsTheDevices) {
    RunningService service{GetParam()};
    const std::string digest = service.registerUser("张三", "old");
    const std::string before = addDevice(service, "张三", digest, "pc");
    ASSERT_EQ(service.post("changpw.php", {{"nm", "张三"}, {"oldpw", digest}, {"newpw", passwordDigest("new")}}), "ok");
    EXPECT_EQ(service.post("refresh.php", {{"nm", "张三"}, {"lingpai", before}}), "no");

    const std::string after = addDevice(service, "张三", passwordDigest("new"), "pc");
    service.sql("UPDATE users SET disabled = true");
    EXPECT_EQ(service.post("refresh.php", {{"nm", "张三"}, {"lingpai", after}}), "no");
}

TEST_P(DeviceLogin, AnUnusedDeviceEndsAfterItsLifetime) {
    RunningService service{GetParam()};
    const std::string digest = service.registerUser("张三", "secret");
    const std::string token = addDevice(service, "张三", digest, "pc");
    service.clock().advance(DevicePolicy{}.lifetime - std::chrono::seconds(2));
    const std::string next = tokenOf(service.post("refresh.php", {{"nm", "张三"}, {"lingpai", token}}));
    ASSERT_FALSE(next.empty()) << "used in time, and its lifetime starts again";
    service.clock().advance(DevicePolicy{}.lifetime + std::chrono::seconds(1));
    EXPECT_EQ(service.post("refresh.php", {{"nm", "张三"}, {"lingpai", next}}), "no");
}

QINGLAN_ON_EACH_STORE(DeviceLogin);

}  // namespace
