#include "store/case_transfer.h"

#include "store/case_categories.h"

#include <QHash>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>
#include <QSqlQuery>
#include <QStringDecoder>
#include <QVariant>

namespace store {
namespace {

// The fields of a line, in the column order of gua_table.
const char* const kTextFields[] = {"gua_ming", "gua_bianhao", "xingbie", "chusheng", "shiyou", "duanyu", "fankui"};
const char* const kNumberFields[] = {"nian", "yue", "ri"};

QJsonValue jsonOf(const QVariant& value) {
    if (value.isNull()) return QJsonValue(QJsonValue::Null);
    switch (value.typeId()) {
    case QMetaType::LongLong:
    case QMetaType::Int:
        return QJsonValue(value.toLongLong());
    case QMetaType::Double:
        return QJsonValue(value.toDouble());
    default:
        return QJsonValue(value.toString());
    }
}

void writeOrThrow(QIODevice& out, const QByteArray& bytes) {
    if (out.write(bytes) != bytes.size())
        throw DatabaseError(QStringLiteral("无法写出导出文件：%1").arg(out.errorString()));
}

// One line read from the input: its bytes without the line end, or too long.
struct InputLine {
    QByteArray bytes;
    bool tooLong = false;
};

std::optional<InputLine> readInputLine(QIODevice& in) {
    if (in.atEnd() && !in.isSequential()) return std::nullopt;
    InputLine line;
    line.bytes = in.readLine(kMaxImportLineBytes + 1);
    if (line.bytes.isEmpty() && in.atEnd()) return std::nullopt;
    if (!line.bytes.endsWith('\n') && line.bytes.size() > kMaxImportLineBytes) {
        line.tooLong = true;
        line.bytes.clear();
        for (QByteArray rest = in.readLine(1 << 20); !rest.isEmpty() && !rest.endsWith('\n'); rest = in.readLine(1 << 20)) {
        }
        return line;
    }
    if (line.bytes.endsWith('\n')) line.bytes.chop(1);
    if (line.bytes.endsWith('\r')) line.bytes.chop(1);
    return line;
}

// An empty text stays an empty text: a null QString would be stored as NULL.
QString nonNull(QString text) { return text.isNull() ? QString(qsizetype(0), QChar()) : text; }

// What a valid line holds, ready to bind.
struct ImportedCase {
    QVariantList values;      // gua_ming, gua_bianhao, nian, yue, ri, xingbie, chusheng, shiyou, duanyu, fankui, shijian
    QVariant categoryName;    // null: no category
};

std::optional<QString> readCase(const QByteArray& bytes, ImportedCase& out) {
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8.decode(bytes);
    if (utf8.hasError()) return QStringLiteral("不是 UTF-8 文本");
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(text.toUtf8(), &parseError);
    if (parseError.error != QJsonParseError::NoError)
        return QStringLiteral("不是有效的 JSON（第 %1 个字节处：%2）").arg(parseError.offset + 1).arg(parseError.errorString());
    if (!document.isObject()) return QStringLiteral("不是 JSON 对象");
    const QJsonObject object = document.object();

    static const QSet<QString> known = [] {
        QSet<QString> names{QStringLiteral("id"), QStringLiteral("lei_mingcheng"), QStringLiteral("shijian")};
        for (const char* f : kTextFields) names << QLatin1String(f);
        for (const char* f : kNumberFields) names << QLatin1String(f);
        return names;
    }();
    for (auto it = object.begin(); it != object.end(); ++it)
        if (!known.contains(it.key())) return QStringLiteral("未知字段 %1").arg(it.key());

    QHash<QString, QVariant> fields;
    auto text_ = [&](const QString& key, const QVariant& absent) -> std::optional<QString> {
        const QJsonValue v = object.value(key);
        if (v.isUndefined()) fields[key] = absent;
        else if (v.isNull()) fields[key] = QVariant();
        else if (v.isString()) fields[key] = nonNull(v.toString());
        else return QStringLiteral("字段 %1 应是文本或 null").arg(key);
        return std::nullopt;
    };
    for (const char* f : kTextFields) {
        const QString key = QLatin1String(f);
        const bool isText = key == u"duanyu" || key == u"fankui";
        if (auto problem = text_(key, isText ? QVariant(nonNull(QString())) : QVariant())) return problem;
    }
    if (auto problem = text_(QStringLiteral("lei_mingcheng"), QVariant())) return problem;
    if (auto problem = text_(QStringLiteral("shijian"), QVariant())) return problem;
    for (const char* f : kNumberFields) {
        const QString key = QLatin1String(f);
        const QJsonValue v = object.value(key);
        if (v.isUndefined() || v.isNull()) fields[key] = QVariant();
        else if (v.isString()) fields[key] = nonNull(v.toString());  // a text the exporting database held there
        else if (v.isDouble() && v.toDouble() == static_cast<double>(v.toInteger())) fields[key] = v.toInteger();
        else return QStringLiteral("字段 %1 应是整数、文本或 null").arg(key);
    }
    const QVariant number = fields.value(QStringLiteral("gua_bianhao"));
    if (number.isNull() || number.toString().isEmpty()) return QStringLiteral("缺少卦的唯一编号 gua_bianhao");

    out.values.clear();
    for (const char* f : {"gua_ming", "gua_bianhao", "nian", "yue", "ri", "xingbie", "chusheng", "shiyou", "duanyu", "fankui", "shijian"})
        out.values << fields.value(QLatin1String(f));
    out.categoryName = fields.value(QStringLiteral("lei_mingcheng"));
    return std::nullopt;
}

}  // namespace

qint64 exportCases(const Database& db, const ExportFilter& filter, QIODevice& out) {
    QVariant categoryId;
    if (filter.category) {
        categoryId = db.getFirstString(QStringLiteral("select lei_id from fenlei_table where lei_mingcheng=? order by lei_id limit 1"),
                                       {*filter.category});
        if (categoryId.toString().isEmpty())
            throw DatabaseError(QStringLiteral("没有名为“%1”的类别").arg(*filter.category));
    }
    const auto dayNumber = [](const std::optional<QDate>& d) {
        return d ? QVariant(d->year() * 10000 + d->month() * 100 + d->day()) : QVariant();
    };
    QSqlQuery query = db.select(
        QStringLiteral("select g.id,g.gua_ming,g.gua_bianhao,f.lei_mingcheng,g.nian,g.yue,g.ri,g.xingbie,g.chusheng,"
                       "g.shiyou,g.duanyu,g.fankui,g.shijian from gua_table g "
                       "left join fenlei_table f on f.lei_id=g.lei_id "
                       "where (? is null or g.lei_id=?) "
                       "and (? is null or g.nian*10000+g.yue*100+g.ri>=?) "
                       "and (? is null or g.nian*10000+g.yue*100+g.ri<=?) order by g.id"),
        {categoryId, categoryId, dayNumber(filter.from), dayNumber(filter.from), dayNumber(filter.to), dayNumber(filter.to)});
    static const char* const kColumns[] = {"id",      "gua_ming", "gua_bianhao", "lei_mingcheng", "nian",
                                           "yue",     "ri",       "xingbie",     "chusheng",      "shiyou",
                                           "duanyu",  "fankui",   "shijian"};
    qint64 count = 0;
    while (query.next()) {
        QJsonObject object;
        for (int column = 0; column < 13; ++column) object.insert(QLatin1String(kColumns[column]), jsonOf(query.value(column)));
        writeOrThrow(out, QJsonDocument(object).toJson(QJsonDocument::Compact) + '\n');
        ++count;
    }
    return count;
}

ImportReport importCases(Database& db, QIODevice& in, ImportMode mode) {
    ImportReport report;
    CaseCategories categories(db);
    QHash<QString, qint64> categoryIds;
    Transaction transaction(db);
    qint64 lineNumber = 0;
    ImportedCase imported;
    while (const auto line = readInputLine(in)) {
        ++lineNumber;
        if (line->tooLong) {
            report.refused.append({lineNumber, QStringLiteral("行太长（超过 %1 字节）").arg(kMaxImportLineBytes)});
            continue;
        }
        if (line->bytes.trimmed().isEmpty()) continue;
        if (const auto problem = readCase(line->bytes, imported)) {
            report.refused.append({lineNumber, *problem});
            continue;
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
                    id = added.leiId;
                }
                known = categoryIds.insert(name, id);
            }
            categoryId = *known;
        }
        const QVariantList& v = imported.values;
        // Same case number and the same texts: already here.
        if (db.getFirstInteger(QStringLiteral("select count(*) from gua_table where gua_bianhao=? and gua_ming is ? "
                                              "and xingbie is ? and chusheng is ? and shiyou is ? and duanyu is ? "
                                              "and fankui is ?"),
                               {v[1], v[0], v[5], v[6], v[7], v[8], v[9]}) > 0) {
            ++report.skipped;
            continue;
        }
        db.execute(QStringLiteral("insert into gua_table(gua_ming,gua_bianhao,lei_id,nian,yue,ri,xingbie,chusheng,"
                                  "shiyou,duanyu,fankui,shijian) values(?,?,?,?,?,?,?,?,?,?,?,"
                                  "coalesce(?,strftime('%Y-%m-%d %H:%M:%f','now','localtime')))"),
                   {v[0], v[1], categoryId, v[2], v[3], v[4], v[5], v[6], v[7], v[8], v[9], v[10]});
        ++report.added;
    }
    const bool keep = mode == ImportMode::SkipRefused || (mode == ImportMode::AllOrNothing && report.refused.isEmpty());
    if (keep) {
        transaction.commit();
        report.committed = true;
    }
    return report;
}

}  // namespace store
