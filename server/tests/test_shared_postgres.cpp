// Several service instances on one PostgreSQL database, as behind a load balancer, and search
// compared with a literal scan of what was stored.
#include "service_harness.h"
#include "store/postgresql/pg_pool.h"
#include "store/postgresql/postgres_case_repository.h"
#include "test_postgres_cluster.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <random>
#include <set>
#include <thread>

using namespace qinglan::caseservice;
using namespace qinglan::caseservice::testing;

namespace {

Fields with(Fields fields, const std::string& pw) {
    fields.emplace_back("pw", pw);
    return fields;
}

Fields textsSave(const std::string& nm, const std::string& bianhao, const std::string& judgment,
                 const std::string& feedback, const std::string& which, const std::string& pw) {
    auto fields = caseFields(nm, bianhao, "问事");
    fields.insert(fields.end(), {{"save_duanyu", judgment}, {"save_fankui", feedback}, {"save_b", which}, {"pw", pw}});
    return fields;
}

// The case numbers of a case list reply, in reply order.
std::vector<std::string> caseNumbers(const std::string& reply) {
    std::vector<std::string> out;
    for (const auto& row : readList(reply, 4, 3001)) out.push_back(row[1]);
    return out;
}

TEST(PostgreSQLSharedStore, WhatOneInstanceSavesTheOtherReadsAtOnce) {
    RunningService a(Backend::Postgresql);
    RunningService b(a.database());
    const std::string digest = a.registerUser("张三", "secret");
    const std::string token = b.logIn("张三", digest);  // registered through one, logged in through the other
    ASSERT_FALSE(token.empty());
    EXPECT_EQ(b.post("reg.php", {{"nm", "张三"}, {"pw", digest}, {"shouji", "1"}, {"youxiang", ""}}), "no")
        << "the name is taken on both";

    ASSERT_EQ(a.post("savegua.php", with(caseFields("张三", "k1", "问财运"), token)), "ok");
    const auto rows = readList(b.post("cha.php", {{"nm", "张三"}, {"wd", "list50"}, {"pw", token}}), 4, 102);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][1], "k1");
    const std::string id = rows[0][0];

    ASSERT_EQ(b.post("saveduanyufankui.php", textsSave("张三", "k1", "断：可得", "已应验", "3", token)), "ok");
    EXPECT_EQ(a.post("getduanyufankui.php", {{"nm", "张三"}, {"id", id}, {"pw", token}}), "断：可得<tr>已应验");
    EXPECT_EQ(caseNumbers(a.post("cha.php", {{"nm", "张三"}, {"wd", "应验"}, {"pw", token}})),
              std::vector<std::string>{"k1"});
}

TEST(PostgreSQLSharedStore, ConcurrentSavesThroughBothInstancesLoseNothing) {
    RunningService a(Backend::Postgresql);
    RunningService b(a.database());
    const std::string token = a.registerAndLogIn("张三", "secret");
    constexpr int kClients = 8;  // half on each instance
    constexpr int kEach = 30;
    constexpr int kShared = 10;  // case numbers every client saves texts under at once
    std::atomic<int> failures{0};
    std::vector<std::thread> clients;
    for (int c = 0; c < kClients; ++c) {
        clients.emplace_back([&, c] {
            const RunningService& through = c % 2 == 0 ? a : b;
            for (int i = 0; i < kEach; ++i) {
                const std::string own = "c" + std::to_string(c) + "-" + std::to_string(i);
                const auto reply =
                    i % 2 == 0
                        ? through.postRaw("savegua.php", clientFormBody(with(caseFields("张三", own, "并发"), token)))
                        : through.postRaw("saveduanyufankui.php",
                                          clientFormBody(textsSave("张三", own, own, "", "1", token)));
                if (reply.body != "ok") ++failures;
                const std::string shared = "shared-" + std::to_string(i % kShared);
                if (through
                        .postRaw("saveduanyufankui.php",
                                 clientFormBody(textsSave("张三", shared, "d" + std::to_string(c), "", "1", token)))
                        .body != "ok")
                    ++failures;
            }
        });
    }
    for (auto& client : clients) client.join();
    EXPECT_EQ(failures.load(), 0);

    const auto numbers = caseNumbers(
        b.post("gualist.php", {{"nm", "张三"}, {"fenlei", "-1"}, {"nian", "2024"}, {"yue", "3"}, {"pw", token}}));
    const std::multiset<std::string> all(numbers.begin(), numbers.end());
    EXPECT_EQ(numbers.size(), static_cast<std::size_t>(kClients * kEach + kShared));
    for (int c = 0; c < kClients; ++c)
        for (int i = 0; i < kEach; ++i)
            EXPECT_EQ(all.count("c" + std::to_string(c) + "-" + std::to_string(i)), 1u) << c << "-" << i;
    for (int s = 0; s < kShared; ++s)
        EXPECT_EQ(all.count("shared-" + std::to_string(s)), 1u) << "texts saved at once under one number make one case";
    // A text saved through one instance is found through the other.
    EXPECT_EQ(caseNumbers(a.post("cha.php", {{"nm", "张三"}, {"wd", "c7-29"}, {"pw", token}})),
              std::vector<std::string>{"c7-29"});
}

