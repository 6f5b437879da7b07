// Load generator for a running qinglan-caseservice on 127.0.0.1 (never another host):
// registers and logs in a user, optionally stores N cases for that user, then drives login,
// the saves, the recent list, loads and searches with C keep-alive connections for a fixed
// time each and prints requests per second, latency percentiles and failures. Last, while
// 200 connections trickle their headers and a flood of wrong logins runs, it measures how
// long the recent list takes for an ordinary client.
#include "raw_connection.h"
#include "seeded_cases.h"

#include <httplib.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <iostream>
#include <random>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct Options {
    int port = 8080;
    int secondPort = 0;  // another instance on the same store: every other connection goes there
    int seed = 0;
    int connections = 32;
    int seconds = 10;
    std::string user = "bench";
    bool searchOnly = false;  // --runs search: only the keyword searches
    std::string only;         // --only TEXT: only the runs whose name holds TEXT, and no attack
};

std::string encode(const std::string& text) {
    static const char* hex = "0123456789ABCDEF";
    std::string out;
    for (const char c : text) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 33 || b > 127 || std::string_view("*#%<> []&").find(c) != std::string_view::npos)
            out += {'%', hex[b >> 4], hex[b & 15]};
        else
            out += c;
    }
    return out;
}

std::string body(const std::vector<std::pair<std::string, std::string>>& fields) {
    std::string out;
    for (const auto& [name, value] : fields) out += (out.empty() ? "" : "&") + name + "=" + encode(value);
    return out;
}

struct Result {
    std::vector<double> latenciesMs;
    long failures = 0;
};

// Runs `request` on C connections for the given seconds; each call returns true when the reply was right.
Result drive(const Options& options, const std::function<bool(httplib::Client&, std::mt19937&)>& request, int seconds,
             long maxRequests) {
    std::vector<Result> perThread(options.connections);
    std::atomic<long> issued{0};
    const auto stopAt = Clock::now() + std::chrono::seconds(seconds);
    std::vector<std::thread> threads;
    for (int t = 0; t < options.connections; ++t) {
        threads.emplace_back([&, t] {
            httplib::Client client("127.0.0.1", options.secondPort > 0 && t % 2 == 1 ? options.secondPort : options.port);
            client.set_keep_alive(true);
            client.set_tcp_nodelay(true);
            client.set_read_timeout(15, 0);
            std::mt19937 random(static_cast<unsigned>(t) * 7919u + 1);
            auto& mine = perThread[t];
            while (Clock::now() < stopAt && issued++ < maxRequests) {
                const auto start = Clock::now();
                const bool ok = request(client, random);
                mine.latenciesMs.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
                if (!ok) ++mine.failures;
            }
        });
    }
    for (auto& thread : threads) thread.join();
    Result all;
    for (auto& r : perThread) {
        all.latenciesMs.insert(all.latenciesMs.end(), r.latenciesMs.begin(), r.latenciesMs.end());
        all.failures += r.failures;
    }
    return all;
}

