// Attacks on the service, each followed by reading back the 20 reference cases of a user who
// had nothing to do with it. All traffic stays on 127.0.0.1; other loopback source addresses
// (127.0.0.2, ...) stand for other clients.
#include "raw_connection.h"
#include "service_harness.h"
#include "store/sqlite/sqlite_connection.h"

#include <gtest/gtest.h>
#include <httplib.h>
#include <poll.h>
#include <sqlite3.h>
#include <sys/inotify.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <thread>

using namespace qinglan::caseservice;
using namespace qinglan::caseservice::testing;
using namespace std::chrono_literals;

namespace {

constexpr int kReferenceCases = 20;

FrontendSettings hostileSettings() {
    FrontendSettings settings;
    settings.threads = 8;
    settings.perAddressConnections = 16;
    settings.requestDeadline = 3s;
    return settings;
}

class HostileTraffic : public ::testing::Test {
protected:
    HostileTraffic() : service({}, {}, {}, hostileSettings()) {}

    void SetUp() override {
        token = service.registerAndLogIn(kOwner, "reference");
        for (int i = 0; i < kReferenceCases; ++i) {
            auto fields = caseFields(kOwner, bianhao(i), "参考事项" + std::to_string(i));
            fields.insert(fields.end(),
                          {{"save_duanyu", judgment(i)}, {"save_fankui", feedback(i)}, {"save_b", "3"}, {"pw", token}});
            ASSERT_EQ(service.post("saveduanyufankui.php", fields), "ok");
        }
    }

    static std::string bianhao(int i) { return "20240315" + std::to_string(100000 + i) + "京房"; }
    static std::string judgment(int i) { return "断语" + std::to_string(i) + "：世爻旺相 & 应爻=空 100%+"; }
    static std::string feedback(int i) { return "反馈" + std::to_string(i) + "，应验。"; }

    // Every reference case is listed and its texts read back as saved.
    void expectReferenceIntact() {
        const auto rows = readList(service.post("cha.php", {{"nm", kOwner}, {"wd", "list50"}, {"pw", token}}), 4, 102);
        ASSERT_EQ(rows.size(), static_cast<std::size_t>(kReferenceCases));
        for (const auto& row : rows) {
            const int i = std::stoi(row[1].substr(8, 6)) - 100000;
            EXPECT_EQ(row[1], bianhao(i));
            EXPECT_EQ(row[2], "参考事项" + std::to_string(i));
            EXPECT_EQ(service.post("getduanyufankui.php", {{"nm", kOwner}, {"id", row[0]}, {"pw", token}}),
                      judgment(i) + "<tr>" + feedback(i));
        }
    }

    std::string postFrom(const std::string& address, const std::string& endpoint, const Fields& fields) {
        RawConnection connection(service.port(), address);
        connection.send(postRequest(endpoint, clientFormBody(fields), false));
        const auto replies = connection.responses(1, 10s);
        return replies.empty() ? "(no reply)" : replies[0];
    }
    std::string loginFrom(const std::string& address, const std::string& nm, const std::string& digest) {
        return postFrom(address, "login.php", {{"nm", nm}, {"pw", digest}});
    }

