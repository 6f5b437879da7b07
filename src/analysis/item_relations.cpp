#include "analysis/item_relations.h"

#include "analysis/branch_tables.h"
#include "analysis/chart_reading.h"
#include "chart/elements.h"

namespace analysis {
namespace {

// The life stages an item's element meets at a branch, in the order they are tested.
struct StageTest {
    QChar (*branch)(QChar element);
    const char16_t* words;
    HighlightFlag flag;
};
const StageTest kStageTests[] = {
    {birthBranch, u"长生于", HighlightFlag::Birth},
    {deathBranch, u"死于", HighlightFlag::Death},
    {tombBranch, u"入墓于", HighlightFlag::Tomb},
    {extinctionBranch, u"绝于", HighlightFlag::Extinction},
};

// "木长生于月亥" and the rest when a stage branch of the element is the ruler branch.
void stagesAt(QChar e, QChar ruler, QChar place, QStringList& out) {
    if (ruler.isNull() || !chart::isElement(e)) return;
    for (const StageTest& t : kStageTests)
        if (t.branch(e) == ruler) out << e + QString::fromUtf16(t.words) + place + ruler;
}

// The six tests of the item (branch b, element e) against another item's branch x; a later
// test that holds overwrites the flag of an earlier one.
void relate(QChar b, QChar e, QChar x, int& flag, QStringList& out) {
    if (chart::branchIndex(x) < 0) return;
    if (combinePartner(b) == x) {
        out << b + QString(x) + u'合';
        flag = int(HighlightFlag::Combine);
    }
    if (chart::clashPartner(b) == x) {
        out << b + QString(x) + u'冲';
        flag = int(HighlightFlag::Clash);
    }
    for (const StageTest& t : kStageTests) {
        if (t.branch(e) == x) {
            out << e + QString::fromUtf16(t.words) + x;
            flag = int(t.flag);
        }
    }
}

}  // namespace

QStringList itemRelationLines(const chart::ChartState& state, const QString& itemText, HighlightFlags& flags) {
    const QChar e = itemElement(itemText);
    const QChar b = itemBranch(itemText);
    QStringList out;
    stagesAt(e, monthBranch(state), u'月', out);
    stagesAt(e, dayBranch(state), u'日', out);
    for (int p = 0; p < 6; ++p) {
        const chart::ChartLine& line = state.main[std::size_t(p)];
        if (!line.hiddenSpirit.isEmpty()) relate(b, e, itemBranch(line.hiddenSpirit), flags[flagIndex(0, p)], out);
        relate(b, e, charAt(line.branchElement, 0), flags[flagIndex(1, p)], out);
        if (isMoving(line)) relate(b, e, itemBranch(line.changedLine), flags[flagIndex(2, p)], out);
    }
    return out;
}

}  // namespace analysis
