// The storage seen by the case service: accounts, each user's cases and category names.
// Every case and category operation takes the owner's user id, so one user's rows are
// never reachable through another user's requests.
#pragma once

#include "model/account_name.h"
#include "model/records.h"

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace qinglan::caseservice {

class CaseRepository {
public:
    virtual ~CaseRepository() = default;

    // Accounts, found by the key of their name (see account_name.h).
    virtual bool createUser(const AccountName& nm, const std::string& pwhash, const std::string& phone,
                            const std::string& email) = 0;  // false: the name is taken
    virtual std::optional<UserAccount> findUser(const std::string& nameKey) = 0;
    // Sets the password hash, ends every session and device of the user and opens `fresh`
    // instead, all at once.
    virtual void replacePassword(std::int64_t user, const std::string& pwhash, const SessionRecord& fresh) = 0;

    // Sessions. A new one ends the user's oldest ones beyond keepAtMost.
    virtual void openSession(const SessionRecord& session, int keepAtMost) = 0;
    // The user of a session that has not ended by `now`, whose name has this key and whose
    // account is not disabled.
    virtual std::optional<std::int64_t> sessionUser(const std::string& tokenHash, const std::string& nameKey,
                                                    std::int64_t now) = 0;
    virtual void closeSession(const std::string& tokenHash) = 0;

    // Devices that keep a login. A new one ends the user's oldest ones beyond keepAtMost.
    virtual void addDevice(const DeviceRecord& device, int keepAtMost) = 0;
    // Gives the device whose token has oldHash the new hash and expiry, when its token has not
    // expired by `now`, its user's name has this key and the account is not disabled; that
    // user. A token presented again after it was replaced has been copied: its device is
    // removed. nullopt then and for anything else.
    virtual std::optional<std::int64_t> rotateDeviceToken(const std::string& oldHash, const std::string& nameKey,
                                                          const std::string& newHash, std::int64_t now,
                                                          std::int64_t expires) = 0;
    // The user's devices, oldest first.
    virtual std::vector<DeviceSummary> devices(std::int64_t user) = 0;
    // false when the user has no device of that id.
    virtual bool removeDevice(std::int64_t user, std::int64_t device) = 0;

    // Cases.
    virtual std::int64_t insertCase(std::int64_t user, const CaseFields& fields) = 0;
    // Writes the chosen texts into every case of the user with fields.gua_bianhao, inserting
    // the case first when the user has none under that number.
    virtual void saveTexts(std::int64_t user, const CaseFields& fields, TextsToSave which, const std::string& judgment,
                           const std::string& feedback) = 0;
    virtual std::optional<StoredCase> loadCase(std::int64_t user, std::int64_t id) = 0;
    virtual std::vector<CaseSummary> recentCases(std::int64_t user, int limit) = 0;
    // Cases whose name, matter, judgment or feedback contain the keyword (ASCII letters
    // compared without case), newest first; a search that runs out of time gives the newest
    // matches it found by then.
    virtual std::vector<CaseSummary> searchCases(std::int64_t user, const std::string& keyword, int limit) = 0;
    virtual std::vector<std::int64_t> years(std::int64_t user, CategoryFilter category) = 0;
    virtual std::vector<std::int64_t> months(std::int64_t user, CategoryFilter category, std::int64_t year) = 0;
    virtual std::vector<CaseSummary> casesOfMonth(std::int64_t user, CategoryFilter category, std::int64_t year,
                                                  std::int64_t month, int limit) = 0;

    // Category names.
    virtual std::vector<Category> categories(std::int64_t user) = 0;
    virtual void renameCategory(std::int64_t user, std::int64_t categoryId, const std::string& categoryName) = 0;

    // What the user keeps, as the stored-bytes quota counts it: the UTF-8 bytes of the texts of
    // the user's cases and category names, and kStoredRowBytes for each of them. Reads them all.
    virtual std::int64_t storedBytes(std::int64_t user) = 0;
    virtual NumberedTexts numberedTexts(std::int64_t user, const std::string& caseNumber) = 0;

    // Cuts short the statements under way and refuses new ones: for a prompt shutdown.
    virtual void interruptQueries() = 0;
};

}  // namespace qinglan::caseservice