    const std::string kOwner = "参考用户";
    RunningService service;
    std::string token;
};

TEST_F(HostileTraffic, HugeSearchKeywordIsRefusedAtOnce) {
    std::string keyword;
    while (keyword.size() < 255 * 1024) keyword += "断语世爻";
    EXPECT_EQ(service.post("cha.php", {{"nm", kOwner}, {"wd", keyword}, {"pw", token}}), "");
    const std::string longest = [] {
        std::string text;
        for (std::size_t i = 0; i < kMaxKeywordCodePoints; ++i) text += "字";
        return text;
    }();
    EXPECT_EQ(service.post("cha.php", {{"nm", kOwner}, {"wd", longest + "字"}, {"pw", token}}), "")
        << "one over the cap";
    EXPECT_EQ(readList(service.post("cha.php", {{"nm", kOwner}, {"wd", "世爻旺相"}, {"pw", token}}), 4, 102).size(),
              static_cast<std::size_t>(kReferenceCases));
    expectReferenceIntact();
}

TEST(QueryTimeLimit, StatementsPastTheirTimeAreCutShort) {
    const auto dir = std::filesystem::temp_directory_path() / ("qinglan-deadline-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const auto file = (dir / "cases.db").string();
    std::int64_t user = 0;
    {
        SqliteCaseRepository store(file);
        ASSERT_TRUE(store.createUser({"u", "u", "u"}, "hash", "1", ""));
        user = store.findUser("u")->id;
        const std::string text(400, 'a');
        for (int i = 0; i < 3000; ++i)
            store.insertCase(user, {text, std::to_string(i), "", "2024", "1", "1", "", "", text});
    }
    {
        StoreSettings noTime;
        noTime.queryTimeLimit = 0ms;
        SqliteCaseRepository store(file, noTime);
        EXPECT_THROW(store.years(user, std::nullopt), QueryInterrupted) << "a scan of 3000 cases has no time";
        EXPECT_TRUE(store.searchCases(user, "zz", 100).empty()) << "a search out of time gives what it found: nothing";
    }
    {
        SqliteCaseRepository store(file);
        EXPECT_EQ(store.years(user, std::nullopt), std::vector<std::int64_t>{2024}) << "the usual limit";
        EXPECT_EQ(store.searchCases(user, "aa", 100).size(), 100u);
    }
    std::filesystem::remove_all(dir);
}

// Sockets a process holds: its listening one and the connections it has accepted.
std::size_t socketsOf(pid_t pid) {
    std::size_t count = 0;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/proc/" + std::to_string(pid) + "/fd", error)) {
        std::error_code unreadable;
        if (std::filesystem::read_symlink(entry.path(), unreadable).string().starts_with("socket:")) ++count;
    }
    return count;
}

TEST(Shutdown, EndsPromptlyWhileConnectionsHang) {
    const auto db = std::filesystem::temp_directory_path() / ("qinglan-shutdown-" + std::to_string(::getpid()) + ".db");
    auto child = startServiceBinary({"--listen", "127.0.0.1:0", "--db", db.string(), "--pwhash-limits", "minimum"});
    const int port = announcedPort(child);
    ASSERT_GT(port, 0);
    std::vector<std::unique_ptr<RawConnection>> hanging;
    for (int i = 0; i < 40; ++i) {
        hanging.push_back(std::make_unique<RawConnection>(port, "127.0." + std::to_string(10 + i % 3) + ".1"));
        // Half the headers, or the headers and half of a body.
        hanging.back()->send(i % 2 ? "POST /cha.php HTTP/1.1\r\nHost: x\r\n"
                                   : "POST /cha.php HTTP/1.1\r\nHost: x\r\nContent-Length: 1000\r\n\r\nnm=a&wd=");
    }
    EXPECT_TRUE(becomes([&] { return socketsOf(child.pid) > hanging.size(); }, 30s))
        << "the service never held the 40 connections";
    kill(child.pid, SIGTERM);
    // Connections idle this long are closed by the service anyway: a stop that waited for them
    // would take as long.
    const auto idleTimeout = FrontendSettings{}.idleTimeout;
    EXPECT_EQ(waitForExit(child.pid, idleTimeout - 2s), 0) << "stopped before the hanging connections timed out";
    fclose(child.out);
    for (const char* suffix : {"", "-wal", "-shm"}) std::filesystem::remove(db.string() + suffix);
}

TEST(PasswordHashing, AFloodOfLoginsDoesNotHoldUpCaseRequests) {
    const auto db = std::filesystem::temp_directory_path() / ("qinglan-flood-" + std::to_string(::getpid()) + ".db");
    // The real cost of a password check, as in service.
    auto child = startServiceBinary({"--listen", "127.0.0.1:0", "--db", db.string(), "--pwhash-limits", "interactive"});
    const int port = announcedPort(child);
    ASSERT_GT(port, 0);
    const std::string digest = passwordDigest("secret");
    std::string token;
    {
        RawConnection reg(port);
        reg.send(postRequest("reg.php",
                             clientFormBody({{"nm", "u"}, {"pw", digest}, {"shouji", "1"}, {"youxiang", ""}}), false));
        ASSERT_EQ(reg.responses(1, 20s), std::vector<std::string>{"ok"});
        httplib::Client client("127.0.0.1", port);
        const auto login = client.Post("/login.php", clientFormBody({{"nm", "u"}, {"pw", digest}}),
                                       "application/x-www-form-urlencoded");
        ASSERT_TRUE(login);
        token = login->get_header_value(kSessionHeader);
    }
    std::atomic<bool> flooding{true};
    std::atomic<int> guessesAnswered{0};
    std::vector<std::thread> flood;
    for (int i = 0; i < 60; ++i) {
        flood.emplace_back([&, i] {
            const std::string address = "127.0.1." + std::to_string(1 + i);  // one guesser per address
            const std::string wrong = passwordDigest("guess" + std::to_string(i));
            while (flooding) {
                RawConnection guess(port, address);
                guess.send(postRequest("login.php", clientFormBody({{"nm", "u"}, {"pw", wrong}}), false));
                if (guess.responses(1, 30s).size() == 1) ++guessesAnswered;
            }
        });
    }
    // The case requests start once the flood is under way: its first guesses are answered, and
    // the other guessers' requests are queued behind them by then.
    EXPECT_TRUE(becomes([&] { return guessesAnswered > 0; }, 60s));
    int answered = 0;
    for (int i = 0; i < 5; ++i) {
        RawConnection list(port);
        list.send(postRequest("cha.php", clientFormBody({{"nm", "u"}, {"wd", "list50"}, {"pw", token}})));
        const auto replies = list.responses(1, 3s);
        if (replies.size() == 1 && replies[0].empty()) ++answered;  // no cases yet: the empty list
    }
    flooding = false;
    kill(child.pid, SIGTERM);
    for (auto& thread : flood) thread.join();
    EXPECT_EQ(answered, 5) << "case requests waited behind the password checks";
    EXPECT_EQ(waitForExit(child.pid, 10s), 0);
    fclose(child.out);
    for (const char* suffix : {"", "-wal", "-shm"}) std::filesystem::remove(db.string() + suffix);
}

TEST_F(HostileTraffic, WriteAheadLogStaysSmallUnderSteadySaves) {
    std::atomic<bool> running{true};
    std::atomic<std::uintmax_t> largest{0};
    std::atomic<int> saved{0};
    const auto walFile = service.databaseFile().string() + "-wal";
    // The log's size is read each time the folder reports a write to it.
    const int changes = inotify_init1(IN_CLOEXEC);
    ASSERT_GE(changes, 0);
    inotify_add_watch(changes, service.databaseFile().parent_path().c_str(), IN_MODIFY | IN_CREATE);
    std::thread watcher([&] {
        char events[4096];
        pollfd watch{changes, POLLIN, 0};
        while (running) {
            if (poll(&watch, 1, 100) == 1 && read(changes, events, sizeof events) <= 0) break;
            std::error_code error;
            const auto size = std::filesystem::file_size(walFile, error);
            if (!error && size > largest) largest = size;
        }
    });
    std::vector<std::thread> clients;
    const std::string judgment(4000, 'j');
    for (int c = 0; c < 12; ++c) {
        clients.emplace_back([&, c] {
            const auto stopAt = std::chrono::steady_clock::now() + 12s;
            for (int i = 0; std::chrono::steady_clock::now() < stopAt; ++i) {
                if (c % 3 == 0) {  // readers all the time, which used to keep the log from being reset
                    service.postRaw("cha.php", clientFormBody({{"nm", kOwner}, {"wd", "list50"}, {"pw", token}}));
                    continue;
                }
                auto fields = caseFields(kOwner, "w" + std::to_string(c) + "-" + std::to_string(i), "写");
                fields.insert(fields.end(),
                              {{"save_duanyu", judgment}, {"save_fankui", judgment}, {"save_b", "3"}, {"pw", token}});
                if (service.postRaw("saveduanyufankui.php", clientFormBody(fields)).body == "ok") ++saved;
            }
        });
    }
    for (auto& client : clients) client.join();
    running = false;
    watcher.join();
    close(changes);
    EXPECT_GT(saved.load(), 100);
    EXPECT_LT(largest.load(), 64u * 1024 * 1024)
        << "log of " << largest.load() << " bytes after " << saved.load() << " saves";
    // The reference cases are no longer the newest: read them through their own search.
    const auto rows = readList(service.post("cha.php", {{"nm", kOwner}, {"wd", "参考事项"}, {"pw", token}}), 4, 102);
    EXPECT_EQ(rows.size(), static_cast<std::size_t>(kReferenceCases));
}

TEST(LoginThrottleMemory, HasAFixedBoundWhateverIsTried) {
    ThrottlePolicy policy;
    policy.capacity = 1000;
    LoginThrottle throttle(policy);
    for (int i = 0; i < 20000; ++i)
        throttle.recordFailure("name" + std::to_string(i),
                               "10.0." + std::to_string(i / 256) + "." + std::to_string(i % 256));
    EXPECT_LE(throttle.entries(), 2000u);
    // The newest failures are still counted.
    for (int i = 0; i < policy.freeFailures; ++i) throttle.recordFailure("name19999", "10.0.78.31");
    EXPECT_GT(throttle.secondsToWait("name19999", "10.0.78.31"), 0);
}

TEST_F(HostileTraffic, OverlongNamesAreRefusedBeforeAnythingIsRemembered) {
    const std::string huge(251 * 1024, 'n');
    for (int i = 0; i < 20; ++i) EXPECT_EQ(loginFrom("127.0.0.2", huge + std::to_string(i), passwordDigest("x")), "no");
    // None of them counted against the address: a real user from it still gets in.
    const std::string digest = service.registerUser("常客", "pass");
    EXPECT_TRUE(loginFrom("127.0.0.2", "常客", digest).starts_with("ok"));
    expectReferenceIntact();
}

TEST_F(HostileTraffic, GuessesFromOneAddressNeverLockOutTheUserElsewhere) {
    const std::string digest = service.registerUser("受害者", "right");
    const std::string wrong = passwordDigest("wrong");
    for (int i = 0; i < 12; ++i) loginFrom("127.0.0.2", "受害者", wrong);
    EXPECT_NE(loginFrom("127.0.0.2", "受害者", digest).find("秒后再试"), std::string::npos)
        << "the guessing address is paused for this name";
    EXPECT_TRUE(loginFrom("127.0.0.3", "受害者", digest).starts_with("ok")) << "the user from another address is not";
    EXPECT_EQ(service.post("cha.php", {{"nm", kOwner}, {"wd", "list50"}, {"pw", token}}).substr(0, 5), "ok<t>");

    // Many names from one address: the address itself is paused, for every name.
    const std::string bystander = service.registerUser("旁人", "right");
    for (int i = 0; i < 40; ++i) loginFrom("127.0.0.4", "猜" + std::to_string(i), wrong);
    EXPECT_NE(loginFrom("127.0.0.4", "旁人", bystander).find("秒后再试"), std::string::npos);
    EXPECT_TRUE(loginFrom("127.0.0.5", "旁人", bystander).starts_with("ok"));
    expectReferenceIntact();
}

TEST(BehindProxy, GuessesCountByTheForwardedClientAddress) {
    FrontendSettings settings;
    settings.trustForwardedFor = true;
    RunningService service({}, {}, {}, settings);
    const std::string digest = service.registerUser("受害者", "right");
    const auto loginVia = [&](const std::string& client, const std::string& pw) {
        RawConnection connection(service.port());  // the proxy, on this machine
        const std::string body = clientFormBody({{"nm", "受害者"}, {"pw", pw}});
        connection.send("POST /login.php HTTP/1.1\r\nHost: x\r\nX-Forwarded-For: 198.51.100.9, " + client +
                        "\r\nContent-Type: application/x-www-form-urlencoded\r\nConnection: close\r\n"
                        "Content-Length: " +
                        std::to_string(body.size()) + "\r\n\r\n" + body);
        const auto replies = connection.responses(1, 10s);
        return replies.empty() ? std::string("(no reply)") : replies[0];
    };
    for (int i = 0; i < 12; ++i) loginVia("203.0.113.5", passwordDigest("wrong"));
    EXPECT_NE(loginVia("203.0.113.5", digest).find("秒后再试"), std::string::npos) << "the guesser behind the proxy";
    EXPECT_TRUE(loginVia("203.0.113.6", digest).starts_with("ok")) << "another client behind the same proxy";
    EXPECT_TRUE(loginVia("2001:db8:1:2::7", digest).starts_with("ok"));
}

TEST_F(HostileTraffic, OneAddressCannotRegisterAccountsWithoutEnd) {
    int created = 0;
    std::string last;
    for (int i = 0; i < 60; ++i) {
        last = postFrom(
            "127.0.0.6", "reg.php",
            {{"nm", "批量" + std::to_string(i)}, {"pw", passwordDigest("p")}, {"shouji", "1"}, {"youxiang", ""}});
        if (last == "ok") ++created;
    }
    EXPECT_LE(created, ThrottlePolicy{}.freeAddressFailures + 2) << "the pauses start after the free ones";
    EXPECT_NE(last.find("秒后再试"), std::string::npos) << last;
    EXPECT_EQ(postFrom("127.0.0.7", "reg.php",
                       {{"nm", "另一个"}, {"pw", passwordDigest("p")}, {"shouji", "1"}, {"youxiang", ""}}),
              "ok")
        << "another address registers as before";
    expectReferenceIntact();
}

TEST_F(HostileTraffic, SlowAndGreedyConnectionsDoNotStarveOthers) {
    // More connections from one address than it may have: the extra ones are closed at once.
    std::vector<std::unique_ptr<RawConnection>> slow;
    for (int i = 0; i < 60; ++i) {
        slow.push_back(std::make_unique<RawConnection>(service.port(), "127.0.0.6"));
        slow.back()->send("POST /cha.php HTTP/1.1\r\nHost: x\r\n");
    }
    int closed = 0;
    for (auto& connection : slow)
        if (connection->closedByPeer(20ms)) ++closed;
    EXPECT_GE(closed, 60 - 16);

    // Endless headers on one connection: refused long before two million of them.
    RawConnection flood(service.port(), "127.0.0.7");
    flood.send("POST /cha.php HTTP/1.1\r\nHost: x\r\n");
    std::string block;
    for (int i = 0; i < 10000; ++i) block += "X-Flood-" + std::to_string(i) + ": y\r\n";
    int blocksSent = 0;
    while (blocksSent < 200 && flood.send(block)) ++blocksSent;
    EXPECT_LT(blocksSent, 200) << "the service read 2,000,000 headers";

    // Someone else is answered meanwhile.
    RawConnection other(service.port(), "127.0.0.8");
    other.send(postRequest("cha.php", clientFormBody({{"nm", kOwner}, {"wd", "list50"}, {"pw", token}})));
    const auto replies = other.responses(1, 5s);
    ASSERT_EQ(replies.size(), 1u);
    EXPECT_TRUE(replies[0].starts_with("ok<t>"));
    expectReferenceIntact();
}

TEST_F(HostileTraffic, ARequestMayNotTrickleInForever) {
    RawConnection trickle(service.port(), "127.0.0.9");
    const std::string request = "POST /cha.php HTTP/1.1\r\nHost: 127.0.0.1\r\nX-Padding: " + std::string(200, 'p');
    const auto start = std::chrono::steady_clock::now();
    bool closed = false;
    // One byte every 400 ms: each read makes progress, but the whole request takes too long.
    for (std::size_t i = 0; i < request.size() && std::chrono::steady_clock::now() - start < 9s; ++i) {
        if (!trickle.send(request.substr(i, 1)) || trickle.closedByPeer(400ms)) {
            closed = true;
            break;
        }
    }
    EXPECT_TRUE(closed) << "a request trickling in for 9 s was still open (deadline 3 s)";
    expectReferenceIntact();
}

TEST_F(HostileTraffic, PipelinedRequestsAreEachAnswered) {
    RawConnection connection(service.port(), "127.0.0.1");
    const std::string list = postRequest("cha.php", clientFormBody({{"nm", kOwner}, {"wd", "list50"}, {"pw", token}}));
    const std::string years =
        postRequest("nian.php", clientFormBody({{"nm", kOwner}, {"fenlei", "-1"}, {"pw", token}}));
    ASSERT_TRUE(connection.send(list + years + list));
    const auto replies = connection.responses(3, 10s);
    ASSERT_EQ(replies.size(), 3u);
    EXPECT_TRUE(replies[0].starts_with("ok<t>"));
    EXPECT_EQ(replies[1], "ok<t>2024<t>");
    EXPECT_EQ(replies[2], replies[0]);
    expectReferenceIntact();
}

TEST_F(HostileTraffic, AmbiguousBodiesAreRefusedAndEscapedTextsKept) {
    const std::vector<std::string> texts = {"甲&save_fankui=乙", "x&save_b=1", "y&pw=z", "p&save_duanyu=q", "&nm=假"};
    for (const auto& text : texts) {
        auto fields = caseFields(kOwner, "歧义", "问");
        fields.insert(fields.end(), {{"save_duanyu", text}, {"save_fankui", "真反馈"}, {"save_b", "3"}, {"pw", token}});
        // As a client that does not escape "&" writes it.
        std::string raw = clientFormBody(fields);
        for (std::size_t at = 0; (at = raw.find("%26", at)) != std::string::npos;) raw.replace(at, 3, "&");
        const auto reply = service.postRaw("saveduanyufankui.php", raw);
        EXPECT_EQ(reply.body.find("ok"), std::string::npos) << text << ": " << reply.body;
    }
    EXPECT_EQ(readList(service.post("cha.php", {{"nm", kOwner}, {"wd", "list50"}, {"pw", token}}), 4, 102).size(),
              static_cast<std::size_t>(kReferenceCases))
        << "nothing was stored from the ambiguous bodies";
    for (const auto& text : texts) {
        auto fields = caseFields(kOwner, "转义" + text, "问");
        fields.insert(fields.end(), {{"save_duanyu", text}, {"save_fankui", "真反馈"}, {"save_b", "3"}, {"pw", token}});
        ASSERT_EQ(service.post("saveduanyufankui.php", fields), "ok") << text;
        const auto id =
            readList(service.post("cha.php", {{"nm", kOwner}, {"wd", "list50"}, {"pw", token}}), 4, 1).at(0)[0];
        EXPECT_EQ(service.post("getduanyufankui.php", {{"nm", kOwner}, {"id", id}, {"pw", token}}),
                  text + "<tr>真反馈");
    }
}

TEST_F(HostileTraffic, LookAlikeNamesAreOneAccount) {
    const std::string digest = service.registerUser("alice", "secret");
    struct Variant {
        const char* what;
        std::string nm;
    };
    const std::vector<Variant> variants = {
        {"trailing blank", "alice "},
        {"leading full-width blank", "\u3000alice"},
        {"capitals", "ALICE"},
        {"full-width letters", "ａｌｉｃｅ"},
        {"Cyrillic a", "\u0430lice"},
        {"zero-width space", "al\u200Bice"},
        {"right-to-left override", "\u202Ealice"},
        {"soft hyphen", "ali\u00ADce"},
        {"tab", "alice\t"},
        {"line separator", "alice\u2028"},
    };
    for (const auto& v : variants) {
        const auto reply =
            service.post("reg.php", {{"nm", v.nm}, {"pw", passwordDigest("other")}, {"shouji", "1"}, {"youxiang", ""}});
        EXPECT_NE(reply, "ok") << v.what;
    }
    EXPECT_EQ(service.post("reg.php", {{"nm", "张三 丰"}, {"pw", digest}, {"shouji", "1"}, {"youxiang", ""}}), "ok")
        << "an inner blank is a name";
    EXPECT_TRUE(service.post("login.php", {{"nm", "Alice"}, {"pw", digest}}).starts_with("ok"));
    EXPECT_TRUE(service.post("login.php", {{"nm", "ａｌｉｃｅ"}, {"pw", digest}}).starts_with("ok"));
    EXPECT_EQ(service.post("login.php", {{"nm", "alice"}, {"pw", passwordDigest("other")}}), "no");
    expectReferenceIntact();
}

TEST_F(HostileTraffic, RemovedOrReplacedDatabaseFileRefusesWrites) {
    auto save = [&](const std::string& key) {
        auto fields = caseFields(kOwner, key, "丢失");
        fields.emplace_back("pw", token);
        return service.postRaw("savegua.php", clientFormBody(fields));
    };
    ASSERT_EQ(save("before").body, "ok");
    const auto file = service.databaseFile();
    const auto kept = file.string() + ".kept";
    std::filesystem::rename(file, kept);
    for (int i = 0; i < 5; ++i) {
        const auto reply = save("gone" + std::to_string(i));
        EXPECT_NE(reply.body, "ok") << "a save with the file gone";
        EXPECT_EQ(reply.status, 500);
    }
    EXPECT_FALSE(std::filesystem::exists(file)) << "no empty database was created in its place";

    // Another file put in its place is not written either.
    {
        sqlite3* other = nullptr;
        sqlite3_open(file.c_str(), &other);
        sqlite3_exec(other, "CREATE TABLE t(x)", nullptr, nullptr, nullptr);
        sqlite3_close(other);
    }
    // Every worker is given the chance to open it: one that did would have switched it to WAL
    // mode beside our log and kept pointing at it after the original came back.
    EXPECT_NE(save("replaced").body, "ok");
    // A thread that has not used the store yet must not open the other file: it would switch
    // it to WAL mode beside our log and keep pointing at it once the original is back.
    std::thread([&] { EXPECT_THROW(service.store().recentCases(1, 10), std::runtime_error); }).join();
    {
        std::ifstream header(file, std::ios::binary);
        char bytes[20] = {};
        header.read(bytes, sizeof bytes);
        EXPECT_EQ(bytes[18], 1) << "the other file was left in its own journal mode";
    }

    // The original back: writes go on, and nothing was lost or written elsewhere.
    std::filesystem::remove(file);
    std::filesystem::rename(kept, file);
    EXPECT_EQ(save("after").body, "ok");
    const auto rows = readList(service.post("cha.php", {{"nm", kOwner}, {"wd", "list50"}, {"pw", token}}), 4, 102);
    EXPECT_EQ(rows.size(), static_cast<std::size_t>(kReferenceCases + 2));
}

std::size_t openDescriptors() {
    return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator("/proc/self/fd"), {}));
}

