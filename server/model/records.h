// The records the service keeps: accounts, cases, their summaries, category names and
// login sessions, as the store gives them and the protocol writes them.
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

// The nine case fields as the desktop client sends them. lei_id is empty when the client
// knows no category for the case; nian/yue/ri are decimal texts already checked by the caller.
struct CaseFields {
    std::string gua_ming;
    std::string gua_bianhao;
    std::string lei_id;
    std::string nian;
    std::string yue;
    std::string ri;
    std::string xingbie;
    std::string chusheng;
    std::string shiyou;
};

struct StoredCase {
    std::int64_t id = 0;
    CaseFields fields;
    std::string duanyu;
    std::string fankui;
};

// One row of a case list: identifier, case number, matter, hexagram name.
struct CaseSummary {
    std::int64_t id = 0;
    std::string gua_bianhao;
    std::string shiyou;
    std::string gua_ming;
};

struct Category {
    std::string lei_mingcheng;
    std::int64_t lei_id = 0;
};

// Which texts a texts save writes: 1 the judgment, 2 the feedback, 3 both.
enum class TextsToSave { duanyu = 1, fankui = 2, both = 3 };

// A login session: the hash of its token (never the token), its user and when it ends
// (seconds since the epoch).
struct SessionRecord {
    std::string tokenHash;
    std::int64_t user = 0;
    std::int64_t expires = 0;
};

// A category filter: nullopt means every category ("fenlei=-1").
using CategoryFilter = std::optional<std::int64_t>;

}  // namespace qinglan::caseservice
