// The records the service keeps: accounts, cases, their summaries, category names and
// login sessions and devices, as the store gives them and the protocol writes them; the login notice.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace qinglan::caseservice {

struct UserAccount {
    std::int64_t id = 0;
    std::string pwhash;  // crypto_pwhash string of the password digest, never the digest
    bool disabled = false;
};

// The case fields as the desktop client sends them (the columns gua_ming, gua_bianhao, lei_id,
// nian, yue, ri, xingbie, chusheng, shiyou, didian, shizhi of gua_table). categoryId is empty when
// the client knows no category for the case; year, month and day are decimal texts already
// checked by the caller. place and timeRule are the place of the cast and the clock of its
// pillars as the client writes them; empty from clients that send none (the clock read as
// Beijing time as it stands).
struct CaseFields {
    std::string hexagramName;
    std::string caseNumber;
    std::string categoryId;
    std::string year;
    std::string month;
    std::string day;
    std::string gender;
    std::string birthYear;
    std::string subject;
    std::string place{};
    std::string timeRule{};
};

struct StoredCase {
    std::int64_t id = 0;
    CaseFields fields;
    std::string judgment;  // duanyu
    std::string feedback;  // fankui
};

// One row of a case list: identifier, case number, subject, hexagram name.
struct CaseSummary {
    std::int64_t id = 0;
    std::string caseNumber;
    std::string subject;
    std::string hexagramName;
};

// A category name of the user's (fenlei_table: lei_mingcheng, lei_id).
struct Category {
    std::string categoryName;
    std::int64_t categoryId = 0;
};

// Which texts a texts save writes: 1 the judgment, 2 the feedback, 3 both.
enum class TextsToSave { Judgment = 1, Feedback = 2, Both = 3 };

// A login session: the hash of its token (never the token), its user and when it ends
// (seconds since the epoch).
struct SessionRecord {
    std::string tokenHash;
    std::int64_t user = 0;
    std::int64_t expires = 0;
};

// A device that keeps a login ("记住用户名和密码"): the hash of its refresh token (never the
// token), its user, the name the client gave it, and when it was added and stops being
// accepted unless used (seconds since the epoch).
struct DeviceRecord {
    std::string tokenHash;
    std::int64_t user = 0;
    std::string name;
    std::int64_t created = 0;
    std::int64_t expires = 0;
};

// One row of a user's device list; times in seconds since the epoch.
struct DeviceSummary {
    std::int64_t id = 0;
    std::string name;
    std::int64_t created = 0;
    std::int64_t lastUsed = 0;
};

// What the login reply tells every user: a message, a link and the newest program version
// offered (0: none).
struct LoginNotice {
    std::string message;
    std::string url;
    std::int64_t version = 0;
};

// What one account may do, each bound 0 for none.
struct AccountQuotas {
    std::int64_t storedBytes = 256 * 1024 * 1024;  // of its cases' texts and category names
    int savesPerMinute = 60;                       // saves of cases, texts and category names
    int searchesAtOnce = 1;                        // keyword searches running at once
    static AccountQuotas none() { return {0, 0, 0}; }
};

// What each case and category name of an account counts against its stored bytes beside its
// texts, so that empty rows are not free.
inline constexpr std::int64_t kStoredRowBytes = 128;

// The user's cases under one case number, and the bytes of their judgments and feedback: what
// a texts save replaces.
struct NumberedTexts {
    std::int64_t cases = 0;
    std::int64_t judgmentBytes = 0;
    std::int64_t feedbackBytes = 0;
};

// A category filter: nullopt means every category ("fenlei=-1").
using CategoryFilter = std::optional<std::int64_t>;

}  // namespace qinglan::caseservice
