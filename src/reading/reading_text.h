#pragma once
// The reading assistant's results as lines of text, for the main window's panel or any other
// plain-text form. No widgets.
#include <QList>
#include <QDate>
#include <QString>
#include <QStringList>
#include <optional>

#include "reading/reading.h"

namespace reading {

// 初爻 二爻 三爻 四爻 五爻 上爻.
QString positionName(int position);
// "初爻、三爻", or "不上卦" for none.
QString positionsText(const QList<int>& positions);

// One line of text; a line that names one line of the chart carries its position (and whether it
// is the hidden spirit there), so that choosing it can point at that line.
struct TextLine {
    QString text;
    std::optional<int> position;
    bool hidden = false;
    QDate date{};  // a candidate date (应期) the line names
};

// The 用神 with its reason (or why there is none), the second 用神, 原神 忌神 仇神 with their lines
// and the candidate dates under a note that they are candidates by rule.
QList<TextLine> useGodLines(const UseGodReading& reading);
// 卦身, 互 错 综, the motion, the punishments and harms, 回头冲, 化空, 日破.
QStringList structureLines(const Structure& structure);
// "禄神：寅 @ 二爻" for each 神煞.
QStringList spiritLines(const QList<Spirit>& spirits);

// The note under which the dates are listed.
inline constexpr char16_t kTimingNote[] = u"应期（按规则推出的候选日期，仅供参考）";

// The 性别 of a case line "性别:男 出生:… 占事…": 男, 女 or empty.
QString genderOfCaseHeader(const QString& header);

}  // namespace reading
