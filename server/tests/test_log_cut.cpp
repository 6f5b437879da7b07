// The store's write-ahead log is started over in place once it has grown, but a reader still
// holding an older snapshot only delays that: the writers are held for a short while at most,
// and the log starts over once the reader is gone.
#include "store/sqlite/sqlite_case_repository.h"

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>

namespace qinglan::caseservice {
namespace {

using namespace std::chrono_literals;

class LogCut : public ::testing::Test {
protected:
    std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("qinglan-log-cut-" + std::to_string(::getpid()));
    std::string file = (dir / "cases.db").string();
    static constexpr std::int64_t kPage = 4096;
    static constexpr std::int64_t kCutAt = 256 * 1024;

    void SetUp() override { std::filesystem::create_directories(dir); }
    void TearDown() override { std::filesystem::remove_all(dir); }

    // A number read beside the store: column `column` of the first row of `sql`.
    std::int64_t readBeside(const char* sql, int column) const {
        sqlite3* db = nullptr;
        EXPECT_EQ(sqlite3_open(file.c_str(), &db), SQLITE_OK);
        sqlite3_stmt* stmt = nullptr;
        sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr);
        const std::int64_t value = sqlite3_step(stmt) == SQLITE_ROW ? sqlite3_column_int64(stmt, column) : -1;
        sqlite3_finalize(stmt);
        sqlite3_close(db);
        return value;
    }
    // Frames in the log now: mxFrame of the wal-index header at the start of the -shm file
    // (32-bit, native byte order, at byte 16; SQLite's "WAL-index format"). Read from the file,
    // so that looking copies nothing into the database, as a checkpoint would.
    std::int64_t logFrames() const {
        std::ifstream shm(file + "-shm", std::ios::binary);
        std::uint32_t frames = 0;
        shm.seekg(16);
        shm.read(reinterpret_cast<char*>(&frames), sizeof frames);
        return shm ? static_cast<std::int64_t>(frames) : -1;
    }
};

TEST_F(LogCut, AReaderOfAnOlderSnapshotDelaysTheRestartWithoutHoldingTheWriters) {
    StoreSettings settings;
    settings.maintenanceInterval = std::chrono::hours(1);  // the test runs each maintenance pass
    settings.walCheckpointBytes = kCutAt;
    SqliteCaseRepository store(file, settings);
    ASSERT_TRUE(store.createUser({"owner", "owner", "owner"}, "hash", "1", ""));
    const std::int64_t user = store.findUser("owner")->id;
    int next = 0;
    const auto addCase = [&] {
        const CaseFields fields{"乾为天", "N" + std::to_string(next++), "1", "2024", "1", "1", "",
                                "",       std::string(600, 'x')};
        store.insertCase(user, fields);
    };
    while (logFrames() * kPage <= kCutAt) addCase();

    sqlite3* reader = nullptr;
    ASSERT_EQ(sqlite3_open(file.c_str(), &reader), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(reader, "BEGIN; SELECT count(*) FROM gua_table;", nullptr, nullptr, nullptr), SQLITE_OK);
    for (int i = 0; i < 3; ++i) addCase();
    const std::int64_t framesWithReader = logFrames();

    const auto start = std::chrono::steady_clock::now();
    store.maintain();
    EXPECT_LT(std::chrono::steady_clock::now() - start, 2s) << "the writers were held for the reader";
    addCase();
    EXPECT_GT(logFrames(), framesWithReader) << "the log was started over under the reader's snapshot";

    ASSERT_EQ(sqlite3_exec(reader, "COMMIT", nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(reader);
    // After a try the reader spoiled, the next waits until the log has grown by as much again.
    const std::int64_t before = logFrames();
    while (logFrames() - before <= kCutAt / kPage) addCase();
    store.maintain();
    addCase();
    EXPECT_LT(logFrames(), 30) << "the log did not start over once the reader was gone";
    EXPECT_EQ(readBeside("SELECT count(*) FROM gua_table", 0), next) << "a case went missing";
}

}  // namespace
}  // namespace qinglan::caseservice
