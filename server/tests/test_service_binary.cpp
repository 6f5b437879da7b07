// The built qinglan-caseservice: options, configuration file, start message, access log,
// serving, clean stop on a signal.
#include "http/tls_credentials.h"
#include "model/account_name.h"
#include "service_harness.h"
#include "store/sqlite/sqlite_case_repository.h"

#include <gtest/gtest.h>
#include <httplib.h>
#include <netinet/in.h>
#include <sqlite3.h>
#include <sys/socket.h>

#include <csignal>
#include <cstdlib>
#include <fstream>
#include <thread>

using namespace qinglan::caseservice;
using namespace qinglan::caseservice::testing;

namespace {

// Everything the process writes until it ends.
std::string readToEnd(FILE* out) {
    std::string text;
    char chunk[4096];
    std::size_t got = 0;
    while ((got = fread(chunk, 1, sizeof chunk, out)) > 0) text.append(chunk, got);
    return text;
}

TEST(ServiceBinary, AnnouncesItsAddressServesAndStopsCleanly) {
    const auto db = std::filesystem::temp_directory_path() / ("qinglan-binary-" + std::to_string(::getpid()) + ".db");
    for (const int stopSignal : {SIGTERM, SIGINT}) {
        // Port 0: the system picks a free one, and the start message tells which.
        auto child = startServiceBinary({"--listen", "127.0.0.1:0", "--db", db.string(), "--message", "你好",
                                         "--offer-version", "3", "--pwhash-limits", "minimum"});
        ASSERT_GT(child.pid, 0);
        char line[512] = {};
        ASSERT_NE(fgets(line, sizeof line, child.out), nullptr);
        const std::string message(line);
        const auto at = message.find("http://127.0.0.1:");
        ASSERT_NE(at, std::string::npos) << message;
        const int port = std::atoi(message.c_str() + at + 17);
        ASSERT_GT(port, 0) << message;

        httplib::Client client("127.0.0.1", port);
        const std::string digest = passwordDigest("pw");
        auto reg =
            client.Post("/reg.php", clientFormBody({{"nm", "u"}, {"pw", digest}, {"shouji", "1"}, {"youxiang", ""}}),
                        "application/x-www-form-urlencoded");
        ASSERT_TRUE(reg);
        EXPECT_TRUE(reg->body == "ok" || reg->body == "no") << reg->body;  // "no" on the second round
        auto login = client.Post("/login.php", clientFormBody({{"nm", "u"}, {"pw", digest}}),
                                 "application/x-www-form-urlencoded");
        ASSERT_TRUE(login);
        EXPECT_TRUE(login->body.starts_with("ok<t>%4F60%597D<msg><url>3<v><t>")) << login->body;

        kill(child.pid, stopSignal);
        EXPECT_EQ(waitForExit(child.pid), 0) << "signal " << stopSignal;
        fclose(child.out);
    }
    for (const char* suffix : {"", "-wal", "-shm"}) std::filesystem::remove(db.string() + suffix);
}

// A file of an earlier version gets its keyword index built while the service opens it, which
// takes long for many cases. A stop meanwhile ends the service at once, and the file is left as
// it was: every case there, no half-built index.
TEST(ServiceBinary, StopsAtOnceWhileBuildingTheIndexOfAnOlderFile) {
    const auto db =
        std::filesystem::temp_directory_path() / ("qinglan-binary-opening-" + std::to_string(::getpid()) + ".db");
    for (const char* suffix : {"", "-wal", "-shm"}) std::filesystem::remove(db.string() + suffix);
    constexpr int kCases = 60000;
    {
        SqliteCaseRepository store(db.string());
        std::string why;
        store.createUser(*accountNameForRegistration("older", why), "hash", "", "");
    }
    {
        sqlite3* file = nullptr;
        ASSERT_EQ(sqlite3_open(db.string().c_str(), &file), SQLITE_OK);
        const std::string judgment = std::string(100, 'x') + "官鬼持世，妻财发动" + std::string(100, 'y');
        const std::string script =
            "DROP TRIGGER case_grams_delete; DROP TABLE case_grams; DROP TABLE case_grams_short;"
            "DROP VIEW case_grams_texts; PRAGMA user_version=0;"
            "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < " +
            std::to_string(kCases) +
            ") INSERT INTO gua_table(user_id, gua_ming, gua_bianhao, shiyou, duanyu) "
            "SELECT 1, '乾为天', 'N' || i, '问财' || i, '" +
            judgment + "' FROM n;";
        ASSERT_EQ(sqlite3_exec(file, script.c_str(), nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(file);
        sqlite3_close(file);
    }
    auto child = startServiceBinary({"--listen", "127.0.0.1:0", "--db", db.string()}, true);
    ASSERT_GT(child.pid, 0);
    // Stopped once it says it is building the index.
    std::string output;
    char line[512] = {};
    while (output.find("building the keyword index") == std::string::npos && fgets(line, sizeof line, child.out))
        output += line;
    ASSERT_NE(output.find("building the keyword index of " + std::to_string(kCases) + " cases"), std::string::npos)
        << output;
    kill(child.pid, SIGTERM);
    const int status = waitForExit(child.pid, std::chrono::seconds(60));
    output += readToEnd(child.out);
    EXPECT_EQ(status, 1) << output;
    EXPECT_NE(output.find("stopped while opening the database"), std::string::npos) << output;
    EXPECT_EQ(output.find("listening on"), std::string::npos) << "opened in full before the stop\n" << output;
    fclose(child.out);

    sqlite3* file = nullptr;
    ASSERT_EQ(sqlite3_open(db.string().c_str(), &file), SQLITE_OK);
    const auto single = [&](const char* sql) {
        sqlite3_stmt* stmt = nullptr;
        sqlite3_prepare_v2(file, sql, -1, &stmt, nullptr);
        std::string value = sqlite3_step(stmt) == SQLITE_ROW && sqlite3_column_text(stmt, 0)
                                ? reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0))
                                : "";
        sqlite3_finalize(stmt);
        return value;
    };
    EXPECT_EQ(single("PRAGMA integrity_check"), "ok");
    EXPECT_EQ(single("SELECT count(*) FROM gua_table"), std::to_string(kCases));
    EXPECT_EQ(single("SELECT count(*) FROM sqlite_master WHERE name LIKE 'case_grams%'"), "0");
    sqlite3_close(file);
    for (const char* suffix : {"", "-wal", "-shm"}) std::filesystem::remove(db.string() + suffix);
}

TEST(ServiceBinary, RefusesBadOptions) {
    const std::vector<std::vector<std::string>> bad = {
        {"--listen", "8080"},
        {"--listen", "127.0.0.1:70000"},
        {"--offer-version", "x"},
        {"--url", "http://a/<b>"},
        {"--threads", "0"},
        {"--pwhash-limits", "none"},
        {"--db"},
        {"--frobnicate", "1"},
        {"--listen=8080"},
        {"--behind-proxy=yes"},
        {"--quota-bytes", "12X"},
        {"--quota-saves-per-minute", "-1"},
        {"--quota-searches", "many"},
        {"--insecure-http=yes"},
        {"--tls-priorities", "NORMAL:+NO-SUCH-SUITE"},
        {"--tls-priorities", ""},
        {"--version=x"},
        {"stray"},
        {"--metrics-listen", "0.0.0.0:9100"},
        {"--metrics-listen", "[2001:db8::1]:9100"},
        {"--head-deadline", "0"},
        {"--body-budget", "0"},
        {"--log-client-address=yes"},
    };
    for (const auto& args : bad) {
        auto child = startServiceBinary(args);
        EXPECT_EQ(waitForExit(child.pid), 2) << args[0];
        fclose(child.out);
    }
}

std::filesystem::path scratchFile(const std::string& name) {
    return std::filesystem::temp_directory_path() / ("qinglan-binary-" + std::to_string(::getpid()) + "-" + name);
}

void writeFile(const std::filesystem::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

TEST(ServiceBinary, AnswersHelpAndVersionWithoutStarting) {
    auto help = startServiceBinary({"--help"}, true);
    const std::string helpText = readToEnd(help.out);
    EXPECT_EQ(waitForExit(help.pid), 0);
    fclose(help.out);
    // Every option with its default, as the service's README table lists them.
    const std::vector<std::pair<std::string, std::string>> documented = {
        {"--listen HOST:PORT", "127.0.0.1:8080"},
        {"--db FILE|sqlite:FILE|postgresql://...", "qinglan-caseservice.db"},
        {"--message TEXT", "empty"},
        {"--url URL", "empty"},
        {"--offer-version N", "0"},
        {"--update-file FILE", "none (g.zip answers 404)"},
        {"--threads N", "16"},
        {"--pwhash-limits interactive|moderate|minimum", "interactive"},
        {"--tls-cert FILE", "none"},
        {"--per-address-connections N", "64"},
        {"--migrate-from sqlite:FILE", "none"},
        {"--behind-proxy", "off"},
        {"--quota-bytes SIZE", "256M"},
        {"--quota-saves-per-minute N", "60"},
        {"--quota-searches N", "1"},
        {"--tls-priorities STRING", kDefaultTlsPriorities},
        {"--insecure-http", "off"},
        {"--head-deadline SECONDS", "5"},
        {"--body-budget MIB", "64"},
        {"--log-client-address", "off"},
        {"--metrics-listen HOST:PORT", "none"},
    };
    for (const auto& [option, byDefault] : documented) {
        const auto at = helpText.find("  " + option + "\n");
        ASSERT_NE(at, std::string::npos) << option << " missing from:\n" << helpText;
        const auto entryEnd = helpText.find("\n  --", at + 1);
        EXPECT_NE(helpText.substr(at, entryEnd - at).find("(default: " + byDefault + ")"), std::string::npos) << option;
    }
    for (const char* more : {"--config FILE", "--help", "--version"})
        EXPECT_NE(helpText.find(more), std::string::npos) << more;

    auto version = startServiceBinary({"--version"}, true);
    EXPECT_EQ(readToEnd(version.out), "qinglan-caseservice " QINGLAN_PROJECT_VERSION "\n");
    EXPECT_EQ(waitForExit(version.pid), 0);
    fclose(version.out);
}

TEST(ServiceBinary, RefusesUnusableFilesAndConfigurationsWithTheirReason) {
    const auto config = scratchFile("bad.conf");
    const auto missing = scratchFile("missing");
    const auto folder = scratchFile("folder");
    std::filesystem::create_directories(folder);
    struct Case {
        std::string name;
        std::string configText;  // written to `config` when not empty
        std::vector<std::string> args;
        std::string said;  // part of the message on standard error
    };
    const std::vector<Case> cases = {
        {"update file missing", "", {"--update-file", missing.string()}, "cannot read the update file"},
        {"update file is a folder", "", {"--update-file", folder.string()}, "cannot read the update file"},
        {"config missing", "", {"--config", missing.string()}, "cannot read the configuration file"},
        {"unknown key",
         "# comment\nlisten = 127.0.0.1:0\nfrobnicate = 1\n",
         {"--config", config.string()},
         config.string() + ":3: unknown key frobnicate"},
        {"bad value", "threads = many\n", {"--config", config.string()}, config.string() + ":1: --threads wants"},
        {"no equals sign", "\n\nlisten 127.0.0.1:0\n", {"--config", config.string()}, ":3: wants \"key = value\""},
        {"switch value", "behind-proxy = yes\n", {"--config", config.string()}, "behind-proxy wants true or false"},
        {"priority string",
         "tls-priorities = NORMAL:+NO-SUCH-SUITE\n",
         {"--config", config.string()},
         config.string() + ":1: --tls-priorities: not a GnuTLS priority string"},
        {"binary file", std::string("db = a\0b", 8), {"--config", config.string()}, "is not a configuration file"},
        {"config without value", "", {"--config"}, "missing value after --config"},
    };
    for (const auto& c : cases) {
        if (!c.configText.empty()) writeFile(config, c.configText);
        auto child = startServiceBinary(c.args, true);
        const std::string said = readToEnd(child.out);
        EXPECT_EQ(waitForExit(child.pid), 2) << c.name;
        EXPECT_NE(said.find(c.said), std::string::npos) << c.name << ": " << said;
        fclose(child.out);
    }
    std::filesystem::remove(config);
    std::filesystem::remove(folder);
}

TEST(ServiceBinary, SaysWhyThePortCannotBeBound) {
    // A port this test holds: the service must fail on it and say why.
    const int holder = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(::bind(holder, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(::listen(holder, 1), 0);
    socklen_t length = sizeof address;
    ::getsockname(holder, reinterpret_cast<sockaddr*>(&address), &length);
    const std::string port = std::to_string(ntohs(address.sin_port));
    const auto db = scratchFile("bound.db");

    auto child = startServiceBinary({"--listen", "127.0.0.1:" + port, "--db", db.string()}, true);
    const std::string said = readToEnd(child.out);
    EXPECT_EQ(waitForExit(child.pid), 1);
    EXPECT_NE(said.find("cannot listen on 127.0.0.1:" + port + ": "), std::string::npos) << said;
    EXPECT_NE(said.find("in use"), std::string::npos) << said;
    fclose(child.out);
    ::close(holder);
    for (const char* suffix : {"", "-wal", "-shm"}) std::filesystem::remove(db.string() + suffix);
}

TEST(ServiceBinary, TakesAConfigurationFileLogsEachRequestAndKeepsTheOldVersionSpelling) {
    const auto config = scratchFile("service.conf");
    const auto db = scratchFile("config.db");
    const auto update = scratchFile("update.bin");
    writeFile(update, "new program");
    writeFile(config, "# the test's service\n  listen = 127.0.0.1:0  \ndb=" + db.string() +
                          "\nmessage = 文件里的消息\npwhash-limits = minimum\nupdate-file = " + update.string() +
                          "\nbehind-proxy = false\nlog-client-address = true\n");
    // The command line wins over the file; "--version 4" is the old name of --offer-version.
    auto child = startServiceBinary({"--config", config.string(), "--message=命令行的消息", "--version", "4"}, true);
    char line[512] = {};
    ASSERT_NE(fgets(line, sizeof line, child.out), nullptr);
    EXPECT_NE(std::string(line).find("warning: --version N is now --offer-version N"), std::string::npos) << line;
    ASSERT_NE(fgets(line, sizeof line, child.out), nullptr);
    const std::string started(line);
    const auto at = started.find("http://127.0.0.1:");
    ASSERT_NE(at, std::string::npos) << started;
    const int port = std::atoi(started.c_str() + at + 17);

    httplib::Client client("127.0.0.1", port);
    const std::string digest = passwordDigest("secret password");
    const auto form = "application/x-www-form-urlencoded";
    ASSERT_TRUE(client.Post("/reg.php",
                            clientFormBody({{"nm", "u"}, {"pw", digest}, {"shouji", "1"}, {"youxiang", ""}}), form));
    auto login = client.Post("/login.php", clientFormBody({{"nm", "u"}, {"pw", digest}}), form);
    ASSERT_TRUE(login);
    // "命令行的消息" percent-encoded as UTF-16 units, then the offered version 4.
    EXPECT_TRUE(login->body.starts_with("ok<t>%547D%4EE4%884C%7684%6D88%606F<msg><url>4<v>")) << login->body;
    const std::string token = login->get_header_value("X-Qinglan-Session");
    ASSERT_TRUE(client.Post("/savegua.php?pw=" + digest,
                            clientFormBody({{"nm", "u"},
                                            {"save_gua_ming", "秘密的卦名"},
                                            {"save_gua_bianhao", "20000107113113"},
                                            {"save_lei_id", "1"},
                                            {"save_nian", "2000"},
                                            {"save_yue", "1"},
                                            {"save_ri", "7"},
                                            {"save_xingbie", "男"},
                                            {"save_chusheng", "1980"},
                                            {"save_shiyou", "秘密的事由"},
                                            {"pw", token}}),
                            form));
    ASSERT_TRUE(client.Get("/qinglan/down.asp?filename=g.zip"));
    ASSERT_TRUE(client.Get("/nothing/here"));

    kill(child.pid, SIGTERM);
    const std::string log = readToEnd(child.out);
    EXPECT_EQ(waitForExit(child.pid), 0);
    fclose(child.out);
    for (const char* expected : {"POST /reg.php 200 ", "POST /login.php 200 ", "POST /savegua.php 200 ",
                                 "GET /qinglan/down.asp 200 ", "GET /nothing/here 404 "}) {
        const auto at = log.find(std::string("qinglan-caseservice: ") + expected);
        ASSERT_NE(at, std::string::npos) << expected << "\n" << log;
        EXPECT_NE(log.substr(at, log.find('\n', at) - at).find(" ms client=127.0.0.1"), std::string::npos) << expected;
    }
    // Never a password digest, a session token, a query or a case text.
    for (const std::string& secret : {digest, token, std::string("filename"), std::string("秘密")})
        EXPECT_EQ(log.find(secret), std::string::npos) << secret << "\n" << log;
    for (const auto& file : {config, update}) std::filesystem::remove(file);
    for (const char* suffix : {"", "-wal", "-shm"}) std::filesystem::remove(db.string() + suffix);
}

}  // namespace
