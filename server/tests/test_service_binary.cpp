// The built qinglan-caseservice: options, start message, serving, clean stop on a signal.
#include "service_harness.h"

#include <gtest/gtest.h>
#include <httplib.h>

#include <csignal>
#include <cstdlib>

using namespace qinglan::caseservice::testing;

namespace {

TEST(ServiceBinary, AnnouncesItsAddressServesAndStopsCleanly) {
    const auto db = std::filesystem::temp_directory_path() / ("qinglan-binary-" + std::to_string(::getpid()) + ".db");
    for (const int stopSignal : {SIGTERM, SIGINT}) {
        // Port 0: the system picks a free one, and the start message tells which.
        auto child = startServiceBinary({"--listen", "127.0.0.1:0", "--db", db.string(), "--message", "你好",
                                         "--version", "3", "--pwhash-limits", "minimum"});
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

TEST(ServiceBinary, RefusesBadOptions) {
    const std::vector<std::vector<std::string>> bad = {
        {"--listen", "8080"}, {"--listen", "127.0.0.1:70000"}, {"--version", "x"}, {"--url", "http://a/<b>"},
        {"--threads", "0"},   {"--pwhash-limits", "none"},     {"--db"},           {"--frobnicate", "1"},
    };
    for (const auto& args : bad) {
        auto child = startServiceBinary(args);
        EXPECT_EQ(waitForExit(child.pid), 2) << args[0];
        fclose(child.out);
    }
}

}  // namespace
