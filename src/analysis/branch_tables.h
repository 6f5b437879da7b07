#pragma once
// The fixed branch tables of the analyses: the six combinations and the life-stage branches
// (长生, 死, 墓, 绝) of each element. The element cycles and the six clashes are the chart's
// (chart/elements.h).
#include <QChar>

namespace analysis {

// 子丑 寅亥 卯戌 辰酉 巳申 午未; a null character for anything that is not a branch.
QChar combinePartner(QChar branch);

// Life-stage branches of an element; 土 shares the stages of 水. A blank for anything that is
// not an element.
QChar birthBranch(QChar element);       // 长生
QChar deathBranch(QChar element);       // 死
QChar tombBranch(QChar element);        // 墓
QChar extinctionBranch(QChar element);  // 绝

}  // namespace analysis
