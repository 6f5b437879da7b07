#include "store/schema_version.h"

#include "store/database.h"

namespace store {
namespace {

// Version 1: the keyword search index, filled from the cases already there.
void addSearchIndex(Database& db) {
    if (db.getFirstInteger(QStringLiteral("select count(*) from sqlite_master where name='gua_fts'")) > 0) return;
    db.runScript(QStringLiteral(":/store/search_index.sql"));
    db.execute(QStringLiteral("insert into gua_fts(gua_fts) values('rebuild')"));
}

}  // namespace

void upgradeSchema(Database& db) {
    Transaction transaction(db);
    // Read inside the transaction: another program may have upgraded the file meanwhile.
    const qint64 version = db.getFirstInteger(QStringLiteral("pragma user_version"));
    if (version >= 1 && db.getFirstInteger(QStringLiteral("pragma application_id")) == kApplicationId) return;
    if (version < 1) addSearchIndex(db);
    db.execute(QStringLiteral("pragma user_version=%1").arg(kSchemaVersion));
    db.execute(QStringLiteral("pragma application_id=%1").arg(kApplicationId));
    transaction.commit();
}

}  // namespace store
