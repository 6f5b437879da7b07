#include "store/sqlite/sqlite_case_repository.h"

#include "model/text_checks.h"
#include "text_search/char_gram_tokenizer.h"
#include "text_search/keyword_phrase.h"

#include <algorithm>
#include <cctype>

namespace qinglan::caseservice {

namespace {

constexpr const char* kSummaryColumns = "SELECT id, gua_bianhao, shiyou, gua_ming FROM gua_table ";

void bindCaseFields(Statement& stmt, int first, const CaseFields& f) {
    stmt.bind(first, f.hexagramName).bind(first + 1, f.caseNumber);
    if (f.categoryId.empty())
        stmt.bindNull(first + 2);
    else
        stmt.bind(first + 2, std::stoll(f.categoryId));
    stmt.bind(first + 3, std::stoll(f.year))
        .bind(first + 4, std::stoll(f.month))
        .bind(first + 5, std::stoll(f.day))
        .bind(first + 6, f.gender)
        .bind(first + 7, f.birthYear)
        .bind(first + 8, f.subject)
        .bind(first + 9, f.place)
        .bind(first + 10, f.timeRule);
}

std::vector<CaseSummary> readSummaries(Statement& stmt) {
    std::vector<CaseSummary> rows;
    while (stmt.step()) rows.push_back({stmt.integer(0), stmt.text(1), stmt.text(2), stmt.text(3)});
    return rows;
}

// The rows a search finds within its time: newest first, so what it has when cut short are the
// newest matches.
std::vector<CaseSummary> readSummariesWithinTime(Statement& stmt) {
    std::vector<CaseSummary> rows;
    try {
        while (stmt.step()) rows.push_back({stmt.integer(0), stmt.text(1), stmt.text(2), stmt.text(3)});
    } catch (const QueryInterrupted&) {
    }
    return rows;
}

std::vector<std::int64_t> readIntegers(Statement& stmt) {
    std::vector<std::int64_t> values;
    while (stmt.step()) values.push_back(stmt.integer(0));
    return values;
}

// Whether a case the index finds for the keyword holds it in one of its texts, as the literal
// test reads them, so the texts need no second look. The index reads the four texts joined by
// line breaks: a keyword with a line break could reach across two of them.
bool indexFindsExactly(std::string_view keyword) {
    return isValidUtf8(keyword) && keyword.find('\n') == std::string_view::npos;
}

std::string lowerAscii(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(c < 0x80 ? std::tolower(c) : c); });
    return text;
}

}  // namespace

bool SqliteCaseRepository::createUser(const AccountName& nm, const std::string& pwhash, const std::string& phone,
                                      const std::string& email) {
    bool created = false;
    write([&](SqliteConnection& db) {
        auto stmt = db.prepare(
            "INSERT INTO users(nm, nm_key, nm_lookalike, pwhash, shouji, youxiang) VALUES(?1, ?2, ?6, ?3, ?4, ?5) "
            "ON CONFLICT DO NOTHING");
        stmt.bind(1, nm.display).bind(2, nm.key).bind(3, pwhash).bind(4, phone).bind(5, email).bind(6, nm.lookalike);
        stmt.run();
        created = db.changes() == 1;
    });
    return created;
}

std::optional<UserAccount> SqliteCaseRepository::findUser(const std::string& nameKey) {
    auto stmt = connection().prepare("SELECT id, pwhash, disabled FROM users WHERE nm_key = ?1");
    stmt.bind(1, nameKey);
    if (!stmt.step()) return std::nullopt;
    return UserAccount{stmt.integer(0), stmt.text(1), stmt.integer(2) != 0};
}

void SqliteCaseRepository::replacePassword(std::int64_t user, const std::string& pwhash, const SessionRecord& fresh) {
    write([&](SqliteConnection& db) {
        db.prepare("UPDATE users SET pwhash = ?2 WHERE id = ?1").bind(1, user).bind(2, pwhash).run();
        db.prepare("DELETE FROM sessions WHERE user_id = ?1").bind(1, user).run();
        db.prepare("DELETE FROM device_tokens WHERE user_id = ?1").bind(1, user).run();
        db.prepare("INSERT INTO sessions(token_hash, user_id, expires) VALUES(?1, ?2, ?3)")
            .bind(1, fresh.tokenHash)
            .bind(2, user)
            .bind(3, fresh.expires)
            .run();
    });
}

