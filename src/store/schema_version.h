#pragma once
// The version of the database layout (PRAGMA user_version) and the steps that bring an older
// file up to it.
#include <QtGlobal>

namespace store {

class Database;

// 0: files made before the version was kept (the search index may be missing).
// 1: the schema with a trigram keyword index, marked with kApplicationId.
// 2: the keyword index of characters, pairs and triples (any keyword length).
// 3: the keyword index rebuilt by the NUL-safe tokenizer (see char_gram_tokenizer.h).
// 4: every case carries a uuid (see case_identity.h).
// 5: every case carries its question type (gua_table.zhanlei, empty when none was chosen).
// 6: every case carries its outcome (gua_table.outcome, 'pending' for the cases before it) and
//    the outcome and predicted dates (null); see case_outcome.h.
// 7: every case carries the place of the cast and the clock of its pillars (gua_table.didian,
//    shizhi; null for the Beijing clock as it stands, which older cases keep).
inline constexpr quint32 kSchemaVersion = 7;
// The first version whose keyword index the search may use.
inline constexpr quint32 kNulSafeIndexVersion = 3;
// PRAGMA application_id of our files ("QLNG"); files made before it was kept carry 0.
inline constexpr quint32 kApplicationId = 0x514C4E47;

// Brings the open file up to kSchemaVersion in one transaction; nothing changes when it fails.
// The caller has checked that the file is not newer. A rebuilt keyword index is told on standard
// error (qInfo), once.
void upgradeSchema(Database& db);

}  // namespace store
