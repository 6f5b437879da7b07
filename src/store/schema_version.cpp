#include "store/schema_version.h"

#include "store/case_identity.h"
#include "store/database.h"
#include "store/search_index.h"

#include <QDebug>

namespace store {

void upgradeSchema(Database& db) {
    Transaction transaction(db);
    // Read inside the transaction: another program may have upgraded the file meanwhile.
    const qint64 version = db.getFirstInteger(QStringLiteral("pragma user_version"));
    if (version >= kSchemaVersion && db.getFirstInteger(QStringLiteral("pragma application_id")) == kApplicationId)
        return;
    // Version 3: the index rebuilt by the tokenizer that never puts a NUL byte into a term. The
    // earlier one did for a text holding U+0000, which FTS5 cannot keep: from then on the index
    // was damaged and every save failed. Older files get their new index by the same rebuild;
    // only the replacement of version 2's index is worth telling.
    const bool reindexed = version == 2;
    if (version < 3) rebuildSearchIndex(db);
    if (version < 4) addCaseIdentity(db);
    if (version < 5 && db.getFirstInteger(QStringLiteral(
                           "select count(*) from pragma_table_info('gua_table') where name='zhanlei'")) == 0)
        db.execute(QStringLiteral("alter table gua_table add column zhanlei text default ''"));
    if (version < 6 && db.getFirstInteger(QStringLiteral(
                           "select count(*) from pragma_table_info('gua_table') where name='outcome'")) == 0) {
        db.execute(QStringLiteral("alter table gua_table add column outcome text not null default 'pending'"));
        db.execute(QStringLiteral("alter table gua_table add column outcome_date text"));
        db.execute(QStringLiteral("alter table gua_table add column predicted_date text"));
    }
    if (version < 6)
        db.execute(QStringLiteral(
            "create index if not exists gua_table_record on gua_table(lei_id,nian,yue,ri,zhanlei,xingbie,gua_bianhao,"
            "outcome,outcome_date,predicted_date)"));
    if (version < 7) {
        for (const char* column : {"didian", "shizhi"}) {
            if (db.getFirstInteger(QStringLiteral("select count(*) from pragma_table_info('gua_table') where name=?"),
                                   {QString::fromLatin1(column)}) == 0)
                db.execute(QStringLiteral("alter table gua_table add column %1 text").arg(QLatin1String(column)));
        }
    }
    db.execute(QStringLiteral("pragma user_version=%1").arg(kSchemaVersion));
    db.execute(QStringLiteral("pragma application_id=%1").arg(kApplicationId));
    transaction.commit();
    if (reindexed)
        qInfo().noquote() << QStringLiteral("已重建数据库文件 %1 的关键词索引（%2 个卦例）")
                                 .arg(db.filePath())
                                 .arg(db.getFirstInteger(QStringLiteral("select count(*) from gua_table")));
}

}  // namespace store
