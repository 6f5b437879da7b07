#include "store/schema_version.h"

#include "store/database.h"

namespace store {
namespace {

// Version 2: the keyword search index of characters and character pairs, filled from the cases
// already there; it replaces version 1's trigram index (which could not look up keywords of one
// or two characters) and the files without any index.
void rebuildSearchIndex(Database& db) {
    for (const char* trigger :
         {"gua_table_fts_insert", "gua_table_fts_delete", "gua_table_fts_unindex", "gua_table_fts_update"})
        db.execute(QStringLiteral("drop trigger if exists %1").arg(QLatin1String(trigger)));
    db.execute(QStringLiteral("drop table if exists gua_fts"));
    db.execute(QStringLiteral("drop view if exists gua_fts_texts"));
    db.runScript(QStringLiteral(":/store/search_index.sql"));
    db.execute(QStringLiteral("insert into gua_fts(rowid,texts) select id,texts from gua_fts_texts"));
}

}  // namespace

void upgradeSchema(Database& db) {
    Transaction transaction(db);
    // Read inside the transaction: another program may have upgraded the file meanwhile.
    const qint64 version = db.getFirstInteger(QStringLiteral("pragma user_version"));
    if (version >= kSchemaVersion && db.getFirstInteger(QStringLiteral("pragma application_id")) == kApplicationId)
        return;
    if (version < 2) rebuildSearchIndex(db);
    db.execute(QStringLiteral("pragma user_version=%1").arg(kSchemaVersion));
    db.execute(QStringLiteral("pragma application_id=%1").arg(kApplicationId));
    transaction.commit();
}

}  // namespace store
