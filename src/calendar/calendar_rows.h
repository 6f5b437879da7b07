#pragma once
// The row texts of the stems-branches calendar viewer.
#include <string>

#include "calendar/calendar_source.h"

namespace cal {

// "1984年 甲子"
std::string yearRowText(int y);
// "2月 乙丑月-丙寅月": the month pillars of the 1st and the 16th.
std::string monthRowText(int y, int m, CalendarSource source = CalendarSource::Formula);
// "4号 丙寅月 戊戌日 星期日 十二月廿五 立春16:25" (the term part empty on other days).
std::string dayRowText(int y, int m, int d, CalendarSource source = CalendarSource::Formula);
// "一月初一", "(闰)四月十五"; empty outside the supported years.
std::string lunarDateText(int y, int m, int d, CalendarSource source = CalendarSource::Formula);
// "星期日" .. "星期六".
std::string weekdayName(int y, int m, int d);

}  // namespace cal
