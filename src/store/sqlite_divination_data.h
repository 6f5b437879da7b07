#pragma once
// The chart engine's view of the divination rows, read from tables bagua and zhi.
#include "chart/divination_data.h"
#include "store/database.h"

namespace store {

class SqliteDivinationData : public chart::DivinationData {
public:
    explicit SqliteDivinationData(const Database& db) : db_(db) {}

    std::optional<QString> hexagramDescription(const QString& name) const override;
    std::optional<QString> hexagramLayout(const QString& name, chart::ArrangementMethod method) const override;
    std::optional<QString> hexagramDigits(const QString& name) const override;
    std::optional<QString> beastsOfGroup(const QString& group) const override;
    QStringList palaceHexagrams(const QString& trigram) const override;
    QString stageOf(const QString& branchElement) const override;

private:
    std::optional<QString> firstValue(const QString& statement, const QString& value) const;

    const Database& db_;
};

}  // namespace store
