// Admission of connections and bodies: the caps on connections still sending their request, the
// head deadline, the body budget, and the attacks they answer. Loopback source addresses
// 127.N.M.x stand for clients of the network 127.N.M.0/24.
#include "audit/audit_log.h"
#include "raw_connection.h"
#include "service_harness.h"

#include <gtest/gtest.h>
#include <httplib.h>

#include <poll.h>
#include <signal.h>

#include <atomic>
#include <fstream>
#include <thread>

using namespace qinglan::caseservice;
using namespace qinglan::caseservice::testing;
using namespace std::chrono_literals;

namespace {

constexpr const char* kUnfinished = "qinglan_caseservice_connections_unfinished";
constexpr const char* kOpen = "qinglan_caseservice_connections_open";
constexpr const char* kBodyBytes = "qinglan_caseservice_body_bytes_in_flight";
const std::string kRefused = "qinglan_caseservice_events_total{event=\"connection_refused\"}";
const std::string kCut = "qinglan_caseservice_events_total{event=\"connection_cut\"}";

const std::string kPartialHead = "POST /nian.php HTTP/1.1\r\nHost: x\r\n";
// What completes a request begun with kPartialHead.
std::string restOfRequest() {
    const std::string body = clientFormBody({{"nm", "无此人"}, {"fenlei", "-1"}, {"pw", "x"}});
    return "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
}

std::unique_ptr<RawConnection> slowHead(int port, const std::string& source) {
    auto connection = std::make_unique<RawConnection>(port, source);
    connection->send(kPartialHead);
    return connection;
}

struct Opening {
    const char* source;
    long long unfinishedAfter;
    int refused;  // new audit events it causes
    int cut;
    bool closedAtEnd;  // else it finishes its request and is answered
};

// Opens each connection with half a head, waiting until the service has counted it as its row
// says; then checks which were closed and that the others are answered.
void openInTurn(bool behindProxy, unsigned unfinishedInAll, const std::vector<Opening>& rows) {
    FrontendSettings settings;
    settings.trustForwardedFor = behindProxy;
    settings.unfinishedPerNetwork = 2;
    settings.unfinishedConnections = unfinishedInAll;
    settings.headDeadline = 30s;  // only the caps close connections here
    RunningService service({}, {}, {}, settings);
    const auto refused0 = auditEventCount(AuditEvent::ConnectionRefused);
    const auto cut0 = auditEventCount(AuditEvent::ConnectionCut);
    int refused = 0;
    int cut = 0;
    std::vector<std::unique_ptr<RawConnection>> connections;
    for (const auto& row : rows) {
        connections.push_back(slowHead(service.port(), row.source));
        refused += row.refused;
        cut += row.cut;
        EXPECT_TRUE(becomes(
            [&] {
                return metricValue(service.metrics(), kUnfinished) == row.unfinishedAfter &&
                       auditEventCount(AuditEvent::ConnectionRefused) == refused0 + refused &&
                       auditEventCount(AuditEvent::ConnectionCut) == cut0 + cut;
            },
            5s))
            << row.source << ":\n"
            << service.metrics();
    }
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (rows[i].closedAtEnd) {
            EXPECT_TRUE(connections[i]->closedByPeer(5s)) << i;
            continue;
        }
        ASSERT_TRUE(connections[i]->send(restOfRequest())) << i;
        EXPECT_EQ(connections[i]->responses(1, 5s).size(), 1u) << i;
    }
}

TEST(Admission, CapsUnfinishedConnectionsPerNetworkAndCutsTheOldestWhenAllAreTaken) {
    openInTurn(false, 4,
               {{"127.0.7.1", 1, 0, 0, true},  // cut last
                {"127.0.7.2", 2, 0, 0, false},
                {"127.0.7.3", 2, 1, 0, true},  // its network has two already
                {"127.0.8.1", 3, 0, 0, false},
                {"127.0.8.2", 4, 0, 0, false},
                {"127.0.9.1", 4, 0, 1, false}});  // all four taken: the oldest, 127.0.7.1, is cut
}

TEST(Admission, BehindAProxyLoopbackPeersMeetOnlyTheCapInAll) {
    openInTurn(true, 3,
               {{"127.0.0.1", 1, 0, 0, true},
                {"127.0.0.1", 2, 0, 0, false},
                {"127.0.0.1", 3, 0, 0, false},
                {"127.0.0.1", 3, 0, 1, false}});
}

