#pragma once
// An FTS5 tokenizer that lets a full-text table find any piece of text of one character or more.
//
// A text is read as a sequence of characters (UTF-8; ASCII letters folded to lower case, as
// SQLite's LIKE compares them). Every character position carries two tokens: the pair of the
// character and the next one, and, at the same position, the character alone; the last character
// of a text carries only itself. A keyword of one character is then the single-character token,
// and a keyword of n >= 2 characters the phrase of its n-1 overlapping pairs, which occurs exactly
// where the keyword occurs. Separators, punctuation and the LIKE metacharacters are characters like
// any other.
//
// A text that is the owner mark (kOwnerMarkLead followed by digits) also yields itself whole as one
// token, so a table can hold an owner column that a query names exactly (see ownerToken).
#include <cstdint>
#include <string>

struct sqlite3;

namespace text_search {

// The name under which the tokenizer is registered: tokenize='char_grams'.
inline constexpr const char* kCharGramTokenizer = "char_grams";
inline constexpr char kOwnerMarkLead = '\x01';

// Registers the tokenizer on one connection; returns an SQLite result code.
int registerCharGramTokenizer(sqlite3* db);

// Makes every SQLite connection the process opens from now on know the tokenizer (through
// sqlite3_auto_extension), including connections made by Qt's SQLite driver, which uses the
// same library. Safe to call any number of times, from any thread.
void registerCharGramTokenizerEverywhere();

// The owner mark of one account's rows: kOwnerMarkLead followed by the decimal id.
std::string ownerToken(std::int64_t owner);

}  // namespace text_search
