#pragma once
// What the chart engine and the analyses read from the divination rows of the database.
// The SQLite store implements it; tests use the real store over a seeded database.
#include <QString>
#include <QStringList>
#include <optional>

namespace chart {

enum class ArrangementMethod { Jingfang, Zangshan };  // "京房式", "藏山卜"

class DivinationData {
public:
    virtual ~DivinationData() = default;

    // bagua.value1 of the row gm = name: palace trigram first, palace element fourth.
    virtual std::optional<QString> hexagramDescription(const QString& name) const = 0;
    // bagua.value3 ("京房式") or value4 ("藏山卜"): comma-separated line items, top line first.
    virtual std::optional<QString> hexagramLayout(const QString& name, ArrangementMethod method) const = 0;
    // bagua.value2: six digits, top line first, "1" yang and "2" yin.
    virtual std::optional<QString> hexagramDigits(const QString& name) const = 0;
    // zhi.value1 of the row key = group ("甲乙", "丙丁", "戊日", "己日", "庚辛", "壬癸").
    virtual std::optional<QString> beastsOfGroup(const QString& group) const = 0;
    // zhi.value6 .. value13 of the first row whose value1 is the trigram; empty when none.
    virtual QStringList palaceHexagrams(const QString& trigram) const = 0;
    // zhi.key of the first row in which one of value1..value5 equals the text (a branch
    // followed by an element, such as "亥木"); empty when none.
    virtual QString stageOf(const QString& branchElement) const = 0;
};

}  // namespace chart
