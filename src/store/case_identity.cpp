#include "store/case_identity.h"

#include "store/database.h"

#include <QUuid>

namespace store {
namespace {

// A random version-4 UUID made by SQLite itself, so every way a case is inserted gets one.
constexpr const char* kNewUuid =
    "lower(hex(randomblob(4)))||'-'||lower(hex(randomblob(2)))||'-4'||substr(lower(hex(randomblob(2))),2)||'-'||"
    "substr('89ab',1+(random()&3),1)||substr(lower(hex(randomblob(2))),2)||'-'||lower(hex(randomblob(6)))";

}  // namespace

void addCaseIdentity(Database& db) {
    if (db.getFirstInteger(QStringLiteral("select count(*) from pragma_table_info('gua_table') where name='uuid'")) ==
        0)
        db.execute(QStringLiteral("alter table gua_table add column uuid text"));
    db.execute(QStringLiteral("update gua_table set uuid=%1 where uuid is null").arg(QLatin1String(kNewUuid)));
    db.execute(QStringLiteral("create unique index if not exists gua_table_uuid on gua_table(uuid)"));
    // Not a column default: a column added to an existing table cannot default to an expression.
    db.execute(QStringLiteral("create trigger if not exists gua_table_uuid_insert after insert on gua_table "
                              "when new.uuid is null begin update gua_table set uuid=%1 where id=new.id; end")
                   .arg(QLatin1String(kNewUuid)));
}

QString canonicalUuid(const QString& text) {
    const QUuid uuid = QUuid::fromString(text);
    return uuid.isNull() ? QString() : uuid.toString(QUuid::WithoutBraces);
}

}  // namespace store