TEST(Admission, HeadsPastTheirDeadlineAreCutBodiesAreNot) {
    FrontendSettings settings;
    settings.headDeadline = 1s;
    RunningService service({}, {}, {}, settings);
    const auto cut0 = auditEventCount(AuditEvent::ConnectionCut);
    auto slow = slowHead(service.port(), "127.0.7.1");
    auto body = slowHead(service.port(), "127.0.7.2");
    const std::string rest = restOfRequest();
    const auto headEnd = rest.find("\r\n\r\n") + 4;
    ASSERT_TRUE(body->send(rest.substr(0, headEnd + 3)));  // its head, and a little of its body
    EXPECT_TRUE(slow->closedByPeer(5s));
    EXPECT_EQ(auditEventCount(AuditEvent::ConnectionCut), cut0 + 1);
    ASSERT_TRUE(body->send(rest.substr(headEnd + 3)));
    EXPECT_EQ(body->responses(1, 5s).size(), 1u) << "a body under way meets the request deadline, not the head's";
}

TEST(Admission, BodiesBeyondTheBudgetAreRefusedWith503) {
    FrontendSettings settings;
    settings.bodyBudget = 100 * 1000;
    RunningService service({}, {}, {}, settings);
    const auto refused0 = auditEventCount(AuditEvent::BodyBudgetRefused);
    const auto request = [](std::size_t bodyBytes) {
        return postRequest("cha.php", "nm=x&pw=y&wd=" + std::string(bodyBytes - 13, 'a'));
    };
    RawConnection large(service.port(), "127.0.7.1");
    const std::string largeRequest = request(80 * 1000);
    ASSERT_TRUE(large.send(largeRequest.substr(0, largeRequest.size() / 2)));
    ASSERT_TRUE(becomes([&] { return metricValue(service.metrics(), kBodyBytes) == 80 * 1000; }, 5s));

    RawConnection second(service.port(), "127.0.8.1");
    ASSERT_TRUE(second.send(request(30 * 1000)));
    EXPECT_EQ(second.responses(1, 5s), std::vector<std::string>{"busy, try again later"});
    EXPECT_EQ(auditEventCount(AuditEvent::BodyBudgetRefused), refused0 + 1);

    ASSERT_TRUE(large.send(largeRequest.substr(largeRequest.size() / 2)));
    EXPECT_EQ(large.responses(1, 5s).size(), 1u);
    EXPECT_TRUE(becomes([&] { return metricValue(service.metrics(), kBodyBytes) == 0; }, 5s));
    RawConnection third(service.port(), "127.0.8.1");
    ASSERT_TRUE(third.send(request(30 * 1000)));
    const auto replies = third.responses(1, 5s);
    ASSERT_EQ(replies.size(), 1u);
    EXPECT_NE(replies[0], "busy, try again later") << "the budget is free again";
}

// The service binary with its default limits, its metrics on a loopback port of their own.
class ChildService {
public:
    ChildService()
        : db_(std::filesystem::temp_directory_path() / ("qinglan-admission-" + std::to_string(::getpid()) + ".db")),
          process_(startServiceBinary({"--listen", "127.0.0.1:0", "--db", db_.string(), "--pwhash-limits", "minimum",
                                       "--metrics-listen", "127.0.0.1:0"})),
          port_(announcedPort(process_)) {
        char line[512] = {};
        if (port_ > 0 && fgets(line, sizeof line, process_.out)) {
            const std::string text(line);
            const auto at = text.find("http://127.0.0.1:");
            if (at != std::string::npos) metricsPort_ = std::atoi(text.c_str() + at + 17);
        }
    }
    ~ChildService() {
        kill(process_.pid, SIGTERM);
        EXPECT_EQ(waitForExit(process_.pid, 15s), 0);
        fclose(process_.out);
        for (const char* suffix : {"", "-wal", "-shm"}) std::filesystem::remove(db_.string() + suffix);
    }
    bool started() const { return port_ > 0 && metricsPort_ > 0; }
    int port() const { return port_; }
    long long metric(const std::string& name) const {
        httplib::Client client("127.0.0.1", metricsPort_);
        const auto reply = client.Get("/metrics");
        return reply && reply->status == 200 ? metricValue(reply->body, name) : -1;
    }
    // Its resident memory now (VmRSS) or at its highest (VmHWM), in MiB.
    long residentMiB(const std::string& field = "VmRSS:") const {
        std::ifstream status("/proc/" + std::to_string(process_.pid) + "/status");
        for (std::string line; std::getline(status, line);)
            if (line.starts_with(field)) return std::atol(line.c_str() + field.size()) / 1024;
        return -1;
    }
    std::string exchange(const std::string& source, const std::string& endpoint, const Fields& fields,
                         std::chrono::milliseconds within) const {
        RawConnection connection(port_, source);
        connection.send(postRequest(endpoint, clientFormBody(fields), false));
        const auto replies = connection.responses(1, within);
        return replies.empty() ? "(no reply within the time)" : replies[0];
    }

private:
    std::filesystem::path db_;
    ServiceProcess process_;
    int port_ = -1;
    int metricsPort_ = -1;
};