void SqliteCaseRepository::openSession(const SessionRecord& session, int keepAtMost) {
    write([&](SqliteConnection& db) {
        db.prepare("INSERT INTO sessions(token_hash, user_id, expires) VALUES(?1, ?2, ?3)")
            .bind(1, session.tokenHash)
            .bind(2, session.user)
            .bind(3, session.expires)
            .run();
        // The newest by opening order (many may share an expiry second).
        db.prepare(
              "DELETE FROM sessions WHERE user_id = ?1 AND id NOT IN "
              "(SELECT id FROM sessions WHERE user_id = ?1 ORDER BY id DESC LIMIT ?2)")
            .bind(1, session.user)
            .bind(2, std::int64_t{keepAtMost})
            .run();
    });
}

std::optional<std::int64_t> SqliteCaseRepository::sessionUser(const std::string& tokenHash, const std::string& nameKey,
                                                              std::int64_t now) {
    auto stmt = connection().prepare(
        "SELECT s.user_id FROM sessions s JOIN users u ON u.id = s.user_id "
        "WHERE s.token_hash = ?1 AND s.expires > ?3 AND u.nm_key = ?2 AND u.disabled = 0");
    stmt.bind(1, tokenHash).bind(2, nameKey).bind(3, now);
    if (!stmt.step()) return std::nullopt;
    return stmt.integer(0);
}

void SqliteCaseRepository::closeSession(const std::string& tokenHash) {
    write([&](SqliteConnection& db) {
        db.prepare("DELETE FROM sessions WHERE token_hash = ?1").bind(1, tokenHash).run();
    });
}

std::int64_t SqliteCaseRepository::insertCase(std::int64_t user, const CaseFields& fields) {
    std::int64_t id = 0;
    write([&](SqliteConnection& db) { id = insertRow(db, user, fields); });
    return id;
}

std::int64_t SqliteCaseRepository::insertRow(SqliteConnection& db, std::int64_t user, const CaseFields& fields,
                                             const std::string& judgment, const std::string& feedback) {
    auto stmt = db.prepare(
        "INSERT INTO gua_table(user_id, gua_ming, gua_bianhao, lei_id, nian, yue, ri, xingbie, chusheng, shiyou, "
        "didian, shizhi, duanyu, fankui) VALUES(?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, ?13, ?14)");
    stmt.bind(1, user);
    bindCaseFields(stmt, 2, fields);
    stmt.bind(13, judgment).bind(14, feedback);
    stmt.run();
    const std::int64_t id = db.lastInsertId();
    indexTexts(db, id, IndexChange::Add);
    return id;
}

void SqliteCaseRepository::indexTexts(SqliteConnection& db, std::int64_t id, IndexChange change) {
    // One row by VALUES, not INSERT ... SELECT: a statement that may write several rows runs in
    // a statement transaction of its own, and opening one makes the index flush what it holds.
    static constexpr const char* kAdd[] = {
        "INSERT INTO case_grams(rowid, texts) VALUES(?1, (SELECT texts FROM case_grams_texts WHERE id = ?1))",
        "INSERT INTO case_grams_short(rowid, texts) VALUES(?1, (SELECT texts FROM case_grams_texts WHERE id = ?1))"};
    static constexpr const char* kRemove[] = {
        "INSERT INTO case_grams(case_grams, rowid, texts) "
        "VALUES('delete', ?1, (SELECT texts FROM case_grams_texts WHERE id = ?1))",
        "INSERT INTO case_grams_short(case_grams_short, rowid, texts) "
        "VALUES('delete', ?1, (SELECT texts FROM case_grams_texts WHERE id = ?1))"};
    for (const char* sql : change == IndexChange::Add ? kAdd : kRemove) db.prepare(sql).bind(1, id).run();
}

void SqliteCaseRepository::saveTexts(std::int64_t user, const CaseFields& fields, TextsToSave which,
                                     const std::string& judgment, const std::string& feedback) {
    const bool setDuanyu = which == TextsToSave::Judgment || which == TextsToSave::Both;
    const bool setFankui = which == TextsToSave::Feedback || which == TextsToSave::Both;
    // Both texts in one statement, so the index takes each case's old texts out and adds the new once.
    write([&](SqliteConnection& db) {
        std::vector<std::int64_t> ids;
        {
            auto same = db.prepare("SELECT id FROM gua_table WHERE user_id = ?1 AND gua_bianhao = ?2 ORDER BY id");
            same.bind(1, user).bind(2, fields.caseNumber);
            while (same.step()) ids.push_back(same.integer(0));
        }
        if (ids.empty()) {
            insertRow(db, user, fields, setDuanyu ? judgment : std::string(), setFankui ? feedback : std::string());
            return;
        }
        const std::string assignments = setDuanyu && setFankui ? "duanyu = ?3, fankui = ?4"
                                        : setDuanyu            ? "duanyu = ?3"
                                                               : "fankui = ?4";
        for (const std::int64_t id : ids) {
            indexTexts(db, id, IndexChange::Remove);
            auto update = db.prepare("UPDATE gua_table SET " + assignments + " WHERE id = ?1");
            update.bind(1, id);
            if (setDuanyu) update.bind(3, judgment);
            if (setFankui) update.bind(4, feedback);
            update.run();
            indexTexts(db, id, IndexChange::Add);
        }
    });
}

