#include "analysis/item_relations.h"

#include "analysis/branch_tables.h"
#include "analysis/chart_reading.h"
#include "chart/elements.h"

namespace analysis {
namespace {

// "长生于月" and the rest when a stage branch of the element is the ruler branch.
void stagesAt(QChar e, QChar ruler, const QString& place, QStringList& out) {
    if (ruler.isNull() || !chart::isElement(e)) return;
    if (birthBranch(e) == ruler) out << e + QStringLiteral("长生于") + place + ruler;
    if (deathBranch(e) == ruler) out << e + QStringLiteral("死于") + place + ruler;
    if (tombBranch(e) == ruler) out << e + QStringLiteral("入墓于") + place + ruler;
    if (extinctionBranch(e) == ruler) out << e + QStringLiteral("绝于") + place + ruler;
}

// The six tests of the item (branch b, element e) against another item's branch x; a later
// test that holds overwrites the flag of an earlier one.
void relate(QChar b, QChar e, QChar x, int& flag, QStringList& out) {
    if (x.isNull() || chart::branchIndex(x) < 0) return;
    if (combinePartner(b) == x) {
        out << b + QString(x) + u'合';
        flag = kCombine;
    }
    if (chart::clashPartner(b) == x) {
        out << b + QString(x) + u'冲';
        flag = kClash;
    }
    if (birthBranch(e) == x) {
        out << e + QStringLiteral("长生于") + x;
        flag = kBirth;
    }
    if (deathBranch(e) == x) {
        out << e + QStringLiteral("死于") + x;
        flag = kDeath;
    }
    if (tombBranch(e) == x) {
        out << e + QStringLiteral("入墓于") + x;
        flag = kTomb;
    }
    if (extinctionBranch(e) == x) {
        out << e + QStringLiteral("绝于") + x;
        flag = kExtinction;
    }
}

}  // namespace

QStringList itemRelationLines(const chart::ChartState& state, const QString& itemText, HighlightFlags& flags) {
    const QChar e = itemElement(itemText);
    const QChar b = itemBranch(itemText);
    QStringList out;
    stagesAt(e, monthBranch(state), QStringLiteral("月"), out);
    stagesAt(e, dayBranch(state), QStringLiteral("日"), out);
    for (int p = 0; p < 6; ++p) {
        const chart::ChartLine& line = state.main[std::size_t(p)];
        if (!line.hiddenSpirit.isEmpty()) relate(b, e, itemBranch(line.hiddenSpirit), flags[flagIndex(0, p)], out);
        relate(b, e, charAt(line.branchElement, 0), flags[flagIndex(1, p)], out);
        if (isMoving(line)) relate(b, e, itemBranch(line.changedLine), flags[flagIndex(2, p)], out);
    }
    return out;
}

}  // namespace analysis
