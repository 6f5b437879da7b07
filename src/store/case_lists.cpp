#include "store/case_lists.h"

#include <QSqlQuery>
#include <QVariant>

#include "store/search_index.h"
#include "text_search/char_gram_tokenizer.h"
#include "text_search/keyword_phrase.h"

namespace store {
namespace {

// ASCII letters in lower case, nothing else: what SQLite's lower() does to the texts.
QString foldAscii(QString text) {
    for (QChar& c : text)
        if (c >= u'A' && c <= u'Z') c = QChar(c.unicode() + ('a' - 'A'));
    return text;
}

}  // namespace

QList<CaseListRow> CaseLists::rows(const QString& statement, const QVariantList& values) const {
    QSqlQuery query = db_.select(statement, values);
    QList<CaseListRow> list;
    while (db_.nextRow(query))
        list.append({query.value(0).toLongLong(), query.value(1).toString(), query.value(2).toString(),
                     query.value(3).toString()});
    return list;
}

QList<CaseListRow> CaseLists::recentCases(int count) const {
    return rows(QStringLiteral("select id,gua_ming,gua_bianhao,shiyou from gua_table "
                               "order by shijian desc, id desc limit ?"),
                {count});
}

QList<CaseListRow> CaseLists::searchCases(const QString& keyword, int limit, qint64 category) const {
    // The literal test is the meaning of a match; the index only finds the cases to test, newest
    // first, so the search stops at the limit without reading the others. A file whose index is
    // not the character one (opened read-only, so never brought forward) is scanned. instr(), not
    // LIKE: LIKE reads a text only up to a NUL character in it.
    const QString matches = QStringLiteral(
        "(instr(lower(g.gua_ming),?)>0 or instr(lower(g.shiyou),?)>0 "
        "or instr(lower(g.duanyu),?)>0 or instr(lower(g.fankui),?)>0) and (?=-1 or g.lei_id=?)");
    const QString folded = foldAscii(keyword);
    const QVariantList values{folded, folded, folded, folded, category, category, limit};
    const std::string utf8 = keyword.toStdString();
    const auto phrase = text_search::keywordPhrase(utf8);
    if (phrase && hasSearchIndex(db_)) {
        const QString index = text_search::isShortKeyword(utf8) ? QStringLiteral("gua_fts_short") : QStringLiteral("gua_fts");
        // CROSS JOIN keeps the index as the outer loop. The phrase goes as bytes: it is not
        // always well-formed UTF-8 (see keywordPhrase), and a string would be converted.
        return rows(QStringLiteral("select g.id,g.gua_ming,g.gua_bianhao,g.shiyou from %1 s "
                                   "cross join gua_table g on g.id=s.rowid where %1 match ? and ")
                            .arg(index) +
                        matches + QStringLiteral(" order by s.rowid desc limit ?"),
                    QVariantList{QByteArray::fromStdString(*phrase)} + values);
    }
    return rows(QStringLiteral("select g.id,g.gua_ming,g.gua_bianhao,g.shiyou from gua_table g where ") + matches +
                    QStringLiteral(" order by g.id desc limit ?"),
                values);
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
    if (!db_.nextRow(query)) return std::nullopt;
    return CaseTexts{query.value(0).toString(), query.value(1).toString()};
}

QList<Category> CaseLists::categories() const {
    QSqlQuery query = db_.select(QStringLiteral("select lei_id,lei_mingcheng from fenlei_table order by lei_id"));
    QList<Category> list;
    while (db_.nextRow(query)) list.append({query.value(0).toLongLong(), query.value(1).toString()});
    return list;
}

QStringList CaseLists::categoryNames() const {
    return db_.getFirstItems(QStringLiteral("select lei_mingcheng from fenlei_table order by lei_id"));
}

void CaseLists::renameCategory(qint64 categoryId, const QString& name) {
    db_.execute(QStringLiteral("update fenlei_table set lei_mingcheng=? where lei_id=?"), {name, categoryId});
}

}  // namespace store
