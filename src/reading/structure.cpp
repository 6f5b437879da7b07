#include <QMap>
#include <algorithm>
#include <span>

#include "chart/catalogue.h"
#include "chart/elements.h"
#include "reading/chart_pillars.h"
#include "reading/reading.h"

namespace reading {
namespace {

// Main lines are kept top first; positions count from the bottom.
const chart::ChartLine& lineAt(const chart::Hexagram& lines, int position) { return lines[std::size_t(6 - position)]; }

QChar branchAt(const chart::Hexagram& lines, int position) {
    const QString& text = lineAt(lines, position).branchElement;
    return text.isEmpty() ? QChar() : text.at(0);
}

bool isMovingCode(int code) { return code == 3 || code == 4; }
bool isYangCode(int code) { return code == 1 || code == 3; }

QList<int> positionsWith(const chart::Hexagram& main, const QString& branches) {
    QList<int> positions;
    for (int p = 1; p <= 6; ++p) {
        const QChar b = branchAt(main, p);
        if (!b.isNull() && branches.contains(b)) positions << p;
    }
    return positions;
}

QStringList characters(const QString& text) {
    QStringList out;
    for (QChar c : text) out << QString(c);
    return out;
}

// 卦身: from 子 (world line yang) or 午 (yin) at 初爻, counted up to the world line.
void findBody(const chart::Hexagram& main, Structure& s) {
    for (int p = 1; p <= 6; ++p) {
        const chart::ChartLine& line = lineAt(main, p);
        if (line.mark != u'世') continue;
        s.bodyBranch = chart::branchChar((isYangCode(line.code) ? 0 : 6) + p - 1);
        s.bodyPositions = positionsWith(main, s.bodyBranch);
        return;
    }
}

// The six polarity digits top first ("1" yang, "2" yin), moving lines as their main polarity.
void nameRelatedHexagrams(const chart::Hexagram& main, Structure& s) {
    std::array<int, 6> codes{};
    for (std::size_t i = 0; i < 6; ++i) codes[i] = main[i].code;
    const QString key = chart::hexagramKey(codes);
    if (chart::hexagramName(key).isEmpty()) return;
    // 互: upper trigram lines 5-4-3, lower trigram lines 4-3-2 (top first: indices 1 2 3, 2 3 4).
    s.mutual = chart::hexagramName(key.mid(1, 3) + key.mid(2, 3));
    QString opposite = key;
    for (QChar& c : opposite) c = c == u'1' ? u'2' : u'1';
    s.opposite = chart::hexagramName(opposite);
    QString reversed = key;
    std::reverse(reversed.begin(), reversed.end());
    s.reversed = chart::hexagramName(reversed);
}

QString motionOf(const chart::Hexagram& main) {
    int moving = 0;
    for (const chart::ChartLine& line : main) moving += isMovingCode(line.code) ? 1 : 0;
    switch (moving) {
    case 0: return QStringLiteral("静");
    case 1: return QStringLiteral("独发");
    case 5: return QStringLiteral("独静");
    case 6: return QStringLiteral("全动");
    default: return QStringLiteral("多爻动");
    }
}

struct GroupRule {
    const char16_t* kind;
    const char16_t* branches;
};

constexpr GroupRule kPunishments[] = {{u"子卯刑", u"子卯"}, {u"寅巳申刑", u"寅巳申"}, {u"丑戌未刑", u"丑戌未"},
                                      {u"辰自刑", u"辰"},   {u"午自刑", u"午"},       {u"酉自刑", u"酉"},
                                      {u"亥自刑", u"亥"}};
constexpr GroupRule kHarms[] = {{u"子未害", u"子未"}, {u"丑午害", u"丑午"}, {u"寅巳害", u"寅巳"},
                                {u"卯辰害", u"卯辰"}, {u"申亥害", u"申亥"}, {u"酉戌害", u"酉戌"}};

// A group is found when each of its branches is among the main lines, the day and the month, and
// one of them at least is a line's; a group of one branch (自刑) needs it twice.
QList<BranchGroup> groupsFound(const chart::Hexagram& main, const ChartPillars& pillars,
                               std::span<const GroupRule> rules) {
    QMap<QChar, int> onLines, all;
    for (int p = 1; p <= 6; ++p) {
        const QChar b = branchAt(main, p);
        if (b.isNull()) continue;
        ++onLines[b];
        ++all[b];
    }
    for (QChar b : {pillars.dayBranch, pillars.monthBranch})
        if (chart::branchIndex(b) >= 0) ++all[b];

    QList<BranchGroup> found;
    for (const GroupRule& rule : rules) {
        const QString branches = QString::fromUtf16(rule.branches);
        const int needed = branches.size() == 1 ? 2 : 1;
        bool complete = true, onALine = false;
        for (QChar b : branches) {
            complete = complete && all.value(b) >= needed;
            onALine = onALine || onLines.value(b) > 0;
        }
        if (complete && onALine)
            found << BranchGroup{QString::fromUtf16(rule.kind), characters(branches), positionsWith(main, branches)};
    }
    return found;
}

}  // namespace

Structure chartStructure(const chart::ChartState& chart, const Schools&) {
    Structure s;
    if (chart.isEmpty()) return s;
    const chart::Hexagram& main = chart.main;
    const ChartPillars pillars = chartPillars(chart);
    findBody(main, s);
    nameRelatedHexagrams(main, s);
    s.motion = motionOf(main);
    s.punishments = groupsFound(main, pillars, kPunishments);
    s.harms = groupsFound(main, pillars, kHarms);

    const QChar dayClash = chart::clashPartner(pillars.dayBranch);
    const QChar monthElement = chart::branchElement(pillars.monthBranch);
    for (int p = 1; p <= 6; ++p) {
        const chart::ChartLine& line = lineAt(main, p);
        const QChar branch = branchAt(main, p);
        if (branch.isNull()) continue;
        if (isMovingCode(line.code)) {
            const QChar changed = branchAt(chart.changed, p);
            if (changed.isNull()) continue;
            if (chart::clashPartner(changed) == branch) s.turnClash << p;
            if (changed == chart.voidPair[0] || changed == chart.voidPair[1]) s.toVoid << p;
        } else if (!dayClash.isNull() && dayClash == branch) {
            // 旺 (the month's element) or 相 (generated by it) lines are 暗动, not broken.
            const QChar element = chart::branchElement(branch);
            const bool strong = element == monthElement || element == chart::generatedElement(monthElement);
            if (!strong) s.dayBroken << p;
        }
    }
    return s;
}

}  // namespace reading