TEST(PostgreSQLSharedStore, RenamesPasswordChangesAndLogoutsTakeEffectOnBoth) {
    RunningService a(Backend::Postgresql);
    RunningService b(a.database());
    const std::string oldDigest = a.registerUser("张三", "old");
    const std::string onA = a.logIn("张三", oldDigest);
    const std::string onB = b.logIn("张三", oldDigest);
    const auto works = [](const RunningService& service, const std::string& token) {
        return service.post("nian.php", {{"nm", "张三"}, {"fenlei", "-1"}, {"pw", token}}) != "no";
    };
    ASSERT_TRUE(works(a, onB) && works(b, onA)) << "a session opened on one is valid on the other";

    ASSERT_EQ(
        a.post("changeleiming.php", {{"nm", "张三"}, {"lei_bendi_id", "4"}, {"lei_mingcheng", "求官"}, {"pw", onA}}),
        "ok");
    EXPECT_TRUE(b.post("login.php", {{"nm", "张三"}, {"pw", oldDigest}}).ends_with("<t>求官<t>4<t>"));

    const std::string leaving = a.logIn("张三", oldDigest);
    ASSERT_EQ(b.post("logout.php", {{"nm", "张三"}, {"pw", leaving}}), "ok");
    EXPECT_FALSE(works(a, leaving)) << "logged out through the other instance";

    const std::string newDigest = passwordDigest("new");
    const auto changed =
        b.postRaw("changpw.php", clientFormBody({{"nm", "张三"}, {"oldpw", oldDigest}, {"newpw", newDigest}}));
    ASSERT_EQ(changed.body, "ok");
    EXPECT_FALSE(works(a, onA)) << "sessions end on both with the password change";
    EXPECT_FALSE(works(a, onB));
    EXPECT_TRUE(works(a, changed.sessionToken));
    EXPECT_EQ(a.post("login.php", {{"nm", "张三"}, {"pw", oldDigest}}), "no");
    EXPECT_TRUE(a.post("login.php", {{"nm", "张三"}, {"pw", newDigest}}).starts_with("ok"));
}

