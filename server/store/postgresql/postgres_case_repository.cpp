#include "store/postgresql/postgres_case_repository.h"

#include "store/postgresql/pg_schema.h"
#include "store/postgresql/short_keyword_codes.h"

#include <chrono>

namespace qinglan::caseservice {

namespace {

// The statements, prepared on each connection on first use.
constexpr PgStatement kInsertUser{
    "insert_user",
    "INSERT INTO users(nm, nm_key, pwhash, shouji, youxiang, nm_lookalike) VALUES ($1, $2, $3, $4, $5, $6) "
    "ON CONFLICT DO NOTHING"};
constexpr PgStatement kFindUser{"find_user", "SELECT id, pwhash, disabled::int FROM users WHERE nm_key = $1"};
constexpr PgStatement kLockUser{"lock_user", "SELECT 1 FROM users WHERE id = $1 FOR UPDATE"};
constexpr PgStatement kSetPassword{"set_password", "UPDATE users SET pwhash = $2 WHERE id = $1"};
constexpr PgStatement kEndUserSessions{"end_user_sessions", "DELETE FROM sessions WHERE user_id = $1"};
constexpr PgStatement kEndUserDevices{"end_user_devices", "DELETE FROM device_tokens WHERE user_id = $1"};
constexpr PgStatement kInsertSession{"insert_session",
                                     "INSERT INTO sessions(token_hash, user_id, expires) VALUES ($1, $2, $3)"};
// The newest by opening order (many may share an expiry second).
constexpr PgStatement kTrimSessions{"trim_sessions",
                                    "DELETE FROM sessions WHERE user_id = $1 AND id NOT IN "
                                    "(SELECT id FROM sessions WHERE user_id = $1 ORDER BY id DESC LIMIT $2)"};
constexpr PgStatement kDropEndedSessions{"drop_ended_sessions", "DELETE FROM sessions WHERE expires <= $1"};
constexpr PgStatement kDropEndedDevices{"drop_ended_devices", "DELETE FROM device_tokens WHERE expires <= $1"};
constexpr PgStatement kSessionUser{"session_user",
                                   "SELECT s.user_id FROM sessions s JOIN users u ON u.id = s.user_id "
                                   "WHERE s.token_hash = $1 AND s.expires > $3 AND u.nm_key = $2 AND NOT u.disabled"};
constexpr PgStatement kCloseSession{"close_session", "DELETE FROM sessions WHERE token_hash = $1"};
constexpr PgStatement kInsertCase{
    "insert_case",
    "INSERT INTO gua_table(user_id, gua_ming, gua_bianhao, lei_id, nian, yue, ri, xingbie, chusheng, shiyou, "
    "short_grams, didian, shizhi) VALUES ($1, $2, $3, $4, $5, $6, $7, $8, $9, $10, $11, $12, $13) RETURNING id"};
// Two saves of one case number at once, through any instance, must not both insert it.
constexpr PgStatement kLockCaseNumber{"lock_case_number",
                                      "SELECT pg_advisory_xact_lock(hashtextextended($2, $1::bigint))"};
constexpr PgStatement kCasesOfNumber{
    "cases_of_number",
    "SELECT id, gua_ming, shiyou, duanyu, fankui FROM gua_table WHERE user_id = $1 AND gua_bianhao = $2 FOR UPDATE"};
constexpr PgStatement kSetTexts{"set_texts",
                                "UPDATE gua_table SET duanyu = $2, fankui = $3, short_grams = $4 WHERE id = $1"};
constexpr PgStatement kLoadCase{
    "load_case",
    "SELECT gua_ming, gua_bianhao, lei_id, nian, yue, ri, xingbie, chusheng, shiyou, duanyu, fankui, didian, "
    "shizhi FROM gua_table WHERE id = $2 AND user_id = $1"};
constexpr PgStatement kRecentCases{
    "recent_cases",
    "SELECT id, gua_bianhao, shiyou, gua_ming FROM gua_table WHERE user_id = $1 ORDER BY id DESC LIMIT $2"};
constexpr PgStatement kYears{
    "years", "SELECT DISTINCT nian FROM gua_table WHERE user_id = $1 AND nian IS NOT NULL ORDER BY nian"};
constexpr PgStatement kYearsOfCategory{"years_of_category",
                                       "SELECT DISTINCT nian FROM gua_table WHERE user_id = $1 AND lei_id = $2 "
                                       "AND nian IS NOT NULL ORDER BY nian"};
constexpr PgStatement kMonths{"months",
                              "SELECT DISTINCT yue FROM gua_table WHERE user_id = $1 AND nian = $2 "
                              "AND yue IS NOT NULL ORDER BY yue"};
constexpr PgStatement kMonthsOfCategory{"months_of_category",
                                        "SELECT DISTINCT yue FROM gua_table WHERE user_id = $1 AND lei_id = $3 "
                                        "AND nian = $2 AND yue IS NOT NULL ORDER BY yue"};
constexpr PgStatement kCasesOfMonth{"cases_of_month",
                                    "SELECT id, gua_bianhao, shiyou, gua_ming FROM gua_table "
                                    "WHERE user_id = $1 AND nian = $2 AND yue = $3 ORDER BY id LIMIT $4"};
constexpr PgStatement kCasesOfMonthOfCategory{
    "cases_of_month_of_category",
    "SELECT id, gua_bianhao, shiyou, gua_ming FROM gua_table "
    "WHERE user_id = $1 AND lei_id = $5 AND nian = $2 AND yue = $3 ORDER BY id LIMIT $4"};
constexpr PgStatement kCategories{"categories",
                                  "SELECT lei_mingcheng, lei_id FROM fenlei_table WHERE user_id = $1 ORDER BY lei_id"};
constexpr PgStatement kRenameCategory{
    "rename_category",
    "INSERT INTO fenlei_table(user_id, lei_id, lei_mingcheng) VALUES ($1, $2, $3) "
    "ON CONFLICT (user_id, lei_id) DO UPDATE SET lei_mingcheng = excluded.lei_mingcheng"};
constexpr PgStatement kStoredBytes{
    "stored_bytes",
    "SELECT (SELECT coalesce(sum(octet_length(gua_ming) + octet_length(gua_bianhao) + octet_length(xingbie) + "
    "octet_length(chusheng) + octet_length(shiyou) + octet_length(duanyu) + octet_length(fankui) + $2::integer), 0) "
    "FROM gua_table WHERE user_id = $1) + (SELECT coalesce(sum(octet_length(lei_mingcheng) + $2::integer), 0) FROM "
    "fenlei_table WHERE user_id = $1)"};
constexpr PgStatement kNumberedTexts{"numbered_texts",
                                     "SELECT count(*), coalesce(sum(octet_length(duanyu)), 0), "
                                     "coalesce(sum(octet_length(fankui)), 0) FROM gua_table "
                                     "WHERE user_id = $1 AND gua_bianhao = $2"};

// Search is planned for each keyword (a common one is best found by walking the user's cases
// newest first, a rare one through an index), so it is sent with its parameters each time.
// The index conditions find candidates; the per-field test keeps the exact meaning.
constexpr const char* kSearchColumns =
    "SELECT id, gua_bianhao, shiyou, gua_ming FROM gua_table WHERE user_id = $1 AND ";
constexpr const char* kExactMatch =
    " AND (strpos(qinglan_fold(gua_ming), qinglan_fold($2)) > 0 OR strpos(qinglan_fold(shiyou), qinglan_fold($2)) > 0"
    " OR strpos(qinglan_fold(duanyu), qinglan_fold($2)) > 0 OR strpos(qinglan_fold(fankui), qinglan_fold($2)) > 0)"
    " ORDER BY id DESC LIMIT $3";
constexpr const char* kLongKeywordCandidates =
    "qinglan_search_text(gua_ming, shiyou, duanyu, fankui) LIKE "
    "'%' || replace(replace(replace(qinglan_fold($2), '\\', '\\\\'), '%', '\\%'), '_', '\\_') || '%'";
constexpr const char* kShortKeywordCandidates = "short_grams @> ARRAY[$4::integer]";

// Ended sessions are swept at most this often, by whichever instance opens a session.
constexpr std::int64_t kSessionSweepSeconds = 60;

std::string number(std::int64_t value) { return std::to_string(value); }

PgParam optionalNumber(const std::string& decimal) {
    if (decimal.empty()) return std::nullopt;
    return decimal;
}

PgParam categoryParam(CategoryFilter category) { return number(*category); }

std::vector<CaseSummary> summaries(const PgResult& result) {
    std::vector<CaseSummary> rows;
    rows.reserve(static_cast<std::size_t>(result.rows()));
    for (int r = 0; r < result.rows(); ++r)
        rows.push_back({result.integer(r, 0), result.text(r, 1), result.text(r, 2), result.text(r, 3)});
    return rows;
}

std::vector<std::int64_t> integers(const PgResult& result) {
    std::vector<std::int64_t> values;
    for (int r = 0; r < result.rows(); ++r) values.push_back(result.integer(r, 0));
    return values;
}

std::int64_t nowSeconds() {
    return std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch())
        .count();
}

// The short keyword codes of a case's searched texts: name, matter, judgment, feedback.
std::string shortGrams(std::string_view hexagramName, std::string_view subject, std::string_view judgment,
                       std::string_view feedback) {
    return integerArrayLiteral(shortKeywordCodes({hexagramName, subject, judgment, feedback}));
}

std::int64_t insertRow(PgConnection& db, std::int64_t user, const CaseFields& f) {
    return db
        .run(kInsertCase, {number(user), f.hexagramName, f.caseNumber, optionalNumber(f.categoryId),
                           optionalNumber(f.year), optionalNumber(f.month), optionalNumber(f.day), f.gender,
                           f.birthYear, f.subject, shortGrams(f.hexagramName, f.subject, "", ""), f.place, f.timeRule})
        .integer(0, 0);
}

}  // namespace

