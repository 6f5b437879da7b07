#include "analysis/branch_tables.h"

#include <QString>

#include "chart/elements.h"

namespace analysis {
namespace {

// Rows by element in the order 木 火 土 金 水: 长生, 死, 墓, 绝.
const QString kElementOrder = QStringLiteral("木火土金水");
const QString kStages[4] = {
    QStringLiteral("亥寅申巳申"),  // 长生
    QStringLiteral("午酉卯子卯"),  // 死
    QStringLiteral("未戌辰丑辰"),  // 墓
    QStringLiteral("申亥巳寅巳"),  // 绝
};

QChar stageBranch(int stage, QChar element) {
    const qsizetype i = kElementOrder.indexOf(element);
    return i < 0 ? QChar(u' ') : kStages[stage].at(i);
}

}  // namespace

QChar combinePartner(QChar branch) {
    // The indices of every pair add up to 1 or 13 (子0+丑1, 寅2+亥11, ..., 午6+未7).
    const int i = chart::branchIndex(branch);
    return i < 0 ? QChar() : chart::branchChar((13 - i) % 12);
}

QChar birthBranch(QChar element) { return stageBranch(0, element); }
QChar deathBranch(QChar element) { return stageBranch(1, element); }
QChar tombBranch(QChar element) { return stageBranch(2, element); }
QChar extinctionBranch(QChar element) { return stageBranch(3, element); }

}  // namespace analysis
