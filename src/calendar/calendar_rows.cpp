#include "calendar/calendar_rows.h"

#include <array>

#include "calendar/civil_date.h"
#include "calendar/ganzhi.h"
#include "calendar/lunar.h"
#include "calendar/pillars.h"
#include "calendar/solar_terms.h"

namespace cal {

std::string year_row_text(int y) { return std::to_string(y) + "年 " + ganzhi_name(year_ganzhi_of_year(y)); }

std::string month_row_text(int y, int m, CalendarSource source) {
    return std::to_string(m) + "月 " + ganzhi_name(month_ganzhi(y, m, 1, source)) + "月-" +
           ganzhi_name(month_ganzhi(y, m, 16, source)) + "月";
}

std::string lunar_date_text(int y, int m, int d, CalendarSource source) {
    const LunarDate lunar = lunar_date(y, m, d, source);
    if (!lunar.ok) return {};
    return (lunar.leap ? "(闰)" : "") + lunar_month_name(lunar.month, false) + lunar_day_name(lunar.day);
}

std::string weekday_name(int y, int m, int d) {
    static constexpr std::array<const char*, 7> kNames = {"星期一", "星期二", "星期三", "星期四",
                                                          "星期五", "星期六", "星期日"};
    return kNames[std::size_t(iso_weekday(y, m, d) - 1)];
}

std::string day_row_text(int y, int m, int d, CalendarSource source) {
    return std::to_string(d) + "号 " + ganzhi_name(month_ganzhi(y, m, d, source)) + "月 " +
           ganzhi_name(day_ganzhi(y, m, d)) + "日 " + weekday_name(y, m, d) + " " + lunar_date_text(y, m, d, source) +
           " " + get_jieqi(y, m, d, source);
}

}  // namespace cal