PostgresCaseRepository::PostgresCaseRepository(const std::string& conninfo, PgPoolSettings settings)
    : pool_(conninfo, settings) {
    auto db = pool_.acquire();
    createOrMigratePgSchema(*db);
}

bool PostgresCaseRepository::createUser(const AccountName& nm, const std::string& pwhash, const std::string& phone,
                                        const std::string& email) {
    auto db = pool_.acquire();
    return db->run(kInsertUser, {nm.display, nm.key, pwhash, phone, email, nm.lookalike}).affected() == 1;
}

std::optional<UserAccount> PostgresCaseRepository::findUser(const std::string& nameKey) {
    auto db = pool_.acquire();
    const auto result = db->run(kFindUser, {nameKey});
    if (result.rows() == 0) return std::nullopt;
    return UserAccount{result.integer(0, 0), result.text(0, 1), result.integer(0, 2) != 0};
}

void PostgresCaseRepository::replacePassword(std::int64_t user, const std::string& pwhash, const SessionRecord& fresh) {
    auto db = pool_.acquire();
    PgTransaction transaction(*db);
    db->run(kLockUser, {number(user)});
    db->run(kSetPassword, {number(user), pwhash});
    db->run(kEndUserSessions, {number(user)});
    db->run(kEndUserDevices, {number(user)});
    db->run(kInsertSession, {fresh.tokenHash, number(user), number(fresh.expires)});
    transaction.commit();
}

