#include "analysis/line_strength.h"

#include "analysis/branch_tables.h"
#include "analysis/chart_reading.h"
#include "chart/elements.h"

namespace analysis {
namespace {

// The item generating the month rests, overcoming it is confined, overcome by it is dead.
SeasonState seasonState(QChar e, QChar m) {
    using chart::controlledElement;
    using chart::generatedElement;
    if (!chart::isElement(e) || !chart::isElement(m)) return SeasonState::None;
    if (e == m) return SeasonState::Prosperous;
    if (e == generatedElement(m)) return SeasonState::Supported;
    if (m == generatedElement(e)) return SeasonState::Resting;
    if (m == controlledElement(e)) return SeasonState::Confined;
    return SeasonState::Dead;
}

// The word of a season state: the classical names, or the program's own (衰 休 囚 for 休 囚 死).
const char16_t* seasonWord(SeasonState season, bool classical) {
    switch (season) {
    case SeasonState::None: return u"";
    case SeasonState::Prosperous: return u"旺";
    case SeasonState::Supported: return u"相";
    case SeasonState::Resting: return classical ? u"休" : u"衰";
    case SeasonState::Confined: return classical ? u"囚" : u"休";
    case SeasonState::Dead: return classical ? u"死" : u"囚";
    }
    return u"";
}

}  // namespace

LineStrength DescribeLineStrength(const chart::ChartState& state, const QString& itemText) {
    const QChar e = itemElement(itemText);
    const QChar b = itemBranch(itemText);
    const QChar d = dayElement(state);
    const QChar M = monthBranch(state);
    const QChar D = dayBranch(state);

    LineStrength result;
    result.season = seasonState(e, monthElement(state));
    result.text = QString::fromUtf16(seasonWord(result.season, state.schools.classicalSeasonNames));
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

QString advanceNote(QChar mainBranch, QChar changedBranch, bool sevenPairs) {
    static const QString advances = QStringLiteral("亥子寅卯巳午申酉丑辰辰未未戌戌丑");
    const qsizetype pairs = sevenPairs ? advances.size() - 2 : advances.size();  // the last pair is 戌↔丑
    for (qsizetype k = 0; k < pairs; k += 2) {
        if (advances.at(k) == mainBranch && advances.at(k + 1) == changedBranch) return QStringLiteral("进化");
        if (advances.at(k + 1) == mainBranch && advances.at(k) == changedBranch) return QStringLiteral("退化");
    }
    return {};
}

bool GainsSeasonQi(const chart::ChartState& state, QChar branch) {
    return chart::gainsSeasonQi(branch, monthBranch(state));
}

}  // namespace analysis
