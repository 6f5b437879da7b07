#include "analysis/hexagram_relations.h"

#include <array>
#include <utility>

#include "analysis/branch_tables.h"
#include "analysis/chart_reading.h"
#include "chart/cast_pillars.h"
#include "chart/elements.h"

namespace analysis {
namespace {

// Six-combination and six-clash hexagrams of the report (the same lists under both methods).
const QStringList& sixCombineHexagrams() {
    static const QStringList names = {
        QStringLiteral("天地否"), QStringLiteral("水泽节"), QStringLiteral("山火贲"), QStringLiteral("雷地豫"),
        QStringLiteral("火山旅"), QStringLiteral("地雷复"), QStringLiteral("地天泰"), QStringLiteral("泽水困"),
    };
    return names;
}

const QStringList& sixClashHexagrams() {
    static const QStringList names = {
        QStringLiteral("乾为天"),   QStringLiteral("坤为地"),   QStringLiteral("震为雷"), QStringLiteral("巽为风"),
        QStringLiteral("坎为水"),   QStringLiteral("离为火"),   QStringLiteral("艮为山"), QStringLiteral("兑为泽"),
        QStringLiteral("雷天大壮"), QStringLiteral("天雷无妄"),
    };
    return names;
}

// Reversed-chant pairs of hexagrams.
const std::array<std::pair<QString, QString>, 8>& reversedChantPairs() {
    static const std::array<std::pair<QString, QString>, 8> pairs = {{
        {QStringLiteral("乾为天"), QStringLiteral("巽为风")},
        {QStringLiteral("天风姤"), QStringLiteral("风天小畜")},
        {QStringLiteral("坎为水"), QStringLiteral("离为火")},
        {QStringLiteral("水火既济"), QStringLiteral("火水未济")},
        {QStringLiteral("艮为山"), QStringLiteral("坤为地")},
        {QStringLiteral("山地剥"), QStringLiteral("地山谦")},
        {QStringLiteral("震为雷"), QStringLiteral("兑为泽")},
        {QStringLiteral("泽雷随"), QStringLiteral("雷泽归妹")},
    }};
    return pairs;
}

QChar lineBranch(const chart::Hexagram& lines, int lineNumber) {
    return charAt(lines[std::size_t(6 - lineNumber)].branchElement, 0);
}

// "一六爻冲"/"一六爻合" for lines 1 and 6, "三四爻冲"/"三四爻合" for lines 3 and 4.
void linePair(const chart::ChartState& state, int lower, int upper, const QString& words, QStringList& out) {
    const QChar a = lineBranch(state.main, lower);
    const QChar b = lineBranch(state.main, upper);
    if (b.isNull()) return;
    if (chart::clashPartner(a) == b) out << words + u'冲';
    if (combinePartner(a) == b) out << words + u'合';
}

// 伏吟: the main line's branch and element equal those of the changed hexagram's own line.
QString hiddenChantLine(const chart::ChartState& state) {
    std::array<bool, 6> same{};
    for (std::size_t i = 0; i < 6; ++i)
        same[i] =
            !state.main[i].branchElement.isEmpty() && state.main[i].branchElement == state.changed[i].branchElement;
    const bool outer = same[0] && same[1] && same[2];
    const bool inner = same[3] && same[4] && same[5];
    if (outer && inner) return QStringLiteral("卦变伏吟。");
    if (inner) return QStringLiteral("内卦伏吟。");
    if (outer) return QStringLiteral("外卦伏吟。");
    return {};
}

// 反吟 of the lines: the changed hexagram's own line clashes the main line.
void reversedChantOfLines(const chart::ChartState& state, QStringList& out) {
    std::array<bool, 6> clash{};
    for (std::size_t i = 0; i < 6; ++i) {
        const QString& changed = state.changed[i].branchElement;
        const QChar mainBranch = charAt(state.main[i].branchElement, 0);
        clash[i] = !changed.isEmpty() && !mainBranch.isNull() && chart::clashPartner(changed.at(0)) == mainBranch;
    }
    const bool outer = clash[0] && clash[1] && clash[2];
    const bool inner = clash[3] && clash[4] && clash[5];
    if (outer && inner) {
        out << QStringLiteral("爻变反吟。");
        return;
    }
    if (outer) out << QStringLiteral("外卦反吟。");
    if (inner) out << QStringLiteral("内卦反吟。");
}

}  // namespace

QString travellingHorseLine(QChar dayBranch) {
    switch (dayBranch.unicode()) {
    case u'申':
    case u'子':
    case u'辰': return QStringLiteral("驿马-寅 桃花-酉");
    case u'巳':
    case u'酉':
    case u'丑': return QStringLiteral("驿马-亥 桃花-午");
    case u'寅':
    case u'午':
    case u'戌': return QStringLiteral("驿马-申 桃花-卯");
    case u'亥':
    case u'卯':
    case u'未': return QStringLiteral("驿马-巳 桃花-子");
    default: return {};
    }
}

QString noblePersonLine(QChar dayStem, bool jiaWuGeng) {
    switch (dayStem.unicode()) {
    case u'甲':
    case u'戊': return QStringLiteral("贵人-丑未");
    case u'庚': return jiaWuGeng ? QStringLiteral("贵人-丑未") : QStringLiteral("贵人-午寅");
    case u'乙':
    case u'己': return QStringLiteral("贵人-子申");
    case u'丙':
    case u'丁': return QStringLiteral("贵人-亥酉");
    case u'壬':
    case u'癸': return QStringLiteral("贵人-卯巳");
    case u'辛': return QStringLiteral("贵人-午寅");
    default: return {};
    }
}

QString sixCombineClashLine(const QString& mainName, const QString& changedName) {
    QString line;
    if (sixCombineHexagrams().contains(mainName))
        line = QStringLiteral("主卦六合");
    else if (sixClashHexagrams().contains(mainName))
        line = QStringLiteral("主卦六冲");
    if (sixCombineHexagrams().contains(changedName))
        line += QStringLiteral(" 变卦六合");
    else if (sixClashHexagrams().contains(changedName))
        line += QStringLiteral(" 变卦六冲");
    return line;
}

namespace {

// The branch 驿马 and 桃花 are counted from: the day's, or the cast year's under that school.
QChar horseBranch(const chart::ChartState& state) {
    if (!state.schools.horseFromYear) return dayBranch(state);
    if (!state.castDate.isValid()) return {};
    const chart::PillarMoment moment = chart::pillarMomentOf(state);
    const chart::CastPillars p =
        chart::castPillars(moment.date, moment.time, state.calendarSource, state.schools.earlyZiHour);
    return charAt(p.year, 1);
}

}  // namespace

QStringList hexagramRelationLines(const chart::ChartState& state) {
    QStringList out;
    if (const QString horse = travellingHorseLine(horseBranch(state)); !horse.isEmpty()) out << horse;
    if (const QString noble = noblePersonLine(dayStem(state), state.schools.jiaWuGengNoble); !noble.isEmpty()) out << noble;
    const QString mainName = state.main[0].hexagramName;
    const QString changedName = state.changed[0].hexagramName;
    out << sixCombineClashLine(mainName, changedName);  // written even when empty
    linePair(state, 1, 6, QStringLiteral("一六爻"), out);
    linePair(state, 3, 4, QStringLiteral("三四爻"), out);
    if (const QString chant = hiddenChantLine(state); !chant.isEmpty()) out << chant;
    for (const auto& [a, b] : reversedChantPairs()) {
        if ((mainName == a && changedName == b) || (mainName == b && changedName == a))
            out << QStringLiteral("卦变反吟。");
    }
    reversedChantOfLines(state, out);
    return out;
}

}  // namespace analysis
