// A file of the first schema version gets the place columns when the service opens it; its cases
// have the default place.
#include "service_harness.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

using namespace qinglan::caseservice;
using namespace qinglan::caseservice::testing;

namespace {

TEST(PlaceColumns, AFileOfTheFirstVersionGetsThemWhenOpened) {
    RunningService first;
    const std::string token = first.registerAndLogIn("张三", "secret");
    Fields fields = caseFields("张三", "old", "问事");
    fields.emplace_back("pw", token);
    ASSERT_EQ(first.post("savegua.php", fields), "ok");
    sqlite3* raw = nullptr;
    ASSERT_EQ(sqlite3_open(first.databaseFile().c_str(), &raw), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(raw,
                           "ALTER TABLE gua_table DROP COLUMN didian; ALTER TABLE gua_table DROP COLUMN shizhi; "
                           "PRAGMA user_version = 1",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(raw);

    const RunningService reopened(Database(Backend::Sqlite, first.databaseFile().string()));
    EXPECT_EQ(reopened.sql("PRAGMA user_version"), "4");
    EXPECT_EQ(reopened.sql("SELECT gua_bianhao || '|' || didian || '|' || shizhi FROM gua_table"), "old||");
}

}  // namespace
