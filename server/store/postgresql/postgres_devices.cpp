// The devices that keep a login, on PostgreSQL.
#include "store/postgresql/postgres_case_repository.h"

#include <string>

namespace qinglan::caseservice {

namespace {

constexpr PgStatement kInsertDevice{"insert_device",
                                    "INSERT INTO device_tokens(user_id, shebei, token_hash, created, used, expires) "
                                    "VALUES ($1, $2, $3, $4, $4, $5)"};
constexpr PgStatement kTrimDevices{"trim_devices",
                                   "DELETE FROM device_tokens WHERE user_id = $1 AND id NOT IN "
                                   "(SELECT id FROM device_tokens WHERE user_id = $1 ORDER BY id DESC LIMIT $2)"};
constexpr PgStatement kLockDeviceUser{"lock_device_user", "SELECT 1 FROM users WHERE id = $1 FOR UPDATE"};
constexpr PgStatement kRotateDevice{
    "rotate_device",
    "UPDATE device_tokens SET previous_hash = token_hash, token_hash = $2, used = $4, expires = $5 "
    "WHERE token_hash = $1 AND expires > $4 "
    "AND user_id = (SELECT id FROM users WHERE nm_key = $3 AND NOT disabled) RETURNING user_id"};
constexpr PgStatement kEndCopiedDevice{"end_copied_device", "DELETE FROM device_tokens WHERE previous_hash = $1"};
constexpr PgStatement kDevices{"devices",
                               "SELECT id, shebei, created, used FROM device_tokens WHERE user_id = $1 ORDER BY id"};
constexpr PgStatement kRemoveDevice{"remove_device", "DELETE FROM device_tokens WHERE user_id = $1 AND id = $2"};

std::string number(std::int64_t value) { return std::to_string(value); }

}  // namespace

void PostgresCaseRepository::addDevice(const DeviceRecord& device, int keepAtMost) {
    auto db = pool_.acquire();
    PgTransaction transaction(*db);
    // Additions for one user through any instance take turns, so the count kept is exact.
    db->run(kLockDeviceUser, {number(device.user)});
    db->run(kInsertDevice,
            {number(device.user), device.name, device.tokenHash, number(device.created), number(device.expires)});
    db->run(kTrimDevices, {number(device.user), number(keepAtMost)});
    transaction.commit();
}

std::optional<std::int64_t> PostgresCaseRepository::rotateDeviceToken(const std::string& oldHash,
                                                                      const std::string& nameKey,
                                                                      const std::string& newHash, std::int64_t now,
                                                                      std::int64_t expires) {
    auto db = pool_.acquire();
    PgTransaction transaction(*db);
    const auto rotated = db->run(kRotateDevice, {oldHash, newHash, nameKey, number(now), number(expires)});
    std::optional<std::int64_t> user;
    if (rotated.rows() == 1)
        user = rotated.integer(0, 0);
    else
        db->run(kEndCopiedDevice, {oldHash});
    transaction.commit();
    return user;
}

std::vector<DeviceSummary> PostgresCaseRepository::devices(std::int64_t user) {
    auto db = pool_.acquire();
    const auto result = db->run(kDevices, {number(user)});
    std::vector<DeviceSummary> rows;
    for (int r = 0; r < result.rows(); ++r)
        rows.push_back({result.integer(r, 0), result.text(r, 1), result.integer(r, 2), result.integer(r, 3)});
    return rows;
}

bool PostgresCaseRepository::removeDevice(std::int64_t user, std::int64_t device) {
    auto db = pool_.acquire();
    return db->run(kRemoveDevice, {number(user), number(device)}).affected() == 1;
}

}  // namespace qinglan::caseservice
