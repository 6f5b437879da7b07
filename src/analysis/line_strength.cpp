#include "analysis/line_strength.h"

#include <optional>

#include "analysis/branch_tables.h"
#include "analysis/chart_reading.h"
#include "chart/elements.h"

namespace analysis {
namespace {

struct SeasonState {
    const char16_t* word;
    QColor colour;
};

// One of 旺 相 衰 休 囚 for an element against the month element; none when either is no element.
// The classical names are those of the same five states: the item generating the month is 休
// (here 衰), overcoming it 囚 (here 休), overcome by it 死 (here 囚).
std::optional<SeasonState> seasonState(QChar e, QChar m, bool classical) {
    using chart::controlledElement;
    using chart::generatedElement;
    if (!chart::isElement(e) || !chart::isElement(m)) return std::nullopt;
    if (e == m) return SeasonState{u"旺", QColor(255, 0, 0)};
    if (e == generatedElement(m)) return SeasonState{u"相", QColor(255, 0, 0)};
    if (m == generatedElement(e)) return SeasonState{classical ? u"休" : u"衰", QColor(210, 105, 30)};
    if (m == controlledElement(e)) return SeasonState{classical ? u"囚" : u"休", QColor(180, 105, 30)};
    return SeasonState{classical ? u"死" : u"囚", QColor(94, 38, 18)};  // the month controls the item
}

}  // namespace

LineStrength DescribeLineStrength(const chart::ChartState& state, const QString& itemText) {
    const QChar e = itemElement(itemText);
    const QChar b = itemBranch(itemText);
    const QChar d = dayElement(state);
    const QChar M = monthBranch(state);
    const QChar D = dayBranch(state);

    LineStrength result;
    if (const auto season = seasonState(e, monthElement(state), state.schools.classicalSeasonNames)) {
        result.text = QString::fromUtf16(season->word);
        result.colour = season->colour;
    }
    // The partner lookups give a null character for anything that is not a branch, so a
    // missing slot never matches.
    const QChar clash = chart::clashPartner(b);
    const QChar combine = combinePartner(b);
    if (!clash.isNull() && clash == M) result.text += D == b ? u"填实" : u"月破";
    if (!combine.isNull() && combine == M) result.text += u"月合";
    if (!clash.isNull() && clash == D) result.text += u"日冲";
    if (!combine.isNull() && combine == D) result.text += u"日合";
    if (chart::isElement(e)) {
        if (chart::generatedElement(d) == e) result.text += u"日生";
        if (chart::controlledElement(d) == e) result.text += u"日克";
    }
    if (!b.isNull() && D == b)
        result.text += u"日临";
    else if (chart::isElement(e) && d == e)
        result.text += u"日扶";
    return result;
}

QString DescribeReturnInfluence(QChar mainElement, QChar changedElement) {
    if (!chart::isElement(mainElement)) return {};
    if (chart::generatedElement(changedElement) == mainElement) return QStringLiteral("回头生");
    if (chart::controlledElement(changedElement) == mainElement) return QStringLiteral("回头克");
    return {};
}

bool GainsSeasonQi(const chart::ChartState& state, QChar branch) {
    return chart::gainsSeasonQi(branch, monthBranch(state));
}

}  // namespace analysis
