// The CaseRepository on a PostgreSQL database shared by any number of service instances: a pool of
// connections per instance, prepared statements, every operation one transaction. The schema
// is created or brought up to date at start. Statements are bounded in time by the server
// (statement_timeout); a search cut short gives the newest matches it found by then.
#pragma once

#include "store/case_repository.h"
#include "store/postgresql/pg_pool.h"

#include <atomic>
#include <string>

namespace qinglan::caseservice {

class PostgresCaseRepository final : public CaseRepository {
public:
    // Connects with the libpq connection string and prepares the schema; throws
    // std::runtime_error saying what is wrong.
    PostgresCaseRepository(const std::string& conninfo, PgPoolSettings settings = {});

    bool createUser(const AccountName& nm, const std::string& pwhash, const std::string& phone,
                    const std::string& email) override;
    std::optional<UserAccount> findUser(const std::string& nameKey) override;
    void replacePassword(std::int64_t user, const std::string& pwhash, const SessionRecord& fresh) override;

    void openSession(const SessionRecord& session, int keepAtMost) override;
    std::optional<std::int64_t> sessionUser(const std::string& tokenHash, const std::string& nameKey,
                                            std::int64_t now) override;
    void closeSession(const std::string& tokenHash) override;

    void addDevice(const DeviceRecord& device, int keepAtMost) override;
    std::optional<std::int64_t> rotateDeviceToken(const std::string& oldHash, const std::string& nameKey,
                                                  const std::string& newHash, std::int64_t now,
                                                  std::int64_t expires) override;
    std::vector<DeviceSummary> devices(std::int64_t user) override;
    bool removeDevice(std::int64_t user, std::int64_t device) override;

    std::int64_t insertCase(std::int64_t user, const CaseFields& fields) override;
    void saveTexts(std::int64_t user, const CaseFields& fields, TextsToSave which, const std::string& judgment,
                   const std::string& feedback) override;
    std::optional<StoredCase> loadCase(std::int64_t user, std::int64_t id) override;
    std::vector<CaseSummary> recentCases(std::int64_t user, int limit) override;
    std::vector<CaseSummary> searchCases(std::int64_t user, const std::string& keyword, int limit) override;
    std::vector<std::int64_t> years(std::int64_t user, CategoryFilter category) override;
    std::vector<std::int64_t> months(std::int64_t user, CategoryFilter category, std::int64_t year) override;
    std::vector<CaseSummary> casesOfMonth(std::int64_t user, CategoryFilter category, std::int64_t year,
                                          std::int64_t month, int limit) override;

    std::vector<Category> categories(std::int64_t user) override;
    void renameCategory(std::int64_t user, std::int64_t categoryId, const std::string& categoryName) override;

    std::int64_t storedBytes(std::int64_t user) override;
    NumberedTexts numberedTexts(std::int64_t user, const std::string& caseNumber) override;

    void interruptQueries() override { pool_.stop(); }

private:
    void dropEndedSessions(PgConnection& db, std::int64_t now);

    PgPool pool_;
    std::atomic<std::int64_t> lastSessionSweep_{0};
};

}  // namespace qinglan::caseservice
