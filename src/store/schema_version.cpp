#include "store/schema_version.h"

#include "store/case_identity.h"
#include "store/database.h"
#include "store/search_index.h"

namespace store {
namespace {

// Version 2: the keyword search index of characters, pairs and triples, filled from the cases
// already there; it replaces version 1's trigram index (which could not look up keywords of one
// or two characters) and the files without any index.
void rebuildSearchIndex(Database& db) {
    dropSearchIndex(db);
    createSearchIndex(db);
    fillSearchIndex(db);
}

}  // namespace

void upgradeSchema(Database& db) {
    Transaction transaction(db);
    // Read inside the transaction: another program may have upgraded the file meanwhile.
    const qint64 version = db.getFirstInteger(QStringLiteral("pragma user_version"));
    if (version >= kSchemaVersion && db.getFirstInteger(QStringLiteral("pragma application_id")) == kApplicationId)
        return;
    if (version < 2) rebuildSearchIndex(db);
    if (version < 3) {
        // MERGE PLACEHOLDER: the step to version 3 (the keyword index rebuild) comes from
        // another branch; replace this empty block with it when merging.
    }
    if (version < 4) addCaseIdentity(db);
    db.execute(QStringLiteral("pragma user_version=%1").arg(kSchemaVersion));
    db.execute(QStringLiteral("pragma application_id=%1").arg(kApplicationId));
    transaction.commit();
}

}  // namespace store
