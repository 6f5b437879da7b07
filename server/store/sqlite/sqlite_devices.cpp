// The devices that keep a login, on the SQLite file.
#include "store/sqlite/sqlite_case_repository.h"

namespace qinglan::caseservice {

void SqliteCaseRepository::addDevice(const DeviceRecord& device, int keepAtMost) {
    write([&](SqliteConnection& db) {
        db.prepare(
              "INSERT INTO device_tokens(user_id, shebei, token_hash, created, used, expires) "
              "VALUES(?1, ?2, ?3, ?4, ?4, ?5)")
            .bind(1, device.user)
            .bind(2, device.name)
            .bind(3, device.tokenHash)
            .bind(4, device.created)
            .bind(5, device.expires)
            .run();
        db.prepare(
              "DELETE FROM device_tokens WHERE user_id = ?1 AND id NOT IN "
              "(SELECT id FROM device_tokens WHERE user_id = ?1 ORDER BY id DESC LIMIT ?2)")
            .bind(1, device.user)
            .bind(2, std::int64_t{keepAtMost})
            .run();
    });
}

std::optional<std::int64_t> SqliteCaseRepository::rotateDeviceToken(const std::string& oldHash,
                                                                    const std::string& nameKey,
                                                                    const std::string& newHash, std::int64_t now,
                                                                    std::int64_t expires) {
    std::optional<std::int64_t> user;
    write([&](SqliteConnection& db) {
        user.reset();
        {
            auto stmt = db.prepare(
                "UPDATE device_tokens SET previous_hash = token_hash, token_hash = ?2, used = ?4, expires = ?5 "
                "WHERE token_hash = ?1 AND expires > ?4 "
                "AND user_id = (SELECT id FROM users WHERE nm_key = ?3 AND disabled = 0) RETURNING user_id");
            stmt.bind(1, oldHash).bind(2, newHash).bind(3, nameKey).bind(4, now).bind(5, expires);
            if (stmt.step()) user = stmt.integer(0);
            while (stmt.step()) {
            }
        }
        if (!user) db.prepare("DELETE FROM device_tokens WHERE previous_hash = ?1").bind(1, oldHash).run();
    });
    return user;
}

std::vector<DeviceSummary> SqliteCaseRepository::devices(std::int64_t user) {
    auto stmt =
        connection().prepare("SELECT id, shebei, created, used FROM device_tokens WHERE user_id = ?1 ORDER BY id");
    stmt.bind(1, user);
    std::vector<DeviceSummary> rows;
    while (stmt.step()) rows.push_back({stmt.integer(0), stmt.text(1), stmt.integer(2), stmt.integer(3)});
    return rows;
}

bool SqliteCaseRepository::removeDevice(std::int64_t user, std::int64_t device) {
    bool removed = false;
    write([&](SqliteConnection& db) {
        db.prepare("DELETE FROM device_tokens WHERE user_id = ?1 AND id = ?2").bind(1, user).bind(2, device).run();
        removed = db.changes() == 1;
    });
    return removed;
}

}  // namespace qinglan::caseservice
