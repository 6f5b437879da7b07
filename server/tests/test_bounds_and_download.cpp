// Oversized and malformed requests, and the update download.
#include "service_harness.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace qinglan::caseservice;
using namespace qinglan::caseservice::testing;

namespace {

class Bounds : public OnEachStore {
protected:
    void SetUp() override {
        digest = service.registerUser("张三", "secret");
        token = service.logIn("张三", digest);
    }
    std::string caseCount() {
        return std::to_string(
            readList(service.post("cha.php", {{"nm", "张三"}, {"wd", "list50"}, {"pw", token}}), 4, 102).size());
    }
    RunningService service{GetParam()};
    std::string digest;
    std::string token;
};

TEST_P(Bounds, OversizedAndMalformedRequestsStoreNothing) {
    const std::string big(256 * 1024 + 1, 'x');
    const std::string justFits(256 * 1024, 'y');
    auto texts = [&](const std::string& judgment) {
        auto fields = caseFields("张三", "k", "问事");
        fields.insert(fields.end(), {{"save_duanyu", judgment}, {"save_fankui", ""}, {"save_b", "1"}, {"pw", token}});
        return clientFormBody(fields);
    };
    auto save = [&](const std::string& subject) {
        auto fields = caseFields("张三", "k", subject);
        fields.emplace_back("pw", token);
        return clientFormBody(fields);
    };
    struct Case {
        const char* what;
        std::string endpoint;
        std::string body;
        int status;
    };
    const std::vector<Case> refused = {
        {"field over 256 KiB", "saveduanyufankui.php", texts(big), 200},
        {"body over 1 MiB", "saveduanyufankui.php", texts(std::string(1024 * 1024, 'z')), 413},
        {"invalid UTF-8 (raw)", "savegua.php", save("\xC0\xAF"), 200},
        {"invalid UTF-8 (escaped)", "savegua.php",
         "nm=%E5%BC%A0%E4%B8%89&save_gua_ming=x&save_gua_bianhao=k&save_lei_id=1&save_nian=2024&save_yue=3&save_ri=1"
         "&save_xingbie=x&save_chusheng=x&save_shiyou=%FF%FE&pw=" +
             token,
         200},
        {"fields out of order", "savegua.php", "save_gua_ming=x&nm=%E5%BC%A0%E4%B8%89&pw=" + token, 200},
    };
    for (const auto& c : refused) {
        const auto reply = service.postRaw(c.endpoint, c.body);
        // An oversized body may be answered and the connection closed before it is all sent.
        if (!(c.status == 413 && reply.status == 0)) {
            EXPECT_EQ(reply.status, c.status) << c.what;
        }
        EXPECT_EQ(reply.body.find("ok"), std::string::npos) << c.what << ": " << reply.body;
    }
    EXPECT_EQ(caseCount(), "0");
    EXPECT_EQ(service.postRaw("saveduanyufankui.php", texts(justFits)).body, "ok") << "256 KiB exactly is allowed";
    EXPECT_EQ(caseCount(), "1");
    // The service is still there for the next request.
    EXPECT_EQ(service.post("login.php", {{"nm", "张三"}, {"pw", digest}}), "ok");
}

TEST_P(Bounds, MalformedReadsAnswerNothingFound) {
    const std::vector<std::pair<std::string, Fields>> reads = {
        {"loadgua.php", {{"nm", "张三"}, {"guaid", "abc"}}},
        {"loadgua.php", {{"nm", "张三"}, {"guaid", "99999999999999999999"}}},
        {"getduanyufankui.php", {{"nm", "张三"}, {"id", ""}}},
        {"gualist.php", {{"nm", "张三"}, {"fenlei", "x"}, {"nian", "2024"}, {"yue", "3"}}},
        {"yue.php", {{"nm", "张三"}, {"fenlei", "-1"}, {"nian", "今年"}}},
        {"nian.php", {{"nm", "张三"}, {"fenlei", ""}}},
        {"cha.php", {{"nm", "张三"}, {"wd", ""}}},
    };
    for (auto [endpoint, fields] : reads) {
        fields.emplace_back("pw", token);
        EXPECT_EQ(service.post(endpoint, fields), "") << endpoint;
    }
    // A keyword that is not UTF-8 is refused; a client that does not show refusals finds nothing.
    const auto reply = service.postRaw("cha.php", "nm=%E5%BC%A0%E4%B8%89&wd=%FF&pw=" + token);
    EXPECT_EQ(reply.status, 200);
    EXPECT_EQ(reply.body, "请求被拒绝：文字编码不是UTF-8");
    EXPECT_TRUE(readList(reply.body, 4, 100).empty());
}

QINGLAN_ON_EACH_STORE(Bounds);

TEST(UpdateDownload, ServesTheFileAndItsSignatureBesideIt) {
    const auto dir = std::filesystem::temp_directory_path() / ("qinglan-update-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const auto file = dir / "qinglan-4";
    const std::string program(
        "\x7F"
        "ELF\0\1\2 binary",
        14);
    std::ofstream(file, std::ios::binary) << program;
    {
        RunningService service({"", "", 4}, file.string());
        EXPECT_EQ(service.get("/qinglan/down.asp?filename=g.zip").body, program);
        EXPECT_EQ(service.get("/qinglan/down.asp?filename=g.zip.sig").status, 404) << "no signature yet";
        std::ofstream(dir / "qinglan-4.sig", std::ios::binary) << std::string(64, '\x5A');
        const auto sig = service.get("/qinglan/down.asp?filename=g.zip.sig");
        EXPECT_EQ(sig.status, 200);
        EXPECT_EQ(sig.body, std::string(64, '\x5A'));
        for (const char* other : {"/qinglan/down.asp?filename=../cases.db", "/qinglan/down.asp", "/qinglan/g.zip"})
            EXPECT_EQ(service.get(other).status, 404) << other;
    }
    {
        RunningService service;
        EXPECT_EQ(service.get("/qinglan/down.asp?filename=g.zip").status, 404) << "nothing configured";
    }
    std::filesystem::remove_all(dir);
}

}  // namespace
