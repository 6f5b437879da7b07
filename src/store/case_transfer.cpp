#include "store/case_transfer.h"

#include "store/search_index.h"

#include "store/case_categories.h"
#include "store/case_identity.h"
#include "store/case_outcome.h"

#include "chart/cast_place.h"

#include <QCoreApplication>
#include <QHash>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace store {
namespace {

// The fields of a line, in the column order of gua_table.
const char* const kTextFields[] = {"gua_ming", "gua_bianhao", "xingbie", "chusheng", "shiyou", "duanyu", "fankui"};
const char* const kNumberFields[] = {"nian", "yue", "ri"};

// JSON text of a string: UTF-8, with only the quote, the backslash and control characters escaped.
void appendJsonString(QByteArray& out, const QString& text) {
    static const char hex[] = "0123456789abcdef";
    const QByteArray utf8 = text.toUtf8();
    out += '"';
    qsizetype plainFrom = 0;
    for (qsizetype i = 0; i < utf8.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(utf8[i]);
        if (c >= 0x20 && c != '"' && c != '\\') continue;
        out.append(utf8.constData() + plainFrom, i - plainFrom);
        plainFrom = i + 1;
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            out += "\\u00";
            out += hex[c >> 4];
            out += hex[c & 15];
        }
    }
    out.append(utf8.constData() + plainFrom, utf8.size() - plainFrom);
    out += '"';
}

void appendJsonValue(QByteArray& out, const QVariant& value) {
    if (value.isNull()) {
        out += "null";
        return;
    }
    switch (value.typeId()) {
    case QMetaType::LongLong:
    case QMetaType::Int: out += QByteArray::number(value.toLongLong()); return;
    case QMetaType::Double: out += QByteArray::number(value.toDouble(), 'g', 17); return;
    default: appendJsonString(out, value.toString());
    }
}

void writeOrThrow(QIODevice& out, const QByteArray& bytes) {
    if (out.write(bytes) != bytes.size())
        throw DatabaseError(
            QCoreApplication::translate("store::CaseTransfer", "无法写出导出文件：%1").arg(out.errorString()));
}

// One line read from the input: its bytes without the line end, or too long.
struct InputLine {
    QByteArray bytes;
    bool tooLong = false;
};

// Reads in pieces, so a long line costs only its own size and a line over the limit is
// skipped without holding it.
std::optional<InputLine> readInputLine(QIODevice& in) {
    constexpr qint64 kPiece = 1 << 16;
    InputLine line;
    bool readAny = false;
    for (;;) {
        const QByteArray piece = in.readLine(kPiece);
        if (piece.isEmpty()) break;  // the end of the input
        readAny = true;
        if (!line.tooLong) {
            line.bytes += piece;
            if (line.bytes.size() > kMaxImportLineBytes + 1) {
                line.tooLong = true;
                line.bytes.clear();
            }
        }
        if (piece.endsWith('\n')) break;
    }
    if (!readAny) return std::nullopt;
    if (line.bytes.endsWith('\n')) line.bytes.chop(1);
    if (line.bytes.endsWith('\r')) line.bytes.chop(1);
    return line;
}

// An empty text stays an empty text: a null QString would be stored as NULL.
QString nonNull(QString text) { return text.isNull() ? QString(qsizetype(0), QChar()) : text; }

// What a valid line holds, ready to bind.
struct ImportedCase {
    QVariantList values;    // gua_ming, gua_bianhao, nian, yue, ri, xingbie, chusheng, shiyou, duanyu, fankui, shijian,
                            // zhanlei, outcome, outcome_date, predicted_date (the outcome null: the line has none),
                            // didian, shizhi (null: the default place)
    QVariant categoryName;  // null: no category
    QString uuid;           // empty: the line has none
};

