// A file of the first schema version, whose cases have no place columns, gets them when the
// service opens it: its cases load with the default place, and new ones keep theirs.
#include "service_harness.h"

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <unistd.h>

#include <filesystem>

using namespace qinglan::caseservice;
using namespace qinglan::caseservice::testing;

namespace {

TEST(PlaceColumns, AFileOfTheFirstVersionGetsThemWhenOpened) {
    const auto dir = std::filesystem::temp_directory_path() / ("qinglan-place-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const Database file(Backend::Sqlite, (dir / "cases.db").string());
    const auto save = [](const RunningService& service, const std::string& token, const std::string& bianhao,
                         const Fields& place) {
        Fields fields = caseFields("张三", bianhao, "问事");
        fields.insert(fields.end(), place.begin(), place.end());
        fields.emplace_back("pw", token);
        return service.post("savegua.php", fields);
    };
    {
        RunningService service(file);
        ASSERT_EQ(save(service, service.registerAndLogIn("张三", "secret"), "old", {}), "ok");
    }
    sqlite3* raw = nullptr;
    ASSERT_EQ(sqlite3_open(file.location.c_str(), &raw), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(raw,
                           "ALTER TABLE gua_table DROP COLUMN didian; ALTER TABLE gua_table DROP COLUMN shizhi; "
                           "PRAGMA user_version = 1",
                           nullptr, nullptr, nullptr),
              SQLITE_OK)
        << sqlite3_errmsg(raw);
    sqlite3_close(raw);

    RunningService service(file);
    EXPECT_EQ(service.sql("PRAGMA user_version"), "4");
    const std::string token = service.logIn("张三", passwordDigest("secret"));
    ASSERT_EQ(save(service, token, "new", {{"save_didian", "13.4,Europe/Berlin"}, {"save_shizhi", "beijing"}}), "ok");
    const auto rows = readList(service.post("cha.php", {{"nm", "张三"}, {"wd", "list50"}, {"pw", token}}), 4, 102);
    ASSERT_EQ(rows.size(), 2u);
    const std::vector<std::pair<std::string, std::string>> expected = {{"13.4,Europe/Berlin", "beijing"}, {"", ""}};
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const auto loaded = readList(
            "x<t>" + service.post("loadgua.php", {{"nm", "张三"}, {"guaid", rows[i][0]}, {"pw", token}}), 14, 1);
        ASSERT_EQ(loaded.size(), 1u);
        EXPECT_EQ(std::make_pair(loaded[0][12], loaded[0][13]), expected[i]) << rows[i][1];
    }
    std::filesystem::remove_all(dir);
}

}  // namespace
