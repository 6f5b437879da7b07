#include "store/schema_version.h"

#include "store/database.h"
#include "store/search_index.h"

namespace store {

void upgradeSchema(Database& db) {
    Transaction transaction(db);
    // Read inside the transaction: another program may have upgraded the file meanwhile.
    const qint64 version = db.getFirstInteger(QStringLiteral("pragma user_version"));
    if (version >= kSchemaVersion && db.getFirstInteger(QStringLiteral("pragma application_id")) == kApplicationId)
        return;
    // Version 2: the keyword index of characters, pairs and triples, made from the cases already
    // there; it replaces version 1's trigram index (which could not look up keywords of one or two
    // characters) and the files without any index.
    if (version < 2) rebuildSearchIndex(db);
    db.execute(QStringLiteral("pragma user_version=%1").arg(kSchemaVersion));
    db.execute(QStringLiteral("pragma application_id=%1").arg(kApplicationId));
    transaction.commit();
}

}  // namespace store
