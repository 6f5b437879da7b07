#include "calendar/calendar_source.h"

namespace cal {

std::string_view calendar_source_name(CalendarSource source) {
    return source == CalendarSource::Astronomical ? "astronomical" : "formula";
}

std::optional<CalendarSource> parse_calendar_source(std::string_view name) {
    if (name == "formula") return CalendarSource::Formula;
    if (name == "astronomical") return CalendarSource::Astronomical;
    return std::nullopt;
}

CalendarSource source_for_year(CalendarSource wanted, int y) {
    if (wanted == CalendarSource::Astronomical && (y < kAstronomicalFirstYear || y > kAstronomicalLastYear))
        return CalendarSource::Formula;
    return wanted;
}

std::string fallback_message(CalendarSource wanted, int y) {
    if (source_for_year(wanted, y) == wanted) return {};
    return "天文节气只算" + std::to_string(kAstronomicalFirstYear) + "至" + std::to_string(kAstronomicalLastYear) +
           "年，" + std::to_string(y) + "年按公式计算。";
}

}  // namespace cal
