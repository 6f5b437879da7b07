#include "store/search_index.h"

#include "store/database.h"
#include "store/schema_version.h"
#include "text_search/char_gram_tokenizer.h"

namespace store {

void createSearchIndex(Database& db) { db.runScript(QStringLiteral(":/store/search_index.sql")); }

void fillSearchIndex(Database& db, qint64 afterId) {
    for (const char* table : {"gua_fts", "gua_fts_short"})
        db.execute(QStringLiteral("insert into %1(rowid,texts) select id,texts from gua_fts_texts where id>? order by id")
                       .arg(QLatin1String(table)),
                   {afterId});
}

void dropSearchIndex(Database& db) {
    for (const char* trigger :
         {"gua_table_fts_insert", "gua_table_fts_delete", "gua_table_fts_unindex", "gua_table_fts_update"})
        db.execute(QStringLiteral("drop trigger if exists %1").arg(QLatin1String(trigger)));
    for (const char* table : {"gua_fts", "gua_fts_short"})
        db.execute(QStringLiteral("drop table if exists %1").arg(QLatin1String(table)));
    db.execute(QStringLiteral("drop view if exists gua_fts_texts"));
}

void rebuildSearchIndex(Database& db) {
    dropSearchIndex(db);
    createSearchIndex(db);
    fillSearchIndex(db);
}

QString searchIndexProblem(Database& db) {
    Transaction readOnly(db);  // never committed
    for (const char* table : {"gua_fts", "gua_fts_short"}) {
        try {
            db.execute(QStringLiteral("insert into %1(%1) values('integrity-check')").arg(QLatin1String(table)));
        } catch (const DatabaseError& e) {
            return QStringLiteral("%1：%2").arg(QLatin1String(table), e.text());
        }
    }
    return {};
}

bool hasSearchIndex(const Database& db) {
    // An index of an earlier version may hold terms with NUL bytes, which damage it.
    if (db.getFirstInteger(QStringLiteral("pragma user_version")) < kNulSafeIndexVersion) return false;
    return db.getFirstString(QStringLiteral("select sql from sqlite_master where name='gua_fts'"))
        .contains(QStringLiteral("%1 %2").arg(QLatin1String(text_search::kCharGramTokenizer),
                                             QLatin1String(text_search::kTriplesMode)));
}

}  // namespace store
