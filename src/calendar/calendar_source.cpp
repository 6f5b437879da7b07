#include "calendar/calendar_source.h"

namespace cal {

std::string_view calendarSourceName(CalendarSource source) {
    return source == CalendarSource::Astronomical ? "astronomical" : "formula";
}

std::optional<CalendarSource> parseCalendarSource(std::string_view name) {
    if (name == "formula") return CalendarSource::Formula;
    if (name == "astronomical") return CalendarSource::Astronomical;
    return std::nullopt;
}

CalendarSource sourceForYear(CalendarSource wanted, int y) {
    if (wanted == CalendarSource::Astronomical && (y < kAstronomicalFirstYear || y > kAstronomicalLastYear))
        return CalendarSource::Formula;
    return wanted;
}

std::string fallbackMessage(CalendarSource wanted, int y) {
    if (sourceForYear(wanted, y) == wanted) return {};
    return "天文节气只算" + std::to_string(kAstronomicalFirstYear) + "至" + std::to_string(kAstronomicalLastYear) +
           "年，" + std::to_string(y) + "年按公式计算。";
}

}  // namespace cal
