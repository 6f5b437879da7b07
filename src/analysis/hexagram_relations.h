#pragma once
// The chart-level lines of the report that read fixed lists: travelling horse and peach
// blossom, noble person, six combinations and clashes, hidden and reversed chant.
#include <QString>
#include <QStringList>

#include "chart/chart_state.h"

namespace analysis {

// "驿马-寅 桃花-酉" and the like by the day branch; empty for anything that is not a branch.
QString travellingHorseLine(QChar dayBranch);
// "贵人-丑未" and the like by the day stem; empty for anything that is not a stem. By the verse
// 庚辛逢马虎 (庚 午寅), or with jiaWuGeng by 甲戊庚牛羊 (庚 丑未); the other stems agree.
QString noblePersonLine(QChar dayStem, bool jiaWuGeng = false);
// "主卦六合"/"主卦六冲", then " 变卦六合"/" 变卦六冲"; may be empty.
QString sixCombineClashLine(const QString& mainName, const QString& changedName);

// The travelling-horse, noble-person and six-combination/clash lines, the line pairs 1-6 and
// 3-4, hidden chant and reversed chant, in the order the report writes them.
QStringList hexagramRelationLines(const chart::ChartState& state);

}  // namespace analysis
