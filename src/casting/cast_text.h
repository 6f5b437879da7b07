#pragma once
// Casting from typed text: a case number, or month and day pillars and hexagram names as they
// appear in a written case ("丙寅月戊戌日 天风姤之乾为天", "夬之乾").
#include <QDate>
#include <QString>
#include <QStringList>
#include <optional>

#include "calendar/calendar_source.h"
#include "casting/line_values.h"
#include "chart/divination_data.h"

namespace casting {

// Fourteen characters starting with a decimal digit: the text is a case number for the main
// window's entry, whatever the other characters are.
bool isCaseNumberInput(const QString& text);

// All 64 full names, lower trigram 乾 兑 离 震 巽 坎 艮 坤 in turn, upper in the same order
// within each; a piece of text is a name when it occurs in it.
const QString& allHexagramNames();

// Replaces every short name (夬, 大有, …, 坤) by its full name, table order; true if any occurred.
bool expandShortNames(QString& text);

// The six values of a main hexagram and its changed one from bagua.value2: lines that differ
// become moving. A name without a six-digit row leaves all six values 0.
LineValues loadHexagramLines(const chart::DivinationData& data, const QString& main, const QString& changed);

// The month and day pillar found in one line of text.
struct PillarTexts {
    QString month, day;
    bool complete() const { return !month.isEmpty() && !day.isEmpty(); }
};
// The first branch makes the month (with the character before it), the second the day.
PillarTexts readPillars(const QString& line);
// "匹配干支": the first branch makes the month, the last one the day.
PillarTexts readMatchPillars(const QString& input);

// A bare-branch month ("丑", blank before it) completed to the first stem 甲..癸 that gives a
// date under the calendar source; other months are returned as they are.
QString completeMonthStem(const QString& month, const QString& day, const QDate& today,
                          cal::CalendarSource source = cal::CalendarSource::Formula);

// The main and changed names found in one line (after "U" was appended).
struct NamePair {
    QString main, changed;
};
NamePair findNames(const QString& line);

// What reading the text gave: the date (when pillars were found), the name label and the values.
struct CastTextResult {
    std::optional<QDate> date;
    QString nameLabel;                 // the date text, then " 本卦：…" and " 变卦：…"
    std::optional<LineValues> values;  // when a main hexagram was found
};
// The date of the pillars is searched under the calendar source.
CastTextResult readCastText(const QStringList& lines, const chart::DivinationData& data, const QDate& today,
                            cal::CalendarSource source = cal::CalendarSource::Formula);

}  // namespace casting