void PostgresCaseRepository::openSession(const SessionRecord& session, int keepAtMost) {
    auto db = pool_.acquire();
    {
        PgTransaction transaction(*db);
        // A session lost in a server crash only means logging in once more: its commit need
        // not wait for the disk.
        db->execute("SET LOCAL synchronous_commit = off");
        // Logins of one user through any instance take turns, so the count kept is exact.
        db->run(kLockUser, {number(session.user)});
        db->run(kInsertSession, {session.tokenHash, number(session.user), number(session.expires)});
        db->run(kTrimSessions, {number(session.user), number(keepAtMost)});
        transaction.commit();
    }
    dropEndedSessions(*db, nowSeconds());
}

void PostgresCaseRepository::dropEndedSessions(PgConnection& db, std::int64_t now) {
    auto last = lastSessionSweep_.load();
    if (now - last < kSessionSweepSeconds || !lastSessionSweep_.compare_exchange_strong(last, now)) return;
    db.run(kDropEndedSessions, {number(now)});
    db.run(kDropEndedDevices, {number(now)});
}

std::optional<std::int64_t> PostgresCaseRepository::sessionUser(const std::string& tokenHash,
                                                                const std::string& nameKey, std::int64_t now) {
    auto db = pool_.acquire();
    const auto result = db->run(kSessionUser, {tokenHash, nameKey, number(now)});
    if (result.rows() == 0) return std::nullopt;
    return result.integer(0, 0);
}

void PostgresCaseRepository::closeSession(const std::string& tokenHash) {
    auto db = pool_.acquire();
    db->run(kCloseSession, {tokenHash});
}

std::int64_t PostgresCaseRepository::insertCase(std::int64_t user, const CaseFields& fields) {
    auto db = pool_.acquire();
    return insertRow(*db, user, fields);
}

void PostgresCaseRepository::saveTexts(std::int64_t user, const CaseFields& fields, TextsToSave which,
                                       const std::string& judgment, const std::string& feedback) {
    auto db = pool_.acquire();
    PgTransaction transaction(*db);
    db->run(kLockCaseNumber, {number(user), fields.caseNumber});
    struct Row {
        std::string id, hexagramName, subject, judgment, feedback;
    };
    std::vector<Row> rows;
    const auto existing = db->run(kCasesOfNumber, {number(user), fields.caseNumber});
    for (int r = 0; r < existing.rows(); ++r)
        rows.push_back(
            {existing.text(r, 0), existing.text(r, 1), existing.text(r, 2), existing.text(r, 3), existing.text(r, 4)});
    if (rows.empty())
        rows.push_back({number(insertRow(*db, user, fields)), fields.hexagramName, fields.subject, "", ""});
    for (auto& row : rows) {
        if (which == TextsToSave::Judgment || which == TextsToSave::Both) row.judgment = judgment;
        if (which == TextsToSave::Feedback || which == TextsToSave::Both) row.feedback = feedback;
        db->run(kSetTexts, {row.id, row.judgment, row.feedback,
                            shortGrams(row.hexagramName, row.subject, row.judgment, row.feedback)});
    }
    transaction.commit();
}

