// Names that look alike or differ only in case meet one account; the look-alike comparison sees
// the name before its case is folded, where a capital I still looks like an l.
#include "model/account_name.h"
#include "service_harness.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>

using namespace qinglan::caseservice;
using namespace qinglan::caseservice::testing;

namespace {

struct NamePair {
    const char* existing;
    const char* candidate;
    bool refused;  // registering the candidate while the existing account is there
};

const NamePair kPairs[] = {
    {"alice", "aIice", true},  // capital I for l
    {"alice", "AIice", true},      {"paypal", "paypaI", true}, {"PayPal", "paypaI", true},
    {"modern", "rnodern", true},                            // rn for m
    {"Modern", "rnodern", true},                            // ... also when the m is a capital
    {"google", "g0ogle", true},                             // zero for o
    {"GOOGLE", "g00gle", true},    {"bill", "bi1l", true},  // one for l
    {"bill", "BILL", true},                                 // case alone
    {"alice", "ａｌｉｃｅ", true},                          // full width
    {"Ivan", "lvan", true},        {"alice", "alicia", false}, {"tom", "tim", false},
    {"bill", "bi11y", false},      {"张三", "张三丰", false},
};

TEST(AccountNames, LookAlikeNamesAreRefusedBeforeCaseIsFolded) {
    for (const auto& p : kPairs) {
        std::string why;
        const auto existing = accountNameForRegistration(p.existing, why);
        const auto candidate = accountNameForRegistration(p.candidate, why);
        ASSERT_TRUE(existing && candidate) << p.existing << " / " << p.candidate << ": " << why;
        EXPECT_EQ(existing->key == candidate->key || existing->lookalike == candidate->lookalike, p.refused)
            << p.existing << " / " << p.candidate;
    }
}

TEST(AccountNames, LoggingInStillFoldsCase) {
    std::string why;
    for (const char* typed : {"ivan", "IVAN", "Ivan"})
        EXPECT_EQ(accountNameKey(typed), accountNameForRegistration("Ivan", why)->key) << typed;
}

TEST(AccountNames, ServiceRefusesALookAlikeRegistration) {
    RunningService service;
    const std::string digest = passwordDigest("secret");
    for (const char* nm : {"alice", "paypal"})
        ASSERT_EQ(service.post("reg.php", {{"nm", nm}, {"pw", digest}, {"shouji", "1"}, {"youxiang", ""}}), "ok");
    for (const char* nm : {"aIice", "paypaI"})
        EXPECT_EQ(service.post("reg.php", {{"nm", nm}, {"pw", digest}, {"shouji", "1"}, {"youxiang", ""}}), "no") << nm;
}

// A file of the version before look-alike keys, where "alice" and "aIice" both have accounts:
// both still log in after the update, and a further look-alike is refused.
TEST(AccountNames, AnEarlierFileKeepsItsLookAlikeAccountsAndRefusesNewOnes) {
    const std::string digest = passwordDigest("secret");
    const auto copy = std::filesystem::temp_directory_path() / ("qinglan-names-" + std::to_string(::getpid()) + ".db");
    std::filesystem::remove(copy);
    {
        RunningService earlier;
        earlier.registerUser("alice", "secret");
        earlier.sql("INSERT INTO users(nm, nm_key, nm_lookalike, pwhash) SELECT 'aIice', '" + *accountNameKey("aIice") +
                    "', 'x', pwhash FROM users");
        for (const char* step : {"DROP INDEX users_nm_lookalike", "ALTER TABLE users DROP COLUMN nm_lookalike",
                                 "DROP TABLE device_tokens", "PRAGMA user_version = 1"})
            earlier.sql(step);
        earlier.sql("VACUUM INTO '" + copy.string() + "'");
    }
    {
        RunningService updated(Database{Backend::Sqlite, copy.string()});
        for (const char* nm : {"alice", "aIice"}) EXPECT_FALSE(updated.logIn(nm, digest).empty()) << nm;
        for (const auto& [nm, reply] : {std::pair{"AIice", "no"}, std::pair{"bob", "ok"}})
            EXPECT_EQ(updated.post("reg.php", {{"nm", nm}, {"pw", digest}, {"shouji", "1"}, {"youxiang", ""}}), reply)
                << nm;
    }
    std::filesystem::remove(copy);
}

TEST(PostgreSQLAccountNames, AnEarlierDatabaseKeepsItsLookAlikeAccountsAndRefusesNewOnes) {
    const std::string digest = passwordDigest("secret");
    RunningService earlier{Database{Backend::Postgresql}};
    earlier.registerUser("alice", "secret");
    earlier.sql("INSERT INTO users(nm, nm_key, nm_lookalike, pwhash) SELECT 'aIice', '" + *accountNameKey("aIice") +
                "', 'x', pwhash FROM users");
    for (const char* step : {"ALTER TABLE users DROP COLUMN nm_lookalike", "DROP TABLE device_tokens",
                             "DELETE FROM qinglan_schema_version WHERE version >= 2"})
        earlier.sql(step);

    RunningService updated(earlier.database());
    for (const char* nm : {"alice", "aIice"}) EXPECT_FALSE(updated.logIn(nm, digest).empty()) << nm;
    for (const auto& [nm, reply] : {std::pair{"AIice", "no"}, std::pair{"bob", "ok"}})
        EXPECT_EQ(updated.post("reg.php", {{"nm", nm}, {"pw", digest}, {"shouji", "1"}, {"youxiang", ""}}), reply)
            << nm;
}

}  // namespace
