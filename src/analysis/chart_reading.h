#pragma once
// What the analyses read from a chart: the characters of an item text, the branches, stems and
// elements of the two pillar slots, and the motion of a line.
#include <QChar>
#include <QString>

#include "chart/chart_state.h"

namespace analysis {

// The character at i, or a null character past the end of the text.
inline QChar charAt(const QString& text, qsizetype i) { return i >= 0 && i < text.size() ? text.at(i) : QChar(); }

// An item text is a relative (two characters), a branch and an element, e.g. 妻财子水.
inline QChar itemBranch(const QString& item) { return charAt(item, 2); }
inline QChar itemElement(const QString& item) { return charAt(item, 3); }

// The month and day of the analyses are the two pillar slots, whatever pillars they hold.
inline QChar monthBranch(const chart::ChartState& s) { return charAt(s.firstSlot, 1); }
inline QChar dayBranch(const chart::ChartState& s) { return charAt(s.secondSlot, 1); }
inline QChar dayStem(const chart::ChartState& s) { return charAt(s.secondSlot, 0); }
// The elements shown beside the slots (the second character of e.g. "阳木").
inline QChar monthElement(const chart::ChartState& s) { return charAt(s.monthBranchText, 1); }
inline QChar dayElement(const chart::ChartState& s) { return charAt(s.dayBranchText, 1); }

// Old yang and old yin move; a hidden-moving line does not count as moving here.
inline bool isMoving(const chart::ChartLine& line) { return line.code == 3 || line.code == 4; }

// The item text of a main line: its relative followed by its branch and element.
inline QString mainItem(const chart::ChartLine& line) { return line.relative + line.branchElement; }

}  // namespace analysis