TEST(AdmissionAttack, ManyAddressSlowHeadsLeaveLoginsAnswered) {
    ChildService service;
    ASSERT_TRUE(service.started());
    const std::string digest = passwordDigest("secret");
    ASSERT_EQ(service.exchange("127.0.0.1", "reg.php",
                               {{"nm", "常客"}, {"pw", digest}, {"shouji", "1"}, {"youxiang", ""}}, 10s),
              "ok");
    const auto loginAnsweredInTime = [&] {
        return service.exchange("127.0.0.1", "login.php", {{"nm", "常客"}, {"pw", digest}}, 2s).starts_with("ok");
    };

    // 20 networks of 55 connections, none of which ever finishes its request head.
    std::vector<std::string> sources;
    for (int network = 1; network <= 20; ++network)
        for (int host = 1; host <= 55; ++host)
            sources.push_back("127.1." + std::to_string(network) + "." + std::to_string(host));
    std::vector<std::unique_ptr<RawConnection>> held;
    for (const auto& source : sources) held.push_back(slowHead(service.port(), source));
    ASSERT_TRUE(becomes(
        [&] {
            return service.metric(kRefused) + service.metric(kCut) + service.metric(kUnfinished) >=
                   static_cast<long long>(sources.size());
        },
        30s))
        << "the service never took or turned away every connection";
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(loginAnsweredInTime()) << "login " << i << " while the connections hang";

    // The attacker reopens every connection the service closes, as soon as it is closed.
    std::atomic<bool> attacking{true};
    std::atomic<int> reopened{0};
    std::thread reopener([&] {
        std::vector<pollfd> watched(held.size());
        while (attacking) {
            for (std::size_t i = 0; i < held.size(); ++i) watched[i] = {held[i]->descriptor(), POLLIN, 0};
            ::poll(watched.data(), watched.size(), 20);
            for (std::size_t i = 0; i < held.size(); ++i) {
                if (watched[i].fd >= 0 && watched[i].revents == 0) continue;
                held[i] = slowHead(service.port(), sources[i]);
                ++reopened;
            }
        }
    });
    EXPECT_TRUE(becomes([&] { return reopened > 1000; }, 30s));
    int answered = 0;
    for (int i = 0; i < 5; ++i) answered += loginAnsweredInTime();
    attacking = false;
    reopener.join();
    EXPECT_EQ(answered, 5) << "logins answered within 2 s while " << reopened << " connections were reopened";
}

TEST(AdmissionAttack, NineHundredUnfinishedBodiesLeaveResidentMemorySmall) {
    ChildService service;
    ASSERT_TRUE(service.started());
    const long before = service.residentMiB();
    constexpr std::size_t kBody = 1024 * 1024;
    const std::string mostOfARequest =
        "POST /savegua.php HTTP/1.1\r\nHost: x\r\nContent-Length: " + std::to_string(kBody) +
        "\r\n\r\nnm=x&save_shiyou=" + std::string(kBody - 64 * 1024, 'a');
    std::vector<std::unique_ptr<RawConnection>> uploads(900);
    std::vector<std::thread> senders;
    for (std::size_t t = 0; t < 4; ++t) {
        senders.emplace_back([&, t] {
            for (std::size_t i = t; i < uploads.size(); i += 4) {
                // 15 networks of 60.
                uploads[i] = std::make_unique<RawConnection>(
                    service.port(), "127.2." + std::to_string(1 + i / 60) + "." + std::to_string(1 + i % 60));
                uploads[i]->setSendTimeout(2s);
                uploads[i]->send(mostOfARequest);
            }
        });
    }
    for (auto& sender : senders) sender.join();
    uploads.clear();
    EXPECT_TRUE(becomes([&] { return service.metric(kOpen) == 0 && service.metric(kBodyBytes) == 0; }, 10s))
        << service.metric(kOpen) << " connections open, " << service.metric(kBodyBytes) << " body bytes";
    // The service has read all that was sent by now: its highest resident memory is the attack's.
    const long during = service.residentMiB("VmHWM:");
    EXPECT_LT(during, 200) << "MiB resident at the highest (" << before << " before)";
    long after = 0;
    EXPECT_TRUE(becomes(
        [&] {
            after = service.residentMiB();
            return after < before + 32;
        },
        10s))
        << after << " MiB resident after the attack, " << before << " before, " << during << " during";
}

}  // namespace
