#pragma once
// The dates on which a combination pattern is broken (its middle branch clashed) or completed
// (its missing branch arrives), counted from the chart date.
#include <QChar>
#include <QDate>
#include <QString>

#include "calendar/calendar_source.h"

namespace analysis {

// c = the branch clashing x: c冲x, the first date from the chart date on (twelve days at most)
// whose day pillar has branch c as "yyyy-mm-dd" and that pillar; then, when one of the twelve
// months after the chart month (same day of month) has a c month pillar, " " c冲x, year 年,
// month 月 and that month pillar. Empty when x is no branch. Month pillars follow the source.
QString FindClashDates(const QDate& chartDate, QChar branch, cal::CalendarSource source = cal::CalendarSource::Formula);

// The first x day from the chart date on as "yyyy-mm-dd", its pillar and 成局; then " ", year
// 年, month 月, month pillar and 成局 of the first x month among the twelve after the chart's.
QString FindCompletionDates(const QDate& chartDate, QChar branch,
                            cal::CalendarSource source = cal::CalendarSource::Formula);

}  // namespace analysis