std::optional<StoredCase> SqliteCaseRepository::loadCase(std::int64_t user, std::int64_t id) {
    auto stmt = connection().prepare(
        "SELECT gua_ming, gua_bianhao, lei_id, nian, yue, ri, xingbie, chusheng, shiyou, duanyu, fankui, didian, "
        "shizhi FROM gua_table WHERE id = ?2 AND user_id = ?1");
    stmt.bind(1, user).bind(2, id);
    if (!stmt.step()) return std::nullopt;
    StoredCase row;
    row.id = id;
    row.fields = {stmt.text(0), stmt.text(1), stmt.text(2), stmt.text(3),  stmt.text(4), stmt.text(5),
                  stmt.text(6), stmt.text(7), stmt.text(8), stmt.text(11), stmt.text(12)};
    row.judgment = stmt.text(9);
    row.feedback = stmt.text(10);
    return row;
}

std::vector<CaseSummary> SqliteCaseRepository::recentCases(std::int64_t user, int limit) {
    auto stmt = connection().prepare(std::string(kSummaryColumns) + "WHERE user_id = ?1 ORDER BY id DESC LIMIT ?2");
    stmt.bind(1, user).bind(2, std::int64_t{limit});
    return readSummaries(stmt);
}

std::vector<CaseSummary> SqliteCaseRepository::searchCases(std::int64_t user, const std::string& keyword, int limit) {
    // instr() takes the keyword literally ("%" and "_" are not wildcards); lower() folds
    // ASCII letters only, as the local search's LIKE does. That test is the meaning of a match;
    // the index only finds the user's cases to test, newest first, so the search stops at the
    // limit without reading the others.
    const std::string folded = lowerAscii(keyword);
    const char* contains =
        "(instr(lower(g.gua_ming), ?2) > 0 OR instr(lower(g.shiyou), ?2) > 0 "
        "OR instr(lower(g.duanyu), ?2) > 0 OR instr(lower(g.fankui), ?2) > 0)";
    if (const auto phrase = text_search::ownedKeywordPhrase(user, keyword)) {
        const bool shortKeyword = text_search::isShortKeyword(keyword);
        const std::string index = shortKeyword ? "case_grams_short" : "case_grams";
        // The index holds only the user's cases under the user's terms; the owner test stays
        // beside it all the same. The texts are tested again only where the index may find more
        // than the literal test.
        const bool exact = indexFindsExactly(keyword);
        // CROSS JOIN keeps the index as the outer loop.
        auto stmt = connection().prepare(
            "SELECT g.id, g.gua_bianhao, g.shiyou, g.gua_ming FROM " + index +
            " s CROSS JOIN gua_table g ON g.id = s.rowid WHERE " + index + " MATCH ?4 AND g.user_id = ?1" +
            (exact ? "" : " AND " + std::string(contains)) + " ORDER BY s.rowid DESC LIMIT ?3");
        stmt.bind(1, user).bind(3, std::int64_t{limit}).bind(4, *phrase);
        if (!exact) stmt.bind(2, folded);
        return readSummariesWithinTime(stmt);
    }
    // What the index cannot take (see ownedKeywordPhrase) is looked for in the user's cases.
    auto stmt = connection().prepare(std::string("SELECT g.id, g.gua_bianhao, g.shiyou, g.gua_ming FROM gua_table g "
                                                 "WHERE g.user_id = ?1 AND ") +
                                     contains + " ORDER BY g.id DESC LIMIT ?3");
    stmt.bind(1, user).bind(2, folded).bind(3, std::int64_t{limit});
    return readSummariesWithinTime(stmt);
}

std::vector<std::int64_t> SqliteCaseRepository::years(std::int64_t user, CategoryFilter category) {
    if (!category) {
        auto stmt = connection().prepare(
            "SELECT DISTINCT nian FROM gua_table WHERE user_id = ?1 AND nian IS NOT NULL ORDER BY nian");
        stmt.bind(1, user);
        return readIntegers(stmt);
    }
    auto stmt = connection().prepare(
        "SELECT DISTINCT nian FROM gua_table WHERE user_id = ?1 AND lei_id = ?2 AND nian IS NOT NULL ORDER BY nian");
    stmt.bind(1, user).bind(2, *category);
    return readIntegers(stmt);
}