std::optional<QString> readCase(const QByteArray& bytes, ImportedCase& out) {
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &parseError);
    if (parseError.error == QJsonParseError::IllegalUTF8String) return QStringLiteral("不是 UTF-8 文本");
    if (parseError.error != QJsonParseError::NoError)
        return QStringLiteral("不是有效的 JSON（第 %1 个字节处：%2）")
            .arg(parseError.offset + 1)
            .arg(parseError.errorString());
    if (!document.isObject()) return QStringLiteral("不是 JSON 对象");
    const QJsonObject object = document.object();

    static const QSet<QString> known = [] {
        QSet<QString> names{
            QStringLiteral("id"),           QStringLiteral("uuid"),           QStringLiteral("lei_mingcheng"),
            QStringLiteral("shijian"),      QStringLiteral("zhanlei"),        QStringLiteral("outcome"),
            QStringLiteral("outcome_date"), QStringLiteral("predicted_date"), QStringLiteral("didian"),
            QStringLiteral("shizhi")};
        for (const char* f : kTextFields) names << QLatin1String(f);
        for (const char* f : kNumberFields) names << QLatin1String(f);
        return names;
    }();
    for (auto it = object.begin(); it != object.end(); ++it)
        if (!known.contains(it.key())) return QStringLiteral("未知字段 %1").arg(it.key());

    QHash<QString, QVariant> fields;
    auto text_ = [&](const QString& key, const QVariant& absent) -> std::optional<QString> {
        const QJsonValue v = object.value(key);
        if (v.isUndefined())
            fields[key] = absent;
        else if (v.isNull())
            fields[key] = QVariant();
        else if (!v.isString())
            return QStringLiteral("字段 %1 应是文本或 null").arg(key);
        else if (auto problem = oversizedText(QStringLiteral("字段 %1 ").arg(key), v.toString()))
            return problem;
        else
            fields[key] = nonNull(v.toString());
        return std::nullopt;
    };
    for (const char* f : kTextFields) {
        const QString key = QLatin1String(f);
        const bool isText = key == u"duanyu" || key == u"fankui";
        if (auto problem = text_(key, isText ? QVariant(nonNull(QString())) : QVariant())) return problem;
    }
    if (auto problem = text_(QStringLiteral("lei_mingcheng"), QVariant())) return problem;
    if (auto problem = text_(QStringLiteral("shijian"), QVariant())) return problem;
    if (auto problem = text_(QStringLiteral("uuid"), QVariant())) return problem;
    // Lines written before the question type was kept have none: null, which leaves a stored one be.
    if (auto problem = text_(QStringLiteral("zhanlei"), QVariant())) return problem;
    // Lines written before the place was kept have none: the default place.
    if (auto problem = text_(QStringLiteral("didian"), QVariant())) return problem;
    if (auto problem = text_(QStringLiteral("shizhi"), QVariant())) return problem;
    const QString placeText = fields.value(QStringLiteral("didian")).toString();
    const QString ruleText = fields.value(QStringLiteral("shizhi")).toString();
    chart::CastPlace place;
    if (!placeText.isEmpty())
        if (auto problem = chart::applyPlaceText(placeText, place))
            return QStringLiteral("字段 didian 不是地点“经度,时区”：%1").arg(*problem);
    if (!ruleText.isEmpty() && !chart::parseTimeRule(ruleText))
        return QStringLiteral("字段 shizhi 应是 beijing、solar 或 null，不是 %1").arg(ruleText.left(64));
    out.uuid.clear();
    if (const QString uuid = fields.value(QStringLiteral("uuid")).toString(); !uuid.isEmpty()) {
        out.uuid = canonicalUuid(uuid);
        if (out.uuid.isEmpty()) return QStringLiteral("字段 uuid 不是 UUID：%1").arg(uuid.left(64));
    }
    for (const char* f : kNumberFields) {
        const QString key = QLatin1String(f);
        const QJsonValue v = object.value(key);
        if (v.isUndefined() || v.isNull())
            fields[key] = QVariant();
        else if (v.isString() && utf8Size(v.toString()) > kMaxCaseTextBytes)
            return *oversizedText(QStringLiteral("字段 %1 ").arg(key), v.toString());
        else if (v.isString())
            fields[key] = nonNull(v.toString());  // a text the exporting database held there
        else if (v.isDouble() && v.toDouble() == static_cast<double>(v.toInteger()))
            fields[key] = v.toInteger();
        else
            return QStringLiteral("字段 %1 应是整数、文本或 null").arg(key);
    }
    // The outcome and its two dates travel together: a line with none of them (one written before
    // outcomes were kept) leaves a stored outcome be; a line with any of them sets all three.
    QVariant outcome, outcomeDates[2];
    const QString dateKeys[2] = {QStringLiteral("outcome_date"), QStringLiteral("predicted_date")};
    if (object.contains(QStringLiteral("outcome")) || object.contains(dateKeys[0]) || object.contains(dateKeys[1])) {
        const QJsonValue v = object.value(QStringLiteral("outcome"));
        std::optional<Outcome> parsed = Outcome::Pending;
        if (!v.isUndefined() && !v.isNull()) parsed = v.isString() ? parseOutcome(v.toString()) : std::nullopt;
        if (!parsed)
            return QStringLiteral("字段 outcome 应是 hit、partial、miss、pending（或应验、部分应验、未应验、待验）");
        outcome = outcomeCode(*parsed);
        for (int i = 0; i < 2; ++i) {
            const QJsonValue d = object.value(dateKeys[i]);
            if (d.isUndefined() || d.isNull()) continue;
            const QDate date = d.isString() ? QDate::fromString(d.toString(), QStringLiteral("yyyy-MM-dd")) : QDate();
            if (!date.isValid()) return QStringLiteral("字段 %1 应是日期 yyyy-mm-dd 或 null").arg(dateKeys[i]);
            outcomeDates[i] = dateColumn(date);
        }
    }
    const QVariant number = fields.value(QStringLiteral("gua_bianhao"));
    if (number.isNull() || number.toString().isEmpty()) return QStringLiteral("缺少卦的唯一编号 gua_bianhao");

    out.values.clear();
    for (const char* f : {"gua_ming", "gua_bianhao", "nian", "yue", "ri", "xingbie", "chusheng", "shiyou", "duanyu",
                          "fankui", "shijian", "zhanlei"})
        out.values << fields.value(QLatin1String(f));
    out.values << outcome << outcomeDates[0] << outcomeDates[1];
    const chart::StoredPlace stored = chart::storedPlace(chart::placeOfStored(placeText, ruleText));
    for (const QString& text : {stored.place, stored.rule})
        out.values << (text.isEmpty() ? QVariant() : QVariant(text));
    out.categoryName = fields.value(QStringLiteral("lei_mingcheng"));
    return std::nullopt;
}

