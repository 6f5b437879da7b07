#pragma once
// The keyword index's tokenizer as it was before a NUL character was indexed by its stand-in:
// the same terms, with NUL bytes in them. For making files as that version did.
struct sqlite3;

namespace text_search::testing {

// Puts it in place of the current one under the same name, on this connection only; tables of
// the index opened on it from then on use it. False when the current one is not registered.
bool useEarlierTokenizer(sqlite3* db);

}  // namespace text_search::testing
