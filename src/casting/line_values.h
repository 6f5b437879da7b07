#pragma once
// The four line values of a throw, their symbols, the coin rule and the names of the lines
// entered so far.
#include <QString>
#include <QStringList>
#include <array>

namespace casting {

// Line values of the casting dialog, index 0 the initial line (初爻) up to 5 the top line (上爻).
// 1 少阳, 2 少阴, 3 老阳 (moving), 4 老阴 (moving); 0 means not chosen.
using LineValues = std::array<int, 6>;

// "一", "- -", "o", "x"; empty for any other value.
QString lineSymbol(int value);
// The value of three coins (1 = 花, 0 = 字): the number showing 花, none counting as 4.
int lineValueOfCoins(const std::array<int, 3>& coins);
// The codes of the chart record, top line first, from the dialog's values.
std::array<int, 6> codesTopFirst(const LineValues& values);

// The three lines of the read-only rules box.
QStringList rulesText();

// Full hexagram name of a six-digit key (top line first, "1" yang, "2" yin); empty otherwise.
QString hexagramNameOfKey(const QString& key);
// The name label for the values entered so far: the name, or "主卦：… 变卦：…" when a line moves.
QString hexagramNamesLabel(const LineValues& values);

}  // namespace casting