// A digest of the texts that decide whether a case is already present (the case number aside).
size_t textDigest(const QVariant& hexagramName, const QVariant& gender, const QVariant& birthYear,
                  const QVariant& subject, const QVariant& judgment, const QVariant& feedback) {
    size_t digest = 0;
    for (const QVariant* v : {&hexagramName, &gender, &birthYear, &subject, &judgment, &feedback})
        digest = qHashMulti(digest, v->isNull(), v->toString());
    return digest;
}

// A statement prepared once and run for every line of an import.
class PreparedStatement {
public:
    PreparedStatement(Database& db, const QString& statement) : db_(db), query_(db.connection()) {
        query_.setForwardOnly(true);
        if (!query_.prepare(statement)) throw db_.errorOf(query_.lastError());
    }
    QSqlQuery& run(const QVariantList& values) {
        for (qsizetype i = 0; i < values.size(); ++i) query_.bindValue(static_cast<int>(i), values[i]);
        if (!query_.exec()) throw db_.errorOf(query_.lastError());
        return query_;
    }

private:
    Database& db_;
    QSqlQuery query_;
};

QList<size_t> digestsOf(const Database& db, QSqlQuery& query) {
    QList<size_t> digests;
    while (db.nextRow(query))
        digests << textDigest(query.value(0), query.value(1), query.value(2), query.value(3), query.value(4),
                              query.value(5));
    query.finish();
    return digests;
}

}  // namespace

