#include "store/sqlite_divination_data.h"

#include <QSqlQuery>
#include <QVariant>

namespace store {

std::optional<QString> SqliteDivinationData::firstValue(const QString& statement, const QString& value) const {
    QSqlQuery query = db_.select(statement, {value});
    if (!query.next()) return std::nullopt;
    return query.value(0).toString();
}

std::optional<QString> SqliteDivinationData::hexagramDescription(const QString& name) const {
    return firstValue(QStringLiteral("select value1 from bagua where gm=?"), name);
}

std::optional<QString> SqliteDivinationData::hexagramLayout(const QString& name,
                                                            chart::ArrangementMethod method) const {
    return method == chart::ArrangementMethod::Jingfang
               ? firstValue(QStringLiteral("select value3 from bagua where gm=?"), name)
               : firstValue(QStringLiteral("select value4 from bagua where gm=?"), name);
}

std::optional<QString> SqliteDivinationData::hexagramDigits(const QString& name) const {
    return firstValue(QStringLiteral("select value2 from bagua where gm=?"), name);
}

std::optional<QString> SqliteDivinationData::beastsOfGroup(const QString& group) const {
    return firstValue(QStringLiteral("select value1 from zhi where key=? order by id limit 1"), group);
}

QStringList SqliteDivinationData::palaceHexagrams(const QString& trigram) const {
    QSqlQuery query = db_.select(
        QStringLiteral("select value6,value7,value8,value9,value10,value11,value12,value13 "
                       "from zhi where value1=? order by id limit 1"),
        {trigram});
    QStringList texts;
    if (query.next()) {
        for (int column = 0; column < 8; ++column) texts << query.value(column).toString();
    }
    return texts;
}

QString SqliteDivinationData::stageOf(const QString& branchElement) const {
    return db_.getFirstString(
        QStringLiteral("select key from zhi where value1=? or value2=? or value3=? or value4=? or value5=? "
                       "order by id limit 1"),
        {branchElement, branchElement, branchElement, branchElement, branchElement});
}

}  // namespace store