std::vector<std::int64_t> SqliteCaseRepository::months(std::int64_t user, CategoryFilter category, std::int64_t year) {
    if (!category) {
        auto stmt = connection().prepare(
            "SELECT DISTINCT yue FROM gua_table WHERE user_id = ?1 AND nian = ?2 AND yue IS NOT NULL ORDER BY yue");
        stmt.bind(1, user).bind(2, year);
        return readIntegers(stmt);
    }
    auto stmt = connection().prepare(
        "SELECT DISTINCT yue FROM gua_table WHERE user_id = ?1 AND lei_id = ?3 AND nian = ?2 AND yue IS NOT NULL "
        "ORDER BY yue");
    stmt.bind(1, user).bind(2, year).bind(3, *category);
    return readIntegers(stmt);
}

std::vector<CaseSummary> SqliteCaseRepository::casesOfMonth(std::int64_t user, CategoryFilter category,
                                                            std::int64_t year, std::int64_t month, int limit) {
    if (!category) {
        auto stmt = connection().prepare(std::string(kSummaryColumns) +
                                         "WHERE user_id = ?1 AND nian = ?2 AND yue = ?3 ORDER BY id LIMIT ?4");
        stmt.bind(1, user).bind(2, year).bind(3, month).bind(4, std::int64_t{limit});
        return readSummaries(stmt);
    }
    auto stmt =
        connection().prepare(std::string(kSummaryColumns) +
                             "WHERE user_id = ?1 AND lei_id = ?5 AND nian = ?2 AND yue = ?3 ORDER BY id LIMIT ?4");
    stmt.bind(1, user).bind(2, year).bind(3, month).bind(4, std::int64_t{limit}).bind(5, *category);
    return readSummaries(stmt);
}

std::vector<Category> SqliteCaseRepository::categories(std::int64_t user) {
    auto stmt =
        connection().prepare("SELECT lei_mingcheng, lei_id FROM fenlei_table WHERE user_id = ?1 ORDER BY lei_id");
    stmt.bind(1, user);
    std::vector<Category> rows;
    while (stmt.step()) rows.push_back({stmt.text(0), stmt.integer(1)});
    return rows;
}

void SqliteCaseRepository::renameCategory(std::int64_t user, std::int64_t categoryId, const std::string& categoryName) {
    write([&](SqliteConnection& db) {
        db.prepare(
              "INSERT INTO fenlei_table(user_id, lei_id, lei_mingcheng) VALUES(?1, ?2, ?3) "
              "ON CONFLICT(user_id, lei_id) DO UPDATE SET lei_mingcheng = excluded.lei_mingcheng")
            .bind(1, user)
            .bind(2, categoryId)
            .bind(3, categoryName)
            .run();
    });
}

// CAST AS BLOB: length() of a text counts characters, of a blob bytes.
std::int64_t SqliteCaseRepository::storedBytes(std::int64_t user) {
    auto stmt = connection().prepare(
        "SELECT (SELECT coalesce(sum(length(CAST(gua_ming AS BLOB)) + length(CAST(gua_bianhao AS BLOB)) + "
        "length(CAST(xingbie AS BLOB)) + length(CAST(chusheng AS BLOB)) + length(CAST(shiyou AS BLOB)) + "
        "length(CAST(duanyu AS BLOB)) + length(CAST(fankui AS BLOB)) + ?2), 0) FROM gua_table WHERE user_id = ?1) + "
        "(SELECT coalesce(sum(length(CAST(lei_mingcheng AS BLOB)) + ?2), 0) FROM fenlei_table WHERE user_id = ?1)");
    stmt.bind(1, user).bind(2, kStoredRowBytes);
    stmt.step();
    return stmt.integer(0);
}

NumberedTexts SqliteCaseRepository::numberedTexts(std::int64_t user, const std::string& caseNumber) {
    auto stmt = connection().prepare(
        "SELECT count(*), coalesce(sum(length(CAST(duanyu AS BLOB))), 0), coalesce(sum(length(CAST(fankui AS BLOB))), "
        "0) FROM gua_table WHERE user_id = ?1 AND gua_bianhao = ?2");
    stmt.bind(1, user).bind(2, caseNumber);
    stmt.step();
    return {stmt.integer(0), stmt.integer(1), stmt.integer(2)};
}

}  // namespace qinglan::caseservice