namespace {

// The columns of an export line, in the order of kKeys; "g" is gua_table, "f" fenlei_table. A
// file of an older version opened read-only has no uuid yet: its lines carry null; nor a question
// type: an empty one; nor an outcome: pending; nor a place: null.
QString exportSelect(const Database& db) {
    const auto hasColumn = [&](const char* name) {
        return db.getFirstInteger(QStringLiteral("select count(*) from pragma_table_info('gua_table') where name=?"),
                                  {QString::fromLatin1(name)}) > 0;
    };
    return QStringLiteral(
               "select g.id,%1,g.gua_ming,g.gua_bianhao,f.lei_mingcheng,g.nian,g.yue,g.ri,g.xingbie,"
               "g.chusheng,g.shiyou,g.duanyu,g.fankui,g.shijian,%2,%3,%4 from gua_table g "
               "left join fenlei_table f on f.lei_id=g.lei_id ")
        .arg(hasColumn("uuid") ? QStringLiteral("g.uuid") : QStringLiteral("null"),
             hasColumn("zhanlei") ? QStringLiteral("coalesce(g.zhanlei,'')") : QStringLiteral("''"),
             hasColumn("outcome") ? QStringLiteral("coalesce(g.outcome,'pending'),g.outcome_date,g.predicted_date")
                                  : QStringLiteral("'pending',null,null"),
             hasColumn("didian") ? QStringLiteral("g.didian,g.shizhi") : QStringLiteral("null,null"));
}

// Writes one line per row of a query over exportSelect's columns; returns how many. A row that
// cannot be read ends it with DatabaseError saying how far it came; the lines before it are written.
qint64 writeCaseLines(const Database& db, QSqlQuery& query, QIODevice& out, qint64 before = 0) {
    static const char* const kKeys[] = {
        "{\"id\":",      ",\"uuid\":",         ",\"gua_ming\":",       ",\"gua_bianhao\":", ",\"lei_mingcheng\":",
        ",\"nian\":",    ",\"yue\":",          ",\"ri\":",             ",\"xingbie\":",     ",\"chusheng\":",
        ",\"shiyou\":",  ",\"duanyu\":",       ",\"fankui\":",         ",\"shijian\":",     ",\"zhanlei\":",
        ",\"outcome\":", ",\"outcome_date\":", ",\"predicted_date\":", ",\"didian\":",      ",\"shizhi\":"};
    qint64 count = 0;
    QVariant lastId;
    QByteArray pending;
    for (;;) {
        try {
            if (!db.nextRow(query)) break;
        } catch (const DatabaseError& e) {
            writeOrThrow(out, pending);
            const QString where = lastId.isNull()
                                      ? QCoreApplication::translate("store::CaseTransfer", "在第一个案例之前")
                                      : QCoreApplication::translate("store::CaseTransfer", "在 id %1 的案例之后")
                                            .arg(lastId.toLongLong());
            throw DatabaseError(QCoreApplication::translate("store::CaseTransfer",
                                                            "%1；读到第 %2 个案例时停止（%3），其后的案例没有导出")
                                    .arg(e.text())
                                    .arg(before + count + 1)
                                    .arg(where),
                                e.problem());
        }
        for (int column = 0; column < int(std::size(kKeys)); ++column) {
            pending += kKeys[column];
            appendJsonValue(pending, query.value(column));
        }
        pending += "}\n";
        lastId = query.value(0);
        ++count;
        if (pending.size() >= (1 << 20)) {
            writeOrThrow(out, pending);
            pending.clear();
        }
    }
    writeOrThrow(out, pending);
    return count;
}

}  // namespace

qint64 exportCases(const Database& db, const ExportFilter& filter, QIODevice& out) {
    QVariant categoryId;
    if (filter.category) {
        categoryId = db.getFirstString(
            QStringLiteral("select lei_id from fenlei_table where lei_mingcheng=? order by lei_id limit 1"),
            {*filter.category});
        if (categoryId.toString().isEmpty())
            throw DatabaseError(
                QCoreApplication::translate("store::CaseTransfer", "没有名为“%1”的类别").arg(*filter.category));
    }
    const auto dayNumber = [](const std::optional<QDate>& d) {
        return d ? QVariant(d->year() * 10000 + d->month() * 100 + d->day()) : QVariant();
    };
    QSqlQuery query =
        db.select(exportSelect(db) + QStringLiteral("where (? is null or g.lei_id=?) "
                                                    "and (? is null or g.nian*10000+g.yue*100+g.ri>=?) "
                                                    "and (? is null or g.nian*10000+g.yue*100+g.ri<=?) order by g.id"),
                  {categoryId, categoryId, dayNumber(filter.from), dayNumber(filter.from), dayNumber(filter.to),
                   dayNumber(filter.to)});
    return writeCaseLines(db, query, out);
}

