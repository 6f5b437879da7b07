// One account against its quotas, as the attacks went: saves of large texts until the store fills
// (and one texts save written into many cases of one number), saves as fast as they go, and
// overlapping searches. Each refusal is a reply the client shows, and one audit line; other
// accounts go on as before.
#include "service_harness.h"

#include "audit/audit_log.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>

using namespace qinglan::caseservice;
using namespace qinglan::caseservice::testing;
using namespace std::chrono_literals;

namespace {

Fields withToken(Fields fields, const std::string& token) {
    fields.emplace_back("pw", token);
    return fields;
}

Fields textsFields(const std::string& nm, const std::string& number, const std::string& judgment,
                   const std::string& token) {
    Fields fields = caseFields(nm, number, "问事");
    fields.insert(fields.end(), {{"save_duanyu", judgment}, {"save_fankui", ""}, {"save_b", "1"}, {"pw", token}});
    return fields;
}

class AccountQuotaAttacks : public OnEachStore {};

TEST_P(AccountQuotaAttacks, LargeSavesOfOneAccountStopAtItsStoredBytes) {
    AccountQuotas quotas = AccountQuotas::none();
    quotas.storedBytes = 100 * 1024;
    RunningService service(Database{GetParam()}, quotas);
    const std::string a = service.registerAndLogIn("甲", "secret-a");
    const std::string b = service.registerAndLogIn("乙", "secret-b");
    const auto refusalsBefore = auditEventCount(AuditEvent::QuotaRefused);
    const std::string full = "请求被拒绝：本账户在网络上保存的内容已达上限（100 KiB），未保存";
    const std::string large(30000, 'x');

    // Three cases of 30,000 bytes and their small fields fit in 102,400 bytes; a fourth does not.
    for (int i = 0; i < 3; ++i)
        ASSERT_EQ(service.post("savegua.php", withToken(caseFields("甲", "n" + std::to_string(i), large), a)), "ok")
            << i;
    EXPECT_EQ(service.post("savegua.php", withToken(caseFields("甲", "n3", large), a)), full);
    EXPECT_EQ(service.sql("SELECT count(*) FROM gua_table WHERE gua_bianhao = 'n3'"), "0");
    // Texts written into a case count what they add; saving the same texts again adds nothing.
    EXPECT_EQ(service.post("saveduanyufankui.php", textsFields("甲", "n0", std::string(10000, 'j'), a)), "ok");
    EXPECT_EQ(service.post("saveduanyufankui.php", textsFields("甲", "n0", std::string(10000, 'k'), a)), "ok");
    EXPECT_EQ(service.post("saveduanyufankui.php", textsFields("甲", "n1", std::string(3000, 'j'), a)), full);

    // 40,000 bytes fit once, but the texts save writes them into every case of the number.
    for (int i = 0; i < 3; ++i)
        ASSERT_EQ(service.post("savegua.php", withToken(caseFields("乙", "same", "小"), b)), "ok");
    EXPECT_EQ(service.post("saveduanyufankui.php", textsFields("乙", "same", std::string(40000, 'j'), b)), full);
    EXPECT_EQ(service.sql("SELECT max(length(duanyu)) FROM gua_table WHERE gua_bianhao = 'same'"), "0");
    EXPECT_EQ(service.post("saveduanyufankui.php", textsFields("乙", "one", std::string(40000, 'j'), b)), "ok");
    EXPECT_EQ(auditEventCount(AuditEvent::QuotaRefused), refusalsBefore + 3);
}

QINGLAN_ON_EACH_STORE(AccountQuotaAttacks);

TEST(AccountQuotas, SavesAsFastAsTheyGoAreHeldToTheirRatePerAccount) {
    AccountQuotas quotas = AccountQuotas::none();
    quotas.savesPerMinute = 3;  // one every 20 seconds
    RunningService service(Database{}, quotas);
    const std::string a = service.registerAndLogIn("甲", "secret-a");
    const std::string b = service.registerAndLogIn("乙", "secret-b");
    const auto save = [&](const std::string& nm, const std::string& token, int i) {
        switch (i % 3) {
        case 0: return service.post("savegua.php", withToken(caseFields(nm, "n" + std::to_string(i), "问"), token));
        case 1: return service.post("saveduanyufankui.php", textsFields(nm, "n0", "断语" + std::to_string(i), token));
        default:
            return service.post("changeleiming.php",
                                {{"nm", nm}, {"lei_bendi_id", "1"}, {"lei_mingcheng", "类"}, {"pw", token}});
        }
    };
    const std::string tooFast = "请求被拒绝：保存过于频繁（每个账户每分钟至多3次），请";
    for (int i = 0; i < 3; ++i) ASSERT_EQ(save("甲", a, i), "ok") << i;
    const std::string refused = save("甲", a, 3);
    ASSERT_TRUE(refused.starts_with(tooFast) && refused.ends_with("秒后再试")) << refused;
    const int wait = std::stoi(refused.substr(tooFast.size()));
    EXPECT_TRUE(wait > 0 && wait <= 20) << refused;
    EXPECT_EQ(service.sql("SELECT count(*) FROM gua_table WHERE gua_bianhao = 'n3'"), "0");
    // Another account saves as usual meanwhile.
    for (int i = 0; i < 3; ++i) EXPECT_EQ(save("乙", b, i), "ok") << i;

    service.clock().advance(20s);
    EXPECT_EQ(save("甲", a, 3), "ok");
    EXPECT_TRUE(save("甲", a, 4).starts_with(tooFast));
    service.clock().advance(60s);
    for (int i = 4; i < 7; ++i) EXPECT_EQ(save("甲", a, i), "ok") << i;
    EXPECT_TRUE(save("甲", a, 7).starts_with(tooFast));
}

// Replies to requests sent from threads of their own, in the order they come back.
class Replies {
public:
    void add(std::string reply) {
        std::lock_guard lock(mutex_);
        replies_.push_back(std::move(reply));
        arrived_.notify_all();
    }
    // The replies once there are n of them (fewer when they take over 20 s).
    std::vector<std::string> await(std::size_t n) {
        std::unique_lock lock(mutex_);
        arrived_.wait_for(lock, 20s, [&] { return replies_.size() >= n; });
        return replies_;
    }

private:
    std::mutex mutex_;
    std::condition_variable arrived_;
    std::vector<std::string> replies_;
};

TEST(AccountQuotas, OverlappingSearchesOfOneAccountRunOneAtATimeAndHoldUpNoOtherAccount) {
    AccountQuotas quotas = AccountQuotas::none();
    quotas.searchesAtOnce = 1;
    RunningService service(Database{}, quotas);
    const std::string a = service.registerAndLogIn("甲", "secret-a");
    const std::string b = service.registerAndLogIn("乙", "secret-b");
    ASSERT_EQ(service.post("savegua.php", withToken(caseFields("甲", "n", "问事"), a)), "ok");
    const auto userA = std::stoll(service.sql("SELECT id FROM users WHERE nm = '甲'"));
    const auto refusalsBefore = auditEventCount(AuditEvent::QuotaRefused);

    // A search of the account's that never ends while the test holds its turn.
    auto running = service.service().quotas().searchTurn(userA);
    ASSERT_TRUE(running);
    Replies replies;
    std::vector<std::thread> searches;
    for (int i = 0; i < 5; ++i)
        searches.emplace_back([&] {
            replies.add(service.post("cha.php", withToken({{"nm", "甲"}, {"wd", "问事"}}, a)));
        });
    // Two wait their turn; the other three are refused at once.
    for (const auto& reply : replies.await(3))
        EXPECT_EQ(reply, "请求被拒绝：同时进行的搜索过多，请等前面的搜索结束后再试");

    // Meanwhile the other account saves and searches, and the account itself saves.
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(service.post("savegua.php", withToken(caseFields("乙", "m" + std::to_string(i), "问事"), b)), "ok");
    EXPECT_EQ(readList(service.post("cha.php", withToken({{"nm", "乙"}, {"wd", "问事"}}, b)), 4, 100).size(), 10u);
    EXPECT_EQ(service.post("savegua.php", withToken(caseFields("甲", "n2", "别的"), a)), "ok");
    EXPECT_EQ(replies.await(3).size(), 3u) << "the waiting searches still wait";

    running.reset();
    const auto all = replies.await(5);
    ASSERT_EQ(all.size(), 5u);
    for (std::size_t i = 3; i < 5; ++i) EXPECT_EQ(readList(all[i], 4, 100).size(), 1u) << all[i];
    for (auto& search : searches) search.join();
    EXPECT_EQ(auditEventCount(AuditEvent::QuotaRefused), refusalsBefore + 3);
}

}  // namespace