void report(const std::string& name, Result result, double seconds) {
    auto& l = result.latenciesMs;
    std::sort(l.begin(), l.end());
    const auto pct = [&](double p) {
        return l.empty() ? 0.0 : l[std::min(l.size() - 1, static_cast<std::size_t>(p * l.size()))];
    };
    std::printf("%-28s %8zu req %9.0f req/s  p50 %6.2f ms  p99 %6.2f ms  max %7.2f ms  failed %ld\n", name.c_str(),
                l.size(), l.size() / seconds, pct(0.50), pct(0.99), l.empty() ? 0.0 : l.back(), result.failures);
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        const int value = std::atoi(argv[i + 1]);
        if (option == "--port")
            options.port = value;
        else if (option == "--second-port")
            options.secondPort = value;
        else if (option == "--seed")
            options.seed = std::clamp(value, 0, 1000000);
        else if (option == "--connections")
            options.connections = std::clamp(value, 1, 256);
        else if (option == "--seconds")
            options.seconds = std::clamp(value, 1, 120);
        else if (option == "--user")
            options.user = argv[i + 1];
        else if (option == "--runs" && std::string_view(argv[i + 1]) == "search")
            options.searchOnly = true;
        else if (option == "--only")
            options.only = argv[i + 1];
        else {
            std::cerr
                << "usage: bench_caseservice [--port P] [--second-port P] [--seed N] [--connections C] [--seconds S]\n"
                   "                         [--user NAME] [--runs search] [--only TEXT]\n"
                   "Talks to 127.0.0.1 only.\n";
            return 2;
        }
    }
    const std::string pw = seeded::passwordDigest();
    const std::string& nm = options.user;
    httplib::Client setup("127.0.0.1", options.port);
    const auto type = "application/x-www-form-urlencoded";
    auto reg = setup.Post("/reg.php", body({{"nm", nm}, {"pw", pw}, {"shouji", "1"}, {"youxiang", ""}}), type);
    auto login = setup.Post("/login.php", body({{"nm", nm}, {"pw", pw}}), type);
    if (!reg || !login || !login->body.starts_with("ok") || !login->has_header("X-Qinglan-Session")) {
        std::cerr << "cannot log in as " << nm << " on 127.0.0.1:" << options.port << '\n';
        return 1;
    }
    const std::string digest = pw;
    std::string token = login->get_header_value("X-Qinglan-Session");

    if (options.seed > 0) {
        std::atomic<long> next{0};
        const auto start = Clock::now();
        const auto seeded = drive(
            options,
            [&](httplib::Client& client, std::mt19937& random) {
                const long n = next++;
                auto fields = std::vector<std::pair<std::string, std::string>>{
                    {"nm", nm},
                    {"save_gua_ming", "主卦：乾为天 变卦：天风姤"},
                    {"save_gua_bianhao", seeded::caseNumber(n)},
                    {"save_lei_id", std::to_string(1 + n % 8)},
                    {"save_nian", std::to_string(2000 + n % 25)},
                    {"save_yue", std::to_string(1 + n % 12)},
                    {"save_ri", std::to_string(1 + n % 28)},
                    {"save_xingbie", "男"},
                    {"save_chusheng", "1980"},
                    {"save_shiyou", seeded::matter(n)},
                    {"save_duanyu", seeded::judgment(random)},
                    {"save_fankui", seeded::feedback(n)},
                    {"save_b", "3"},
                    {"pw", token}};
                auto reply = client.Post("/saveduanyufankui.php", body(fields), type);
                return reply && reply->status == 200 && reply->body == "ok";
            },
            3600, options.seed);
        report("seed saveduanyufankui.php", seeded, std::chrono::duration<double>(Clock::now() - start).count());
    }

    auto recent = setup.Post("/cha.php", body({{"nm", nm}, {"wd", "list50"}, {"pw", token}}), type);
    if (!recent || recent->body.size() < 6) {
        std::cerr << "the user has no cases; run with --seed N first\n";
        return 1;
    }
    const long maxId = std::atol(recent->body.c_str() + 5);
    std::printf("user %s, newest case id %ld, %d connections, %d s per run\n", nm.c_str(), maxId, options.connections,
                options.seconds);

    const auto post = [&](httplib::Client& client, const std::string& path,
                          const std::vector<std::pair<std::string, std::string>>& fields, bool wantRows) {
        auto reply = client.Post(path.c_str(), body(fields), type);
        return reply && reply->status == 200 && (!wantRows || reply->body.starts_with("ok<t>"));
    };
    std::atomic<long> saves{0};
    const auto caseFields = [&](const std::string& key) {
        return std::vector<std::pair<std::string, std::string>>{{"nm", nm},
                                                                {"save_gua_ming", "主卦：乾为天 变卦：天风姤"},
                                                                {"save_gua_bianhao", key},
                                                                {"save_lei_id", "1"},
                                                                {"save_nian", "2030"},
                                                                {"save_yue", "1"},
                                                                {"save_ri", "1"},
                                                                {"save_xingbie", "男"},
                                                                {"save_chusheng", "1980"},
                                                                {"save_shiyou", "压测"}};
    };
    const std::vector<std::pair<std::string, std::function<bool(httplib::Client&, std::mt19937&)>>> runs = {
        {"login.php",
         [&](httplib::Client& c, std::mt19937&) {
             auto reply = c.Post("/login.php", body({{"nm", nm}, {"pw", digest}}), type);
             return reply && reply->status == 200 && reply->body.starts_with("ok");
         }},
        {"savegua.php",
         [&](httplib::Client& c, std::mt19937&) {
             auto fields = caseFields("bench-save-" + std::to_string(saves++));
             fields.emplace_back("pw", token);
             auto reply = c.Post("/savegua.php", body(fields), type);
             return reply && reply->status == 200 && reply->body == "ok";
         }},
        {"saveduanyufankui.php (texts)",
         [&](httplib::Client& c, std::mt19937& r) {
             auto fields = caseFields("bench-texts-" + std::to_string(saves++));
             fields.insert(fields.end(), {{"save_duanyu", seeded::judgment(r)},
                                          {"save_fankui", "应验"},
                                          {"save_b", "3"},
                                          {"pw", token}});
             auto reply = c.Post("/saveduanyufankui.php", body(fields), type);
             return reply && reply->status == 200 && reply->body == "ok";
         }},
        {"cha.php wd=list50",
         [&](httplib::Client& c, std::mt19937&) {
             return post(c, "/cha.php", {{"nm", nm}, {"wd", "list50"}, {"pw", token}}, true);
         }},
        {"loadgua.php (random id)",
         [&](httplib::Client& c, std::mt19937& r) {
             const long id = maxId - static_cast<long>(r() % 100000);
             return post(c, "/loadgua.php", {{"nm", nm}, {"guaid", std::to_string(std::max(1L, id))}, {"pw", token}},
                         true);
         }},
        {"cha.php wd=<common word>",
         [&](httplib::Client& c, std::mt19937& r) {
             return post(c, "/cha.php", {{"nm", nm}, {"wd", std::string(seeded::kWords[r() % seeded::kWords.size()])}, {"pw", token}}, true);
         }},
        {"cha.php wd=<common 1 char>",
         [&](httplib::Client& c, std::mt19937& r) {
             static const std::vector<std::string> common = {"官", "财", "神", "动"};
             return post(c, "/cha.php", {{"nm", nm}, {"wd", common[r() % common.size()]}, {"pw", token}}, true);
         }},
        {"cha.php wd=<common 2 chars>",
         [&](httplib::Client& c, std::mt19937& r) {
             static const std::vector<std::string> common = {"官鬼", "妻财", "用神", "旺相"};
             return post(c, "/cha.php", {{"nm", nm}, {"wd", common[r() % common.size()]}, {"pw", token}}, true);
         }},
        {"cha.php wd=<one case>",
         [&](httplib::Client& c, std::mt19937& r) {
             const std::string wd = "第" + std::to_string(r() % 100000) + "号";
             return post(c, "/cha.php", {{"nm", nm}, {"wd", wd}, {"pw", token}}, false);
         }},
        {"cha.php wd=<rare 1-2 chars>",
         [&](httplib::Client& c, std::mt19937& r) {
             static const std::vector<std::string> rare = {"祟", "魁", "蛊惑", "雷劫"};
             return post(c, "/cha.php", {{"nm", nm}, {"wd", rare[r() % rare.size()]}, {"pw", token}}, false);
         }},
    };
    // Keywords of 1, 2, 3 and 5 characters, found in many cases and in none (the seeded texts are
    // kWords joined by "，").
    const std::vector<std::pair<std::string, std::string>> keywords = {
        {"1 char present", "财"},        {"1 char absent", "龘"},         {"2 chars present", "官鬼"},
        {"2 chars absent", "鬼官"},      {"3 chars present", "官鬼持"},   {"3 chars absent", "持世官"},
        {"5 chars present", "官鬼持世，"}, {"5 chars absent", "官鬼持世财"}};
    if (options.searchOnly) {
        for (const auto& [name, keyword] : keywords) {
            const auto start = Clock::now();
            const auto result = drive(
                options,
                [&, keyword = keyword](httplib::Client& c, std::mt19937&) {
                    return post(c, "/cha.php", {{"nm", nm}, {"wd", keyword}, {"pw", token}}, false);
                },
                options.seconds, 10'000'000);
            report("cha.php " + name, result, std::chrono::duration<double>(Clock::now() - start).count());
        }
        return 0;
    }
    for (const auto& [name, request] : runs) {
        if (!options.only.empty() && name.find(options.only) == std::string::npos) continue;
        const auto start = Clock::now();
        const auto result = drive(options, request, options.seconds, 10'000'000);
        report(name, result, std::chrono::duration<double>(Clock::now() - start).count());
        if (name == "login.php") {
            // Each login opened a session and the service keeps only the newest few per
            // account: the later runs use one opened after them.
            auto again = setup.Post("/login.php", body({{"nm", nm}, {"pw", digest}}), type);
            if (!again || !again->has_header("X-Qinglan-Session")) {
                std::cerr << "cannot log in again\n";
                return 1;
            }
            token = again->get_header_value("X-Qinglan-Session");
        }
    }

    if (!options.only.empty()) return 0;

    // Under attack: 200 connections trickling their headers (from four loopback networks, 50
    // each) and 8 connections of wrong logins, while one ordinary client asks for its list.
    using qinglan::caseservice::testing::RawConnection;
    std::atomic<bool> attacking{true};
    std::atomic<long> wrongLogins{0};
    std::vector<std::thread> attackers;
    attackers.emplace_back([&] {
        std::vector<std::unique_ptr<RawConnection>> slow;
        for (int i = 0; i < 200; ++i) {
            slow.push_back(std::make_unique<RawConnection>(options.port, "127.0." + std::to_string(20 + i % 4) + ".1"));
            slow.back()->send("POST /cha.php HTTP/1.1\r\nHost: x\r\n");
        }
        for (int tick = 0; attacking; ++tick) {
            for (auto& connection : slow) connection->send("X");
            std::this_thread::sleep_for(std::chrono::milliseconds(500));
        }
    });
    for (int t = 0; t < 8; ++t) {
        attackers.emplace_back([&, t] {
            httplib::Client client("127.0.0.1", options.port);
            client.set_keep_alive(true);
            const std::string wrong = seeded::md5Hex(seeded::md5Hex("guess"));
            while (attacking) {
                client.Post("/login.php", body({{"nm", nm + std::to_string(t)}, {"pw", wrong}}), type);
                ++wrongLogins;
            }
        });
    }
    std::this_thread::sleep_for(std::chrono::seconds(1));
    Options single = options;
    single.connections = 1;
    const auto start = Clock::now();
    const auto underAttack = drive(
        single,
        [&](httplib::Client& c, std::mt19937&) {
            return post(c, "/cha.php", {{"nm", nm}, {"wd", "list50"}, {"pw", token}}, true);
        },
        options.seconds, 10'000'000);
    report("list50 under attack (1 conn)", underAttack, std::chrono::duration<double>(Clock::now() - start).count());
    attacking = false;
    for (auto& attacker : attackers) attacker.join();
    std::printf("wrong logins sent during the attack: %ld\n", wrongLogins.load());
    return 0;
}
