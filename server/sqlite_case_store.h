// CaseStore on one SQLite file: WAL journal, a busy timeout, and one connection per
// thread that uses the store (opened on the thread's first call, closed with the store).
#pragma once

#include "case_store.h"

#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <unordered_map>

namespace qinglan::caseservice {

class SqliteConnection;

class SqliteCaseStore final : public CaseStore {
public:
    // Opens (creating when missing) the database file and its tables; throws
    // std::runtime_error with SQLite's message when that fails.
    explicit SqliteCaseStore(std::string path);
    ~SqliteCaseStore() override;
    SqliteCaseStore(const SqliteCaseStore&) = delete;
    SqliteCaseStore& operator=(const SqliteCaseStore&) = delete;

    bool createUser(const std::string& nm, const std::string& pwhash, const std::string& shouji,
                    const std::string& youxiang) override;
    std::optional<UserAccount> findUser(const std::string& nm) override;
    void setPasswordHash(std::int64_t user, const std::string& pwhash) override;

    std::int64_t insertCase(std::int64_t user, const CaseFields& fields) override;
    void saveTexts(std::int64_t user, const CaseFields& fields, TextsToSave which, const std::string& duanyu,
                   const std::string& fankui) override;
    std::optional<StoredCase> loadCase(std::int64_t user, std::int64_t id) override;
    std::vector<CaseSummary> recentCases(std::int64_t user, int limit) override;
    std::vector<CaseSummary> searchCases(std::int64_t user, const std::string& keyword, int limit) override;
    std::vector<std::int64_t> years(std::int64_t user, CategoryFilter category) override;
    std::vector<std::int64_t> months(std::int64_t user, CategoryFilter category, std::int64_t nian) override;
    std::vector<CaseSummary> casesOfMonth(std::int64_t user, CategoryFilter category, std::int64_t nian,
                                          std::int64_t yue, int limit) override;

    std::vector<Category> categories(std::int64_t user) override;
    void renameCategory(std::int64_t user, std::int64_t lei_id, const std::string& lei_mingcheng) override;

private:
    SqliteConnection& connection();

    std::string path_;
    std::mutex mutex_;
    std::unordered_map<std::thread::id, std::unique_ptr<SqliteConnection>> connections_;
};

}  // namespace qinglan::caseservice
