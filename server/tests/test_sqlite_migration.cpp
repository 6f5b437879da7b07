// qinglan-caseservice --migrate-from sqlite:FILE --db postgresql://...: accounts, category
// names and cases reach PostgreSQL intact, a second run changes nothing, and a run that
// cannot be done right changes nothing either.
#include "service_harness.h"
#include "test_postgres_cluster.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace qinglan::caseservice;
using namespace qinglan::caseservice::testing;

namespace {

// What a migration run printed and how it ended.
struct Run {
    int status = -1;
    std::string output;
};

Run migrate(const std::string& from, const std::string& to) {
    const auto process = startServiceBinary({"--migrate-from", from, "--db", to}, true);
    Run run;
    char line[1024];
    while (process.out && fgets(line, sizeof line, process.out)) run.output += line;
    if (process.out) fclose(process.out);
    run.status = waitForExit(process.pid, std::chrono::seconds(60));
    return run;
}

class PostgreSQLMigration : public ::testing::Test {
protected:
    void SetUp() override {
        dir = std::filesystem::temp_directory_path() / ("qinglan-migrate-" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir);
        file = dir / "cases.db";
        RunningService sqlite(Database(Backend::Sqlite, file.string()));
        const std::string zhang = sqlite.registerAndLogIn("张三", "secret");
        const std::string li = sqlite.registerAndLogIn("李四", "other");
        for (int i = 0; i < 30; ++i) {
            auto fields = caseFields("张三", "z" + std::to_string(i), "问事 " + std::to_string(i));
            fields.insert(fields.end(), {{"save_duanyu", texts[i % texts.size()]},
                                         {"save_fankui", texts[(i + 1) % texts.size()]},
                                         {"save_b", "3"},
                                         {"pw", zhang}});
            ASSERT_EQ(sqlite.post("saveduanyufankui.php", fields), "ok");
        }
        ASSERT_EQ(sqlite.post("savegua.php", {{"nm", "李四"},
                                              {"save_gua_ming", "坤为地"},
                                              {"save_gua_bianhao", "l1"},
                                              {"save_lei_id", ""},
                                              {"save_nian", "2023"},
                                              {"save_yue", "12"},
                                              {"save_ri", "1"},
                                              {"save_xingbie", "女"},
                                              {"save_chusheng", ""},
                                              {"save_shiyou", "无类"},
                                              {"save_didian", "-123.1,America/Vancouver"},
                                              {"save_shizhi", "solar"},
                                              {"pw", li}}),
                  "ok");
        ASSERT_EQ(sqlite.post("changeleiming.php",
                              {{"nm", "张三"}, {"lei_bendi_id", "1"}, {"lei_mingcheng", "求财"}, {"pw", zhang}}),
                  "ok");
    }
    void TearDown() override { std::filesystem::remove_all(dir); }

    // What the service on PostgreSQL gives back of everything stored above.
    void expectEverythingThere(const RunningService& pg) {
        const std::string zhang = pg.logIn("张三", passwordDigest("secret"));
        ASSERT_FALSE(zhang.empty());
        EXPECT_TRUE(
            pg.post("login.php", {{"nm", "张三"}, {"pw", passwordDigest("secret")}}).ends_with("<t>求财<t>1<t>"));
        const auto rows = readList(
            pg.post("gualist.php", {{"nm", "张三"}, {"fenlei", "-1"}, {"nian", "2024"}, {"yue", "3"}, {"pw", zhang}}),
            4, 3001);
        ASSERT_EQ(rows.size(), 30u);
        for (std::size_t i = 0; i < rows.size(); ++i) {
            EXPECT_EQ(rows[i][1], "z" + std::to_string(i));
            EXPECT_EQ(pg.post("getduanyufankui.php", {{"nm", "张三"}, {"id", rows[i][0]}, {"pw", zhang}}),
                      texts[i % texts.size()] + "<tr>" + texts[(i + 1) % texts.size()]);
        }
        const std::string li = pg.logIn("李四", passwordDigest("other"));
        const auto liRows = readList(pg.post("cha.php", {{"nm", "李四"}, {"wd", "list50"}, {"pw", li}}), 4, 102);
        ASSERT_EQ(liRows.size(), 1u);
        const auto loaded =
            readList("x<t>" + pg.post("loadgua.php", {{"nm", "李四"}, {"guaid", liRows[0][0]}, {"pw", li}}), 14, 1);
        ASSERT_EQ(loaded.size(), 1u);
        EXPECT_EQ(loaded[0], (std::vector<std::string>{"ok", "坤为地", "l1", "", "2023", "12", "1", "女", "", "无类",
                                                       "", "", "-123.1,America/Vancouver", "solar"}));
    }

