// Password checks under attack: the order the fair queue takes networks in, a login flood from
// many networks, and the audit lines of throttled guesses.
#include "http/fair_queue.h"
#include "raw_connection.h"
#include "service_harness.h"

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <csignal>
#include <filesystem>
#include <mutex>
#include <thread>

using namespace qinglan::caseservice;
using namespace qinglan::caseservice::testing;
using namespace std::chrono_literals;

namespace {

TEST(FairQueue, TakesNetworksInTurnWithinItsBounds) {
    struct Case {
        const char* what;
        std::size_t limit;
        std::size_t perKey;
        // "a1": item a1 queued under key a; "-": one item taken. Whatever is left is taken at the end.
        std::vector<std::string> steps;
        // Items in the order taken; "!x": x refused when queued or pushed out.
        std::string taken;
    };
    const std::vector<Case> cases = {
        {"one key: first in, first out", 10, 10, {"a1", "a2", "a3"}, "a1 a2 a3"},
        {"keys take turns", 10, 10, {"a1", "a2", "a3", "b1", "b2", "c1"}, "a1 b1 c1 a2 b2 a3"},
        {"a newcomer goes ahead of keys still waiting for this round's turn",
         10,
         10,
         {"a1", "a2", "b1", "b2", "c1", "c2", "-", "-", "-", "-", "a3", "d1"},
         "a1 b1 c1 a2 d1 b2 c2 a3"},
        {"asking again at once wins no head start", 10, 10, {"a1", "b1", "c1", "-", "a2", "d1"}, "a1 b1 c1 d1 a2"},
        {"a key that sat out while others were busy still goes behind one that has not asked",
         10,
         10,
         {"a1", "-", "b1", "b2", "b3", "-", "-", "-", "a2", "c1"},
         "a1 b1 b2 b3 c1 a2"},
        {"a key's own bound refuses its next item", 10, 2, {"a1", "a2", "a3", "b1"}, "!a3 a1 b1 a2"},
        {"when all is full the longest line gives way, a line as short as the others does not",
         3,
         3,
         {"a1", "a2", "b1", "c1", "b2"},
         "!a2 !b2 a1 b1 c1"},
    };
    for (const auto& c : cases) {
        FairQueue<std::string> queue(c.limit, c.perKey);
        std::string taken;
        const auto note = [&taken](const std::string& item) { taken += (taken.empty() ? "" : " ") + item; };
        for (const auto& step : c.steps) {
            if (step == "-") {
                note(queue.pop().value_or("(none)"));
            } else if (auto refused = queue.push(step.substr(0, 1), step)) {
                EXPECT_EQ(refused->key, refused->item.substr(0, 1)) << c.what;
                note("!" + refused->item);
            }
        }
        while (auto item = queue.pop()) note(*item);
        EXPECT_EQ(taken, c.taken) << c.what;
    }
}

// One request on a connection of its own from the source address; the reply body.
std::string postFrom(int port, const std::string& address, const std::string& endpoint, const Fields& fields) {
    RawConnection connection(port, address);
    connection.send(postRequest(endpoint, clientFormBody(fields), false));
    const auto replies = connection.responses(1, 30s);
    return replies.empty() ? "(no reply)" : replies[0];
}

TEST(PasswordGuessing, EachThrottledGuessIsLoggedWithItsNetworkNotTheName) {
    RunningService service;
    service.registerUser("受害者", "right");
    struct Case {
        const char* what;
        std::string address;
        std::string endpoint;
        Fields (*fields)(int attempt);
    };
    const std::vector<Case> cases = {
        {"login", "127.0.0.2", "login.php",
         [](int) {
             return Fields{{"nm", "受害者"}, {"pw", passwordDigest("wrong")}};
         }},
        {"registration", "127.0.0.3", "reg.php",
         [](int i) {
             return Fields{
                 {"nm", "新人" + std::to_string(i)}, {"pw", passwordDigest("p")}, {"shouji", "1"}, {"youxiang", ""}};
         }},
    };
    for (const auto& c : cases) {
        ::testing::internal::CaptureStderr();
        int refused = 0;
        for (int i = 0; i < 40 && refused < 2; ++i)
            refused +=
                postFrom(service.port(), c.address, c.endpoint, c.fields(i)).find("秒后再试") != std::string::npos;
        const std::string line =
            "qinglan-caseservice: audit login_throttled network=127.0.0.0/24 " + std::string(c.what);
        EXPECT_EQ(::testing::internal::GetCapturedStderr(), line + "\n" + line + "\n") << "after two refusals";
    }
}

// 40 networks send wrong logins without pause, two at a time each, every one from a new address
// of the network and for a new name, so that no throttle holds them back. A login from another
// network waits for a worker to come free and for its own check: about two hash times, where
// one line for all made it wait for every guess queued before it.
TEST(PasswordHashing, ManyNetworkLoginFloodDelaysAnotherNetworksLoginByAboutOneHash) {
    constexpr int kNetworks = 40;
    constexpr int kPerNetwork = 2;
    const auto db = std::filesystem::temp_directory_path() / ("qinglan-networks-" + std::to_string(::getpid()) + ".db");
    auto child = startServiceBinary({"--listen", "127.0.0.1:0", "--db", db.string(), "--pwhash-limits", "interactive"});
    const int port = announcedPort(child);
    ASSERT_GT(port, 0);
    const std::string digest = passwordDigest("secret");
    ASSERT_EQ(
        postFrom(port, "127.0.0.1", "reg.php", {{"nm", "常客"}, {"pw", digest}, {"shouji", "1"}, {"youxiang", ""}}),
        "ok");

    std::mutex mutex;
    std::condition_variable answeredMore;
    int answered = 0;
    std::atomic<bool> flooding{true};
    std::vector<std::thread> flood;
    for (int n = 0; n < kNetworks * kPerNetwork; ++n) {
        flood.emplace_back([&, n] {
            const std::string network = "127.1." + std::to_string(1 + n / kPerNetwork) + ".";
            const std::string wrong = passwordDigest("guess");
            for (int i = 0; flooding; ++i) {
                const std::string address = network + std::to_string(1 + (i * kPerNetwork + n % kPerNetwork) % 250);
                const auto reply = postFrom(port, address, "login.php",
                                            {{"nm", "猜" + std::to_string(n * 100000 + i)}, {"pw", wrong}});
                if (reply != "no") continue;
                std::lock_guard lock(mutex);
                ++answered;
                answeredMore.notify_all();
            }
        });
    }
    const auto awaitAnswers = [&](int count) {
        std::unique_lock lock(mutex);
        return answeredMore.wait_for(lock, 120s, [&] { return answered >= count; });
    };
    // Once as many guesses are answered as there are networks, each network has had a check and
    // has more waiting (the first guesses of 40 networks and a user's login are alike). The time
    // a check takes under this load follows from how fast the workers answer the next ones.
    const int workers = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    std::chrono::steady_clock::duration hashTime{};
    std::chrono::steady_clock::duration loginTime{};
    std::string reply = "(the flood never got going)";
    if (awaitAnswers(kNetworks)) {
        const auto windowStart = std::chrono::steady_clock::now();
        if (awaitAnswers(kNetworks + 4 * workers)) {
            hashTime = (std::chrono::steady_clock::now() - windowStart) / 4;
            const auto loginStart = std::chrono::steady_clock::now();
            reply = postFrom(port, "127.0.0.1", "login.php", {{"nm", "常客"}, {"pw", digest}});
            loginTime = std::chrono::steady_clock::now() - loginStart;
        }
    }
    flooding = false;
    kill(child.pid, SIGTERM);
    for (auto& thread : flood) thread.join();
    EXPECT_TRUE(reply.starts_with("ok")) << reply;
    const auto ms = [](auto duration) {
        return std::chrono::duration_cast<std::chrono::milliseconds>(duration).count();
    };
    EXPECT_LT(loginTime, 3 * hashTime + 500ms)
        << "login took " << ms(loginTime) << " ms; a password check takes " << ms(hashTime) << " ms";
    EXPECT_EQ(waitForExit(child.pid, 10s), 0);
    fclose(child.out);
    for (const char* suffix : {"", "-wal", "-shm"}) std::filesystem::remove(db.string() + suffix);
}

}  // namespace
