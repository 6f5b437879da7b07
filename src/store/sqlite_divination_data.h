#pragma once
// The chart engine's view of the divination rows of tables bagua and zhi. The program never
// writes those rows, so they are read once, when the object is made: a chart build then needs
// no statement at all.
#include <QHash>
#include <QString>
#include <array>
#include <vector>

#include "chart/divination_data.h"
#include "store/database.h"

namespace store {

class SqliteDivinationData : public chart::DivinationData {
public:
    // Reads the rows; throws DatabaseError when they cannot be read.
    explicit SqliteDivinationData(const Database& db);

    std::optional<QString> hexagramDescription(const QString& name) const override;
    std::optional<QString> hexagramLayout(const QString& name, chart::ArrangementMethod method) const override;
    std::optional<QString> hexagramDigits(const QString& name) const override;
    std::optional<QString> beastsOfGroup(const QString& group) const override;
    QStringList palaceHexagrams(const QString& trigram) const override;
    QString stageOf(const QString& branchElement) const override;

private:
    struct HexagramRow {
        QString description, digits, jingfangLayout, zangshanLayout;  // value1, value2, value3, value4
    };
    struct KnowledgeRow {
        QString key;
        std::array<QString, 13> values;  // value1 .. value13
        std::array<bool, 13> present{};  // false where the column is null: null equals nothing
    };

    const HexagramRow* hexagram(const QString& name) const;

    QHash<QString, HexagramRow> hexagrams_;
    std::vector<KnowledgeRow> knowledge_;  // the rows of zhi other than the settings rows, by id
};

}  // namespace store
