#include "store/case_lists.h"

#include <QSqlQuery>
#include <QVariant>

namespace store {
namespace {

// The keyword as a LIKE pattern that matches it literally, with "\" as the escape character.
QString containsPattern(const QString& keyword) {
    QString escaped = keyword;
    escaped.replace(u'\\', QStringLiteral("\\\\"))
        .replace(u'%', QStringLiteral("\\%"))
        .replace(u'_', QStringLiteral("\\_"));
    return u'%' + escaped + u'%';
}

}  // namespace

QList<CaseListRow> CaseLists::rows(const QString& statement, const QVariantList& values) const {
    QSqlQuery query = db_.select(statement, values);
    QList<CaseListRow> list;
    while (query.next())
        list.append({query.value(0).toLongLong(), query.value(1).toString(), query.value(2).toString(),
                     query.value(3).toString()});
    return list;
}

QList<CaseListRow> CaseLists::recentCases(int count) const {
    return rows(QStringLiteral("select id,gua_ming,gua_bianhao,shiyou from gua_table "
                               "order by shijian desc, id desc limit ?"),
                {count});
}

QList<CaseListRow> CaseLists::searchCases(const QString& keyword, int limit) const {
    // The trigram index answers keywords of three characters or more; a database made before it
    // existed, and shorter keywords, scan the table. Both give the matches in id order.
    const bool indexed =
        keyword.toUcs4().size() >= 3 &&
        db_.getFirstInteger(QStringLiteral("select count(*) from sqlite_master where name='gua_fts'")) > 0;
    if (indexed) {
        QString phrase = keyword;
        phrase.replace(u'"', QStringLiteral("\"\""));
        return rows(QStringLiteral("select id,gua_ming,gua_bianhao,shiyou from gua_table where id in "
                                   "(select rowid from gua_fts where gua_fts match ?) order by id limit ?"),
                    {u'"' + phrase + u'"', limit});
    }
    const QString pattern = containsPattern(keyword);
    return rows(QStringLiteral("select id,gua_ming,gua_bianhao,shiyou from gua_table "
                               "where gua_ming like ? escape '\\' or shiyou like ? escape '\\' "
                               "or duanyu like ? escape '\\' or fankui like ? escape '\\' order by id limit ?"),
                {pattern, pattern, pattern, pattern, limit});
}

QStringList CaseLists::yearList(qint64 category) const {
    if (category == kAllCategories)
        return db_.getFirstItems(QStringLiteral("select nian from gua_table group by nian order by nian"));
    return db_.getFirstItems(QStringLiteral("select nian from gua_table where lei_id=? group by nian order by nian"),
                             {category});
}

QStringList CaseLists::monthList(qint64 category, int year) const {
    if (category == kAllCategories)
        return db_.getFirstItems(QStringLiteral("select yue from gua_table where nian=? group by yue order by yue"),
                                 {year});
    return db_.getFirstItems(
        QStringLiteral("select yue from gua_table where lei_id=? and nian=? group by yue order by yue"),
        {category, year});
}

QList<CaseListRow> CaseLists::casesOfMonth(qint64 category, int year, int month) const {
    if (category == kAllCategories)
        return rows(QStringLiteral("select id,gua_ming,gua_bianhao,shiyou from gua_table "
                                   "where nian=? and yue=? order by id"),
                    {year, month});
    return rows(QStringLiteral("select id,gua_ming,gua_bianhao,shiyou from gua_table "
                               "where lei_id=? and nian=? and yue=? order by id"),
                {category, year, month});
}

std::optional<CaseTexts> CaseLists::caseTexts(qint64 id) const {
    QSqlQuery query = db_.select(QStringLiteral("select duanyu,fankui from gua_table where id=?"), {id});
    if (!query.next()) return std::nullopt;
    return CaseTexts{query.value(0).toString(), query.value(1).toString()};
}

QList<Category> CaseLists::categories() const {
    QSqlQuery query = db_.select(QStringLiteral("select lei_id,lei_mingcheng from fenlei_table order by lei_id"));
    QList<Category> list;
    while (query.next()) list.append({query.value(0).toLongLong(), query.value(1).toString()});
    return list;
}

QStringList CaseLists::categoryNames() const {
    return db_.getFirstItems(QStringLiteral("select lei_mingcheng from fenlei_table order by lei_id"));
}

void CaseLists::renameCategory(qint64 leiId, const QString& name) {
    db_.execute(QStringLiteral("update fenlei_table set lei_mingcheng=? where lei_id=?"), {name, leiId});
}

}  // namespace store
