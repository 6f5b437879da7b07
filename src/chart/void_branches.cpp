#include "chart/void_branches.h"

#include "calendar/ganzhi.h"
#include "calendar/pillars.h"
#include "chart/elements.h"

namespace chart {
namespace {

// Void pair of the week opened by a pillar; empty when the pillar opens none.
QString weekPairOf(int ganzhi) {
    switch (ganzhi) {
    case 0: return QStringLiteral("戌亥");   // 甲子
    case 10: return QStringLiteral("申酉");  // 甲戌
    case 20: return QStringLiteral("午未");  // 甲申
    case 30: return QStringLiteral("辰巳");  // 甲午
    case 40: return QStringLiteral("寅卯");  // 甲辰
    case 50: return QStringLiteral("子丑");  // 甲寅
    default: return {};
    }
}

int dayPillar(const QDate& d) { return cal::dayGanzhi(d.year(), d.month(), d.day()); }

void setPair(std::array<QChar, 2>& voidPair, const QString& pair) {
    voidPair[0] = pair.at(0);
    voidPair[1] = pair.at(1);
}

}  // namespace

QString weekVoid(const QDate& date, std::array<QChar, 2>& voidPair) {
    for (int i = 0; i < 12; ++i) {
        const int gz = dayPillar(date.addDays(-i));
        const QString pair = weekPairOf(gz);
        if (pair.isEmpty()) continue;
        setPair(voidPair, pair);
        return QString::fromStdString(cal::ganzhiName(gz)) + QStringLiteral("旬内(") + pair + QStringLiteral("空)");
    }
    return {};
}

QString leavingVoidDate(const QDate& date) {
    for (int i = 1; i <= 11; ++i) {
        const QDate d = date.addDays(i);
        if (!weekPairOf(dayPillar(d)).isEmpty())
            return d.toString(QStringLiteral("yyyy-MM-dd")) + QStringLiteral(" 出空");
    }
    return {};
}

QString voidTextOfPillar(const QString& pillar) {
    if (pillar.size() < 2) return {};
    const int s = stemIndex(pillar.at(0)) + 1;
    const int b = branchIndex(pillar.at(1)) + 1;
    if (s == 0 || b == 0) return {};
    const int a = (b - s + 11) % 12;
    QString pair;
    if (a % 2 == 1) pair = QString(branchChar(a - 1)) + branchChar(a);
    return QStringLiteral("(") + pair + QStringLiteral("空)");
}

QString shortPillarVoid(const QString& firstSlot, const QString& secondSlot, std::array<QChar, 2>& voidPair) {
    if (firstSlot.isEmpty() || secondSlot.size() < 2) return {};
    const int stem = stemIndex(firstSlot.at(0));
    const int branch = branchIndex(secondSlot.at(1));
    if (stem < 0 || branch < 0) return {};
    // The five-rat rule: the 子 period of a 甲/己 day is 甲子, of 乙/庚 丙子, and so on; the
    // week of the short pillar is the one its cycle index falls in.
    const int first = (2 * (stem % 5)) % 10;  // stem of the 子 pillar
    const int index = cal::ganzhiCompose((first + branch) % 10, branch);
    const int opening = index - index % 10;
    const QString pair = weekPairOf(opening);
    setPair(voidPair, pair);
    return QStringLiteral("甲") + branchChar(opening % 12) + QStringLiteral("旬（") + pair + QStringLiteral("空）");
}

QString voidLabelText(const QDate& date, std::array<QChar, 2>& voidPair) {
    return weekVoid(date, voidPair) + u' ' + leavingVoidDate(date);
}

}  // namespace chart