    // Texts with everything COPY's text format escapes, and more.
    const std::vector<std::string> texts = {"断：\r\n财可得。\t第二段\\n 不是换行", "", "反斜杠 \\ 与 \\N 与 \\\\",
                                            "引号 ' \" 与 100% 与 a_b", std::string(3000, 'x') + "长文"};
    std::filesystem::path dir;
    std::filesystem::path file;
};

TEST_F(PostgreSQLMigration, CopiesEverythingAndASecondRunChangesNothing) {
    const std::string uri = TestPostgres::instance().freshDatabase();
    const auto first = migrate("sqlite:" + file.string(), uri);
    ASSERT_EQ(first.status, 0) << first.output;
    EXPECT_NE(first.output.find("users: 2 in"), std::string::npos) << first.output;
    EXPECT_NE(first.output.find("gua_table: 31 in " + file.string() + ", 31 copied"), std::string::npos)
        << first.output;
    EXPECT_NE(first.output.find("fenlei_table: 1 in"), std::string::npos) << first.output;

    const auto second = migrate("sqlite:" + file.string(), uri);
    ASSERT_EQ(second.status, 0) << second.output;
    EXPECT_NE(second.output.find("gua_table: 31 in " + file.string() + ", 0 copied, 31 were there already"),
              std::string::npos)
        << second.output;

    RunningService pg(Database(Backend::Postgresql, uri));
    expectEverythingThere(pg);
    // Cases and accounts made afterwards get identifiers of their own.
    const std::string wang = pg.registerAndLogIn("王五", "third");
    ASSERT_EQ(pg.post("savegua.php", {{"nm", "王五"},
                                      {"save_gua_ming", "x"},
                                      {"save_gua_bianhao", "w1"},
                                      {"save_lei_id", "1"},
                                      {"save_nian", "2024"},
                                      {"save_yue", "3"},
                                      {"save_ri", "1"},
                                      {"save_xingbie", "男"},
                                      {"save_chusheng", ""},
                                      {"save_shiyou", "新"},
                                      {"pw", wang}}),
              "ok");
    const auto newest = readList(pg.post("cha.php", {{"nm", "王五"}, {"wd", "list50"}, {"pw", wang}}), 4, 102);
    ASSERT_EQ(newest.size(), 1u);
    EXPECT_EQ(newest[0][0], "32") << "after the 31 copied cases";
}

TEST_F(PostgreSQLMigration, ADatabaseHoldingOtherRowsUnderTheSameIdentifiersIsLeftAsItWas) {
    const std::string uri = TestPostgres::instance().freshDatabase();
    {
        RunningService pg(Database(Backend::Postgresql, uri));
        pg.registerUser("赵六", "own");  // takes account identifier 1
    }
    const auto run = migrate("sqlite:" + file.string(), uri);
    EXPECT_EQ(run.status, 1) << run.output;
    EXPECT_NE(run.output.find("nothing was changed"), std::string::npos) << run.output;
    RunningService pg(Database(Backend::Postgresql, uri));
    EXPECT_EQ(pg.sql("SELECT count(*) FROM gua_table"), "0");
    EXPECT_EQ(pg.sql("SELECT string_agg(nm, ',') FROM users"), "赵六");
}

TEST_F(PostgreSQLMigration, RefusesWhatItCannotCopy) {
    const std::string uri = TestPostgres::instance().freshDatabase();
    std::ofstream(dir / "random.db", std::ios::binary) << std::string(4096, '\x5A');
    struct Case {
        const char* what;
        std::string from, to;
        int status;
    };
    const std::vector<Case> cases = {
        {"no such file", "sqlite:" + (dir / "missing.db").string(), uri, 1},
        {"not an SQLite file", "sqlite:" + (dir / "random.db").string(), uri, 1},
        {"target not PostgreSQL", "sqlite:" + file.string(), (dir / "other.db").string(), 2},
        {"unreachable PostgreSQL", "sqlite:" + file.string(), "postgresql://nobody@127.0.0.1:1/none", 1},
    };
    for (const auto& c : cases) {
        const auto run = migrate(c.from, c.to);
        EXPECT_EQ(run.status, c.status) << c.what << ": " << run.output;
    }
    EXPECT_FALSE(std::filesystem::exists(dir / "missing.db"));
    RunningService pg(Database(Backend::Postgresql, uri));
    EXPECT_EQ(pg.sql("SELECT count(*) FROM users"), "0");
}

// PostgreSQL's text cannot hold U+0000: a file with such a text is refused, naming the case.
TEST_F(PostgreSQLMigration, RefusesAFileWithANulCharacterNamingTheCase) {
    {
        RunningService sqlite(Database(Backend::Sqlite, file.string()));
        const std::string zhang = sqlite.logIn("张三", passwordDigest("secret"));
        auto fields = caseFields("张三", "nul", "问事");
        fields.insert(fields.end(), {{"save_duanyu", "a b"}, {"save_fankui", ""}, {"save_b", "3"}, {"pw", zhang}});
        ASSERT_EQ(sqlite.post("saveduanyufankui.php", fields), "ok");
        // The service refuses U+0000 now; a file written by an earlier one may still hold it.
        sqlite.sql("UPDATE gua_table SET duanyu = 'a' || char(0) || 'b' WHERE gua_bianhao = 'nul'");
    }
    const std::string uri = TestPostgres::instance().freshDatabase();
    const auto run = migrate("sqlite:" + file.string(), uri);
    EXPECT_EQ(run.status, 1) << run.output;
    EXPECT_NE(run.output.find("case 32 hold the character U+0000"), std::string::npos) << run.output;
    RunningService pg(Database(Backend::Postgresql, uri));
    EXPECT_EQ(pg.sql("SELECT count(*) FROM gua_table"), "0");
}

}  // namespace
