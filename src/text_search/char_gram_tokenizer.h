#pragma once
// An FTS5 tokenizer that lets full-text tables find any piece of text of one character or more.
//
// A text is read as a sequence of characters (UTF-8 as SQLite reads it; ASCII letters folded to
// lower case, as SQLite's LIKE compares them). Separators, punctuation and the LIKE
// metacharacters are characters like any other. The tokenizer works in one of two modes, named
// by its argument:
//
// - "short": every character and every pair of neighbouring characters is a token. A table in
//   this mode needs no positions (detail=none): a keyword of one or two characters is one token.
// - "triples": every three neighbouring characters are a token, at the position of the first
//   (detail=full). A keyword of n >= 3 characters is the phrase of its n-2 overlapping triples,
//   which occurs exactly where the keyword occurs.
//
// FTS5 holds the terms it has not yet written out as NUL-terminated strings: a term with a NUL
// byte in it would be cut there and sorted out of order, which damages the index. A NUL character
// is therefore indexed as kNulStandIn, the two-byte form of U+0000 that well-formed UTF-8 never
// holds; every other byte goes into the terms as it is.
//
// A second argument "owned" (tokenize='char_grams short owned') keeps the texts of many owners
// apart: a text that starts with an owner mark (see ownerMark) is read without it, and each of its
// tokens carries the mark in front. A query that starts with the same mark then finds that owner's
// texts only, through terms that hold nothing else.
#include <cstdint>
#include <string>
#include <string_view>

struct sqlite3;
struct fts5_api;

namespace text_search {

// The tokenizer's name and its two modes: tokenize='char_grams short' or 'char_grams triples'.
inline constexpr const char* kCharGramTokenizer = "char_grams";
inline constexpr const char* kShortMode = "short";
inline constexpr const char* kTriplesMode = "triples";
inline constexpr const char* kOwnedOption = "owned";
inline constexpr char kOwnerMarkLead = '\x01';
inline constexpr char kOwnerMarkEnd = '\x02';
inline constexpr std::string_view kNulStandIn{"\xC0\x80", 2};

// Whether a keyword (UTF-8) has at most two characters as the tokenizer counts them, so that
// a table in "short" mode answers it; longer keywords go to a table in "triples" mode.
bool isShortKeyword(std::string_view keyword);

// The connection's FTS5 interface; nullptr when SQLite has no FTS5.
fts5_api* fts5ApiOf(sqlite3* db);

// Registers the tokenizer on one connection; returns an SQLite result code.
int registerCharGramTokenizer(sqlite3* db);

// Makes every SQLite connection the process opens from now on know the tokenizer (through
// sqlite3_auto_extension), including connections made by Qt's SQLite driver, which uses the
// same library. Safe to call any number of times, from any thread.
void registerCharGramTokenizerEverywhere();

// The owner mark that starts one account's texts in an "owned" table: kOwnerMarkLead, the decimal
// id, kOwnerMarkEnd.
std::string ownerMark(std::int64_t owner);

}  // namespace text_search
