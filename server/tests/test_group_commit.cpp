// Writes of many threads committed together: each caller learns its own outcome, a failed
// write takes nothing of the others with it, and a failed commit stores none of the batch.
#include "store/sqlite/group_commit.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <set>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

using namespace qinglan::caseservice;

namespace {

class GroupCommitTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = std::filesystem::temp_directory_path() /
              ("qinglan-group-commit-" + std::to_string(::getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
        path = (dir / "writes.db").string();
        SqliteConnection setup(path, OpenMode::CreateWhenMissing);
        setup.execute(
            "CREATE TABLE parent(id INTEGER PRIMARY KEY);"
            "CREATE TABLE rows(n INTEGER PRIMARY KEY, parent INTEGER REFERENCES parent(id) DEFERRABLE INITIALLY DEFERRED)");
    }
    void TearDown() override { std::filesystem::remove_all(dir); }

    std::set<std::int64_t> storedRows() {
        SqliteConnection reader(path, OpenMode::ExistingOnly);
        auto stmt = reader.prepare("SELECT n FROM rows");
        std::set<std::int64_t> rows;
        while (stmt.step()) rows.insert(stmt.integer(0));
        return rows;
    }

    // A connection per thread, as the store keeps them.
    SqliteConnection& threadConnection() {
        thread_local std::map<std::string, std::unique_ptr<SqliteConnection>> open;
        auto& slot = open[path];
        if (!slot) slot = std::make_unique<SqliteConnection>(path, OpenMode::ExistingOnly);
        return *slot;
    }

    // Starts one blocking write, then the given writes from threads of their own while it
    // holds the batch, so that they all go into the next batch together; returns each
    // write's error text ("" when it went well).
    std::vector<std::string> runTogether(GroupCommit& commit, const std::vector<GroupCommit::Write>& writes) {
        std::atomic<bool> entered{false}, release{false};
        std::thread blocker([&] {
            commit.run([&](SqliteConnection&) {
                entered = true;
                entered.notify_one();
                release.wait(false);
            }, [&]() -> SqliteConnection& { return threadConnection(); });
        });
        entered.wait(false);
        std::vector<std::string> errors(writes.size());
        std::vector<std::thread> writers;
        for (std::size_t i = 0; i < writes.size(); ++i)
            writers.emplace_back([&, i] {
                try {
                    commit.run(writes[i], [&]() -> SqliteConnection& { return threadConnection(); });
                } catch (const std::exception& e) {
                    errors[i] = e.what();
                    if (errors[i].empty()) errors[i] = "failed";
                }
            });
        commit.awaitWaiting(writes.size());
        release = true;
        release.notify_one();
        blocker.join();
        for (auto& writer : writers) writer.join();
        return errors;
    }

    static GroupCommit::Write insert(std::int64_t n) {
        return [n](SqliteConnection& db) { db.prepare("INSERT INTO rows(n) VALUES(?1)").bind(1, n).run(); };
    }

    std::filesystem::path dir;
    std::string path;
    std::mutex writerLock;
};

TEST_F(GroupCommitTest, EachWriteOfABatchKeepsItsOwnOutcome) {
    GroupCommit commit(writerLock);
    struct Case {
        const char* what;
        GroupCommit::Write failing;
    };
    const std::vector<Case> cases = {
        {"a statement fails", [](SqliteConnection& db) { db.execute("INSERT INTO no_such_table VALUES(1)"); }},
        {"the write throws after changing rows",
         [](SqliteConnection& db) {
             db.prepare("INSERT INTO rows(n) VALUES(?1)").bind(1, std::int64_t{999}).run();
             throw std::runtime_error("refused after writing");
         }},
        // SQLite rolls the whole transaction back on some errors (an interrupted statement, a
        // full disk); the writes before it in the batch must still be stored.
        {"the shared transaction ends", [](SqliteConnection& db) {
             db.prepare("INSERT INTO rows(n) VALUES(?1)").bind(1, std::int64_t{998}).run();
             db.execute("ROLLBACK");
             throw std::runtime_error("transaction lost");
         }}};
    std::int64_t next = 1;
    std::set<std::int64_t> expected;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<GroupCommit::Write> writes;
        for (int i = 0; i < 6; ++i) {
            if (i == 3) writes.push_back(c.failing);
            expected.insert(next);
            writes.push_back(insert(next++));
        }
        const auto errors = runTogether(commit, writes);
        for (std::size_t i = 0; i < writes.size(); ++i) EXPECT_EQ(errors[i].empty(), i != 3) << i << ": " << errors[i];
        EXPECT_EQ(storedRows(), expected);
    }
}

TEST_F(GroupCommitTest, AFailedCommitStoresNothingOfTheBatchAndSaysSoToEveryone) {
    GroupCommit commit(writerLock);
    // The deferred reference is checked at the commit, which then fails for the whole batch.
    const auto errors = runTogether(commit, {insert(1), insert(2),
                                             [](SqliteConnection& db) {
                                                 db.execute("INSERT INTO rows(n, parent) VALUES(3, 42)");
                                             },
                                             insert(4)});
    for (const auto& error : errors) EXPECT_NE(error.find("FOREIGN KEY"), std::string::npos) << error;
    EXPECT_TRUE(storedRows().empty());
    // The next batch is not affected.
    commit.run(insert(5), [&]() -> SqliteConnection& { return threadConnection(); });
    EXPECT_EQ(storedRows(), (std::set<std::int64_t>{5}));
}

TEST_F(GroupCommitTest, NoConnectionFailsEveryWriteOfTheBatch) {
    GroupCommit commit(writerLock);
    EXPECT_THROW(commit.run(insert(1), []() -> SqliteConnection& { throw std::runtime_error("file replaced"); }),
                 std::runtime_error);
    EXPECT_TRUE(storedRows().empty());
}

TEST_F(GroupCommitTest, ManyThreadsWritingAtOnceAllFindTheirRows) {
    GroupCommit commit(writerLock, 8);
    std::vector<std::thread> threads;
    std::set<std::int64_t> expected;
    for (int t = 0; t < 16; ++t)
        threads.emplace_back([&, t] {
            for (int i = 0; i < 50; ++i)
                commit.run(insert(t * 1000 + i), [&]() -> SqliteConnection& { return threadConnection(); });
        });
    for (int t = 0; t < 16; ++t)
        for (int i = 0; i < 50; ++i) expected.insert(t * 1000 + i);
    for (auto& thread : threads) thread.join();
    EXPECT_EQ(storedRows(), expected);
}

}  // namespace
