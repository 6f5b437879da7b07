#include "store/sqlite_divination_data.h"

#include <QSqlQuery>
#include <QVariant>

#include "store/settings_table.h"

namespace store {

SqliteDivinationData::SqliteDivinationData(const Database& db) {
    QSqlQuery bagua = db.select(QStringLiteral("select gm,value1,value2,value3,value4 from bagua"));
    while (db.nextRow(bagua)) {
        const QString name = bagua.value(0).toString();
        if (hexagrams_.contains(name)) continue;  // the first row of a name counts
        hexagrams_.insert(name, {bagua.value(1).toString(), bagua.value(2).toString(), bagua.value(3).toString(),
                                 bagua.value(4).toString()});
    }
    QSqlQuery zhi = db.select(QStringLiteral(
        "select id,key,value1,value2,value3,value4,value5,value6,value7,value8,value9,value10,value11,value12,value13 "
        "from zhi order by id"));
    while (db.nextRow(zhi)) {
        if (isSettingsRow(zhi.value(0).toInt())) continue;
        KnowledgeRow row;
        row.key = zhi.value(1).toString();
        for (int i = 0; i < 13; ++i) {
            row.values[std::size_t(i)] = zhi.value(i + 2).toString();
            row.present[std::size_t(i)] = !zhi.value(i + 2).isNull();
        }
        knowledge_.push_back(std::move(row));
    }
}

const SqliteDivinationData::HexagramRow* SqliteDivinationData::hexagram(const QString& name) const {
    const auto it = hexagrams_.constFind(name);
    return it == hexagrams_.cend() ? nullptr : &*it;
}

std::optional<QString> SqliteDivinationData::hexagramDescription(const QString& name) const {
    const HexagramRow* row = hexagram(name);
    return row ? std::optional<QString>(row->description) : std::nullopt;
}

std::optional<QString> SqliteDivinationData::hexagramLayout(const QString& name,
                                                            chart::ArrangementMethod method) const {
    const HexagramRow* row = hexagram(name);
    if (!row) return std::nullopt;
    return method == chart::ArrangementMethod::Jingfang ? row->jingfangLayout : row->zangshanLayout;
}

std::optional<QString> SqliteDivinationData::hexagramDigits(const QString& name) const {
    const HexagramRow* row = hexagram(name);
    return row ? std::optional<QString>(row->digits) : std::nullopt;
}

std::optional<QString> SqliteDivinationData::beastsOfGroup(const QString& group) const {
    for (const KnowledgeRow& row : knowledge_)
        if (row.key == group && !row.key.isNull()) return row.values[0];
    return std::nullopt;
}

QStringList SqliteDivinationData::palaceHexagrams(const QString& trigram) const {
    for (const KnowledgeRow& row : knowledge_) {
        if (!row.present[0] || row.values[0] != trigram) continue;
        QStringList texts;
        for (std::size_t column = 5; column < 13; ++column) texts << row.values[column];
        return texts;
    }
    return {};
}

QString SqliteDivinationData::stageOf(const QString& branchElement) const {
    for (const KnowledgeRow& row : knowledge_)
        for (std::size_t column = 0; column < 5; ++column)
            if (row.present[column] && row.values[column] == branchElement) return row.key;
    return {};
}

}  // namespace store