qint64 exportCasesById(const Database& db, const QList<qint64>& ids, QIODevice& out) {
    qint64 count = 0;
    const QString select = exportSelect(db) + QStringLiteral("where g.id=?");
    for (const qint64 id : ids) {
        QSqlQuery query = db.select(select, {id});
        count += writeCaseLines(db, query, out, count);
    }
    return count;
}

ImportReport importCases(Database& db, QIODevice& in, ImportMode mode, KnownCases knownCases) {
    ImportReport report;
    CaseCategories categories(db);
    QHash<QString, qint64> categoryIds;
    QHash<QString, QList<size_t>> known;  // case number -> text digests of the cases with it
    Transaction transaction(db);
    // The search index takes the new cases in one statement at the end: kept up by its trigger,
    // row by row, it would cost several times the rest of the import. The trigger is dropped
    // and made again inside the transaction, so a failed import leaves it as it was.
    const QString indexTrigger = db.getFirstString(
        QStringLiteral("select sql from sqlite_master where type='trigger' and name='gua_table_fts_insert'"));
    const qint64 lastIdBefore = db.getFirstInteger(QStringLiteral("select max(id) from gua_table"));
    if (!indexTrigger.isEmpty()) db.execute(QStringLiteral("drop trigger gua_table_fts_insert"));
    PreparedStatement casesWithNumber(
        db, QStringLiteral("select gua_ming,xingbie,chusheng,shiyou,duanyu,fankui from gua_table where gua_bianhao=?"));
    PreparedStatement insertCase(
        db,
        QStringLiteral("insert into gua_table(gua_ming,gua_bianhao,lei_id,nian,yue,ri,xingbie,chusheng,shiyou,duanyu,"
                       "fankui,shijian,uuid,zhanlei,outcome,outcome_date,predicted_date,didian,shizhi) "
                       "values(?,?,?,?,?,?,?,?,?,?,?,coalesce(?,strftime('%Y-%m-%d %H:%M:%f','now','localtime')),?,"
                       "coalesce(?,''),coalesce(?,'pending'),?,?,?,?)"));
    PreparedStatement caseWithUuid(
        db, QStringLiteral("select id,gua_ming is ? and xingbie is ? and chusheng is ? and shiyou is ? and duanyu is ? "
                           "and fankui is ? and (? is null or zhanlei is ?) and (? is null or (outcome is ? and "
                           "outcome_date is ? and predicted_date is ?)),gua_bianhao from gua_table where uuid=?"));
    PreparedStatement updateTexts(
        db, QStringLiteral("update gua_table set gua_ming=?,xingbie=?,chusheng=?,shiyou=?,duanyu=?,fankui=?,"
                           "zhanlei=coalesce(?,zhanlei),outcome=coalesce(?,outcome),"
                           "outcome_date=case when ? is null then outcome_date else ? end,"
                           "predicted_date=case when ? is null then predicted_date else ? end where id=?"));
    QHash<QString, qint64> uuidLines;  // uuid -> the line that named it
    qint64 lineNumber = 0;
    ImportedCase imported;
    while (const auto line = readInputLine(in)) {
        ++lineNumber;
        if (line->tooLong) {
            report.refused.append({lineNumber, QStringLiteral("行太长：超过 %1 字节（一段文字最多 %2 字节）")
                                                   .arg(kMaxImportLineBytes)
                                                   .arg(kMaxCaseTextBytes)});
            continue;
        }
        if (line->bytes.trimmed().isEmpty()) continue;
        if (const auto problem = readCase(line->bytes, imported)) {
            report.refused.append({lineNumber, *problem});
            continue;
        }
        const QVariantList& v = imported.values;
        if (!imported.uuid.isEmpty()) {
            // Each line names its own case. (A case added by an earlier line is indexed only at
            // the end: updating it would take texts out of the index that were never put in.)
            if (const qint64 earlier = uuidLines.value(imported.uuid)) {
                report.refused.append({lineNumber, QStringLiteral("uuid 与第 %1 行相同").arg(earlier)});
                continue;
            }
            uuidLines.insert(imported.uuid, lineNumber);
            QSqlQuery& present = caseWithUuid.run(
                {v[0], v[5], v[6], v[7], v[8], v[9], v[11], v[11], v[12], v[12], v[13], v[14], imported.uuid});
            const bool found = present.next();
            const qint64 id = found ? present.value(0).toLongLong() : 0;
            const bool sameTexts = found && present.value(1).toBool();
            const QString storedNumber = found ? present.value(2).toString() : QString();
            present.finish();
            if (found) {
                if (sameTexts) {
                    ++report.skipped;
                } else if (knownCases == KnownCases::Refuse) {
                    report.refused.append(
                        {lineNumber, QStringLiteral("uuid 为 %1 的卦例已在库中，内容不同，未更新").arg(imported.uuid)});
                } else {
                    updateTexts.run({v[0], v[5], v[6], v[7], v[8], v[9], v[11], v[12], v[12], v[13], v[12], v[14], id});
                    if (const auto seen = known.find(storedNumber); seen != known.end())
                        seen->append(textDigest(v[0], v[5], v[6], v[7], v[8], v[9]));
                    ++report.updated;
                }
                continue;
            }
        }
        QVariant categoryId;
        if (!imported.categoryName.isNull()) {
            const QString name = imported.categoryName.toString();
            auto known = categoryIds.constFind(name);
            if (known == categoryIds.constEnd()) {
                qint64 id = 0;
                if (const auto existing = categories.idOf(name)) {
                    id = *existing;
                } else {
                    const CategoryChange added = categories.add(name);
                    if (!added.done) {
                        report.refused.append({lineNumber, QStringLiteral("类别“%1”：%2").arg(name, added.problem)});
                        continue;
                    }
                    id = added.categoryId;
                }
                known = categoryIds.insert(name, id);
            }
            categoryId = *known;
        }
        // Same case number and the same texts: already here. The digests of the cases seen per
        // number rule out most cases without a look into the table; a match is confirmed there.
        const QString number = v[1].toString();
        auto seen = known.find(number);
        if (seen == known.end()) seen = known.insert(number, digestsOf(db, casesWithNumber.run({number})));
        const size_t digest = textDigest(v[0], v[5], v[6], v[7], v[8], v[9]);
        if (seen->contains(digest) &&
            db.getFirstInteger(QStringLiteral("select count(*) from gua_table where gua_bianhao=? and gua_ming is ? "
                                              "and xingbie is ? and chusheng is ? and shiyou is ? and duanyu is ? "
                                              "and fankui is ?"),
                               {v[1], v[0], v[5], v[6], v[7], v[8], v[9]}) > 0) {
            ++report.skipped;
            continue;
        }
        seen->append(digest);
        insertCase.run({v[0], v[1], categoryId, v[2], v[3], v[4], v[5], v[6], v[7], v[8], v[9], v[10],
                        imported.uuid.isEmpty() ? QVariant() : QVariant(imported.uuid), v[11], v[12], v[13], v[14],
                        v[15], v[16]});
        ++report.added;
    }
    if (!indexTrigger.isEmpty()) {
        fillSearchIndex(db, lastIdBefore);
        db.execute(indexTrigger);
    }
    const bool keep = mode == ImportMode::SkipRefused || (mode == ImportMode::AllOrNothing && report.refused.isEmpty());
    if (keep) {
        transaction.commit();
        report.committed = true;
    } else if (mode != ImportMode::DryRun) {
        report.added = report.updated = 0;  // rolled back: nothing of it is in the database
    }
    return report;
}

}  // namespace store