TEST(ForeignDatabase, IsRefusedWithAClearMessageAndLeftAsItWas) {
    const auto dir = std::filesystem::temp_directory_path() / ("qinglan-foreign-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const auto noise = (dir / "noise.db").string();
    {
        std::mt19937 random(7);
        std::ofstream out(noise, std::ios::binary);
        for (int i = 0; i < 8192; ++i) out.put(static_cast<char>(random()));
    }
    // Shaped like the desktop program's own database: cases without owners, settings rows.
    const auto desktop = (dir / "qinglan.db").string();
    {
        sqlite3* db = nullptr;
        sqlite3_open(desktop.c_str(), &db);
        sqlite3_exec(db,
                     "CREATE TABLE gua_table(id INTEGER PRIMARY KEY, gua_bianhao TEXT, duanyu TEXT);"
                     "CREATE TABLE shezhi(id INTEGER PRIMARY KEY, zhi TEXT);"
                     "INSERT INTO gua_table VALUES(1, '20240315', '断语')",
                     nullptr, nullptr, nullptr);
        sqlite3_close(db);
    }
    // A case-service file a later version of the service has brought past the steps this one knows.
    const auto newer = (dir / "newer.db").string();
    {
        { SqliteCaseRepository store(newer); }
        sqlite3* db = nullptr;
        sqlite3_open(newer.c_str(), &db);
        sqlite3_exec(db, "PRAGMA user_version = 99", nullptr, nullptr, nullptr);
        sqlite3_close(db);
    }
    struct Case {
        std::string file;
        std::string message;
    };
    for (const auto& c : std::vector<Case>{{noise, "is not an SQLite database"},
                                           {desktop, "another program"},
                                           {newer, "schema version 99, written by a newer case service"}}) {
        std::ifstream before(c.file, std::ios::binary);
        const std::string bytesBefore((std::istreambuf_iterator<char>(before)), {});
        const auto descriptors = openDescriptors();
        try {
            SqliteCaseRepository store(c.file);
            ADD_FAILURE() << c.file << " was taken as a case-service database";
        } catch (const std::runtime_error& e) {
            EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
            EXPECT_NE(std::string(e.what()).find(c.file), std::string::npos) << e.what();
        }
        EXPECT_EQ(openDescriptors(), descriptors) << "no handle left open on " << c.file;
        std::ifstream after(c.file, std::ios::binary);
        EXPECT_TRUE(std::string((std::istreambuf_iterator<char>(after)), {}) == bytesBefore)
            << c.file << " was changed";

        auto child = startServiceBinary({"--listen", "127.0.0.1:0", "--db", c.file}, true);
        char line[1024] = {};
        const bool said = fgets(line, sizeof line, child.out) != nullptr;
        EXPECT_EQ(waitForExit(child.pid), 1);
        EXPECT_TRUE(said && std::string(line).find(c.message) != std::string::npos) << line;
        fclose(child.out);
    }
    std::filesystem::remove_all(dir);
}

TEST(ReadOnlyDatabase, IsRefusedAtStart) {
    const auto dir = std::filesystem::temp_directory_path() / ("qinglan-readonly-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const auto file = (dir / "cases.db").string();
    { SqliteCaseRepository created(file); }
    if (::geteuid() == 0) {
        // File permissions do not bind root: the service is started as an ordinary user, to whom
        // the file and its folder (root's, 0444 and 0755) are read-only.
        using std::filesystem::perms;
        std::filesystem::permissions(file, perms::owner_read | perms::group_read | perms::others_read);
        std::filesystem::permissions(
            dir, perms::owner_all | perms::group_read | perms::group_exec | perms::others_read | perms::others_exec);
        if (std::system("runuser -u nobody -- true 2>/dev/null") != 0) {
            std::filesystem::remove_all(dir);
            GTEST_SKIP() << "running as root and cannot start a program as nobody (runuser)";
        }
        const std::string command =
            std::string("runuser -u nobody -- ") + CASESERVICE_BINARY + " --listen 127.0.0.1:0 --db " + file + " 2>&1";
        FILE* child = ::popen(command.c_str(), "r");
        ASSERT_NE(child, nullptr);
        std::string output;
        char buffer[512];
        while (std::fgets(buffer, sizeof buffer, child)) output += buffer;
        const int status = ::pclose(child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) != 0) << output;
        EXPECT_NE(output.find(file), std::string::npos) << output;
        EXPECT_NE(output.find("cannot be written"), std::string::npos) << output;
        EXPECT_EQ(output.find("listening"), std::string::npos) << output;
        std::filesystem::remove_all(dir);
        return;
    }
    std::filesystem::permissions(file, std::filesystem::perms::owner_read);
    try {
        SqliteCaseRepository store(file);
        ADD_FAILURE() << "a read-only database was opened for service";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find(file), std::string::npos) << e.what();
    }
    std::filesystem::remove_all(dir);
}

}  // namespace
