#pragma once
// The 64 hexagrams: names from keys, trigram natures, tags, line layouts, compact titles.
#include <QString>

#include "chart/chart_state.h"

namespace chart {

// Six polarity digits, top line first ("1" yang, "2" yin), of the six codes; a code outside
// 1..4 contributes its own digits, so it yields no name.
QString hexagramKey(const std::array<int, 6>& codes);
// Full name of a six-digit key, or empty.
QString hexagramName(const QString& key);
QString hexagramNameOfCodes(const std::array<int, 6>& codes);
// Key of a full name, or empty.
QString keyOfHexagram(const QString& name);
// Trigram name (乾 ..) and nature (天 ..) of three digits; null when none.
QChar trigramName(const QString& digits);
QChar trigramNature(const QString& digits);
// Trigram name of a nature character and back; null when none.
QChar trigramOfNature(QChar nature);
QChar natureOfTrigram(QChar trigram);

// "(六合)" / "(六冲)", then "(归魂)", then "(游魂)", as they apply under the method.
QString hexagramTag(const QString& name, ArrangementMethod method);

// Fills relative, branchElement and mark of six lines from a layout text (items separated by
// commas or blanks, double quotes grouping, top line first, 世/应 after their line item).
void applyLayout(const QString& layout, Hexagram& lines);
// Lays out a hexagram from its row; the lines keep what they had when the row is missing.
void layOutHexagram(const DivinationData& data, const QString& name, ArrangementMethod method, Hexagram& lines);

// Compact title: drops "本卦：", turns "变卦：" into "之 ", drops "主卦：" (first occurrence each).
QString cleanHexagramName(QString title);

// Inverted code keeping the motion: 1 <-> 2, 3 <-> 4.
int invertedCode(int code);

}  // namespace chart
