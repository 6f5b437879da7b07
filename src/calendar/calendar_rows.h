#pragma once
// The row texts of the stems-branches calendar viewer.
#include <string>

#include "calendar/calendar_source.h"

namespace cal {

// "1984年 甲子"
std::string year_row_text(int y);
// "2月 乙丑月-丙寅月": the month pillars of the 1st and the 16th.
std::string month_row_text(int y, int m, CalendarSource source = CalendarSource::Formula);
// "4号 丙寅月 戊戌日 星期日 十二月廿五 立春16:25" (the term part empty on other days).
std::string day_row_text(int y, int m, int d, CalendarSource source = CalendarSource::Formula);
// "一月初一", "(闰)四月十五"; empty outside the supported years.
std::string lunar_date_text(int y, int m, int d, CalendarSource source = CalendarSource::Formula);
// "星期日" .. "星期六".
std::string weekday_name(int y, int m, int d);

}  // namespace cal