// ASCII letters folded to lower case, nothing else: the rule search compares by.
std::string foldAscii(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

class SearchByKeywordLength : public OnEachStore {};

TEST_P(SearchByKeywordLength, FindsExactlyWhatALiteralScanFinds) {
    RunningService service{GetParam()};
    const std::string token = service.registerAndLogIn("张三", "secret");
    // Few characters, so that keywords of every length meet many cases and many near misses:
    // letters in both cases, a non-ASCII letter that must not be folded, LIKE's wildcards and
    // its escape character.
    const std::vector<std::string> alphabet = {"财", "官", "父", "兄", "a", "A", "b", "É", "é", "%", "_", "\\", "x"};
    std::mt19937 random(20240315);
    const auto text = [&](int most) {
        std::string out;
        for (int n = static_cast<int>(random() % (most + 1)); n > 0; --n) out += alphabet[random() % alphabet.size()];
        return out;
    };
    struct Stored {
        std::string bianhao;
        std::vector<std::string> fields;  // name, matter, judgment, feedback
    };
    std::vector<Stored> stored;
    for (int i = 0; i < 80; ++i) {
        Stored c{"n" + std::to_string(i), {text(4), text(8), text(10), text(6)}};
        auto fields = textsSave("张三", c.bianhao, c.fields[2], c.fields[3], "3", token);
        fields[1].second = c.fields[0];  // save_gua_ming
        fields[9].second = c.fields[1];  // save_shiyou
        ASSERT_EQ(service.post("saveduanyufankui.php", fields), "ok");
        stored.push_back(c);
    }
    // Every piece of one to four characters of some stored texts, and a few found nowhere.
    std::set<std::string> keywords = {"兄兄兄兄兄", "zz", "q"};
    for (int i = 0; i < 12; ++i) {
        std::vector<std::string> characters;
        for (const std::string& field : stored[static_cast<std::size_t>(i)].fields)
            for (std::size_t at = 0; at < field.size();) {
                const std::size_t width = (static_cast<unsigned char>(field[at]) < 0x80)   ? 1
                                          : (static_cast<unsigned char>(field[at]) < 0xE0) ? 2
                                                                                           : 3;
                characters.push_back(field.substr(at, width));
                at += width;
            }
        for (std::size_t from = 0; from < characters.size(); ++from) {
            std::string keyword;
            for (std::size_t length = 1; length <= 4 && from + length <= characters.size(); ++length)
                keywords.insert(keyword += characters[from + length - 1]);
        }
    }
    for (const std::string& keyword : keywords) {
        std::vector<std::string> expected;  // newest first
        for (auto c = stored.rbegin(); c != stored.rend(); ++c)
            for (const auto& field : c->fields)
                if (foldAscii(field).find(foldAscii(keyword)) != std::string::npos) {
                    expected.push_back(c->bianhao);
                    break;
                }
        EXPECT_EQ(caseNumbers(service.post("cha.php", {{"nm", "张三"}, {"wd", keyword}, {"pw", token}})), expected)
            << "keyword " << keyword;
    }
}

QINGLAN_ON_EACH_STORE(SearchByKeywordLength);

TEST(PostgreSQLBounds, StatementsStopAtTheirTimeLimitAndAtShutdown) {
    const std::string uri = TestPostgres::instance().freshDatabase();
    PgPoolSettings settings;
    settings.statementTimeout = std::chrono::milliseconds(300);
    settings.maxConnections = 2;
    settings.waitForConnection = std::chrono::milliseconds(200);
    PgPool pool(uri, settings);
    // Cut at its time limit: without it the statement would end after 30 s without an error.
    try {
        pool.acquire()->execute("SELECT pg_sleep(30)");
        ADD_FAILURE() << "a statement ran past its time";
    } catch (const PgError& e) {
        EXPECT_TRUE(e.cancelled()) << e.what();
    }

    // Both connections busy: the third caller gives up instead of queueing for ever.
    {
        auto first = pool.acquire();
        auto second = pool.acquire();
        EXPECT_THROW(pool.acquire(), std::runtime_error);
    }

    // Shutdown cuts short what runs now, even a statement allowed to run long, and lends nothing more.
    auto patient = pool.acquire();
    patient->execute("SET statement_timeout = 0");
    std::thread stopper([&] {
        // Once the statement runs (seen from a connection of its own), the pool stops.
        PgConnection watcher(uri, std::chrono::seconds(10));
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (std::chrono::steady_clock::now() < deadline &&
               watcher.execute("SELECT count(*) FROM pg_stat_activity WHERE state = 'active' AND "
                               "query = 'SELECT pg_sleep(30)'")
                       .integer(0, 0) == 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        pool.stop();
    });
    EXPECT_THROW(patient->execute("SELECT pg_sleep(30)"), PgError);
    stopper.join();
    EXPECT_THROW(pool.acquire(), std::runtime_error);
}

}  // namespace

namespace {

TEST(PostgreSQLSchema, DatabasesItCannotUseAreRefusedAndLeftAsTheyWere) {
    auto& cluster = TestPostgres::instance();
    struct Case {
        const char* what;
        std::string setup;  // SQL run on a fresh database first
        std::string refusal;
    };
    const std::vector<Case> cases = {
        {"another program's tables", "CREATE TABLE users (id int, name text)", "another program"},
        {"a newer schema",
         "CREATE TABLE qinglan_schema_version (version integer NOT NULL); "
         "INSERT INTO qinglan_schema_version VALUES (99)",
         "newer"},
    };
    for (const auto& c : cases) {
        const std::string uri = cluster.freshDatabase();
        const std::string name = uri.substr(uri.rfind('/') + 1);
        cluster.psql(name, c.setup);
        try {
            PostgresCaseRepository store(uri);
            ADD_FAILURE() << c.what << " was accepted";
        } catch (const std::runtime_error& e) {
            EXPECT_NE(std::string(e.what()).find(c.refusal), std::string::npos) << c.what << ": " << e.what();
        }
        EXPECT_EQ(cluster.psql(name, "SELECT count(*) FROM pg_tables WHERE schemaname = 'public'"), "1\n") << c.what;
    }
    // A database of its own opens any number of times, the schema made once.
    const std::string uri = cluster.freshDatabase();
    { PostgresCaseRepository first(uri); }
    PostgresCaseRepository second(uri);
    EXPECT_EQ(cluster.psql(uri.substr(uri.rfind('/') + 1),
                           "SELECT count(*) - count(DISTINCT version) FROM qinglan_schema_version"),
              "0\n");
}

}  // namespace