std::optional<StoredCase> PostgresCaseRepository::loadCase(std::int64_t user, std::int64_t id) {
    auto db = pool_.acquire();
    const auto r = db->run(kLoadCase, {number(user), number(id)});
    if (r.rows() == 0) return std::nullopt;
    StoredCase row;
    row.id = id;
    row.fields = {r.text(0, 0), r.text(0, 1), r.text(0, 2), r.text(0, 3),  r.text(0, 4), r.text(0, 5),
                  r.text(0, 6), r.text(0, 7), r.text(0, 8), r.text(0, 11), r.text(0, 12)};
    row.judgment = r.text(0, 9);
    row.feedback = r.text(0, 10);
    return row;
}

std::vector<CaseSummary> PostgresCaseRepository::recentCases(std::int64_t user, int limit) {
    auto db = pool_.acquire();
    return summaries(db->run(kRecentCases, {number(user), number(limit)}));
}

std::vector<CaseSummary> PostgresCaseRepository::searchCases(std::int64_t user, const std::string& keyword, int limit) {
    const auto shortCode = shortKeywordCode(keyword);
    std::vector<PgParam> params{number(user), keyword, number(limit)};
    if (shortCode) params.push_back(std::to_string(*shortCode));
    std::vector<CaseSummary> rows;
    auto db = pool_.acquire();
    db->stream(
        std::string(kSearchColumns) + (shortCode ? kShortKeywordCandidates : kLongKeywordCandidates) + kExactMatch,
        params, [&rows](const PgResult& row) {
            rows.push_back({row.integer(0, 0), row.text(0, 1), row.text(0, 2), row.text(0, 3)});
        });
    return rows;
}

std::vector<std::int64_t> PostgresCaseRepository::years(std::int64_t user, CategoryFilter category) {
    auto db = pool_.acquire();
    if (!category) return integers(db->run(kYears, {number(user)}));
    return integers(db->run(kYearsOfCategory, {number(user), categoryParam(category)}));
}

std::vector<std::int64_t> PostgresCaseRepository::months(std::int64_t user, CategoryFilter category,
                                                         std::int64_t year) {
    auto db = pool_.acquire();
    if (!category) return integers(db->run(kMonths, {number(user), number(year)}));
    return integers(db->run(kMonthsOfCategory, {number(user), number(year), categoryParam(category)}));
}

std::vector<CaseSummary> PostgresCaseRepository::casesOfMonth(std::int64_t user, CategoryFilter category,
                                                              std::int64_t year, std::int64_t month, int limit) {
    auto db = pool_.acquire();
    if (!category) return summaries(db->run(kCasesOfMonth, {number(user), number(year), number(month), number(limit)}));
    return summaries(db->run(kCasesOfMonthOfCategory,
                             {number(user), number(year), number(month), number(limit), categoryParam(category)}));
}

std::vector<Category> PostgresCaseRepository::categories(std::int64_t user) {
    auto db = pool_.acquire();
    const auto result = db->run(kCategories, {number(user)});
    std::vector<Category> rows;
    for (int r = 0; r < result.rows(); ++r) rows.push_back({result.text(r, 0), result.integer(r, 1)});
    return rows;
}

void PostgresCaseRepository::renameCategory(std::int64_t user, std::int64_t categoryId,
                                            const std::string& categoryName) {
    auto db = pool_.acquire();
    db->run(kRenameCategory, {number(user), number(categoryId), categoryName});
}

std::int64_t PostgresCaseRepository::storedBytes(std::int64_t user) {
    auto db = pool_.acquire();
    return db->run(kStoredBytes, {number(user), number(kStoredRowBytes)}).integer(0, 0);
}

NumberedTexts PostgresCaseRepository::numberedTexts(std::int64_t user, const std::string& caseNumber) {
    auto db = pool_.acquire();
    const auto r = db->run(kNumberedTexts, {number(user), caseNumber});
    return {r.integer(0, 0), r.integer(0, 1), r.integer(0, 2)};
}

}  // namespace qinglan::caseservice
