#include "calendar/calendar_rows.h"

#include <array>

#include "calendar/civil_date.h"
#include "calendar/ganzhi.h"
#include "calendar/lunar.h"
#include "calendar/pillars.h"
#include "calendar/solar_terms.h"

namespace cal {

std::string yearRowText(int y) { return std::to_string(y) + "年 " + ganzhiName(yearGanzhiOfYear(y)); }

std::string monthRowText(int y, int m, CalendarSource source) {
    return std::to_string(m) + "月 " + ganzhiName(monthGanzhi(y, m, 1, source)) + "月-" +
           ganzhiName(monthGanzhi(y, m, 16, source)) + "月";
}

std::string lunarDateText(int y, int m, int d, CalendarSource source) {
    const LunarDate lunar = lunarDate(y, m, d, source);
    if (!lunar.ok) return {};
    return (lunar.leap ? "(闰)" : "") + lunarMonthName(lunar.month, false) + lunarDayName(lunar.day);
}

std::string weekdayName(int y, int m, int d) {
    static constexpr std::array<const char*, 7> kNames = {"星期一", "星期二", "星期三", "星期四",
                                                          "星期五", "星期六", "星期日"};
    return kNames[std::size_t(isoWeekday(y, m, d) - 1)];
}

std::string dayRowText(int y, int m, int d, CalendarSource source) {
    return std::to_string(d) + "号 " + ganzhiName(monthGanzhi(y, m, d, source)) + "月 " +
           ganzhiName(dayGanzhi(y, m, d)) + "日 " + weekdayName(y, m, d) + " " + lunarDateText(y, m, d, source) + " " +
           termTextOfDate(y, m, d, source);
}

}  // namespace cal
