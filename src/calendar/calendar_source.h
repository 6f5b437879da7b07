#pragma once
// Where the term moments and new moons come from: the closed formulas (the default, which stored
// cases and their charts rely on) or an ephemeris of the real sun and moon.
#include <optional>
#include <string>
#include <string_view>

namespace cal {

enum class CalendarSource { Formula, Astronomical };

// The civil years the ephemeris serves; other years fall back to the formulas.
inline constexpr int kAstronomicalFirstYear = 1900;
inline constexpr int kAstronomicalLastYear = 2100;

// "formula" or "astronomical", and back; nullopt for any other name.
std::string_view calendarSourceName(CalendarSource source);
std::optional<CalendarSource> parseCalendarSource(std::string_view name);

// The source that serves civil year y when `wanted` is asked for.
CalendarSource sourceForYear(CalendarSource wanted, int y);
// The message telling the user that year y falls back to the formulas; empty when it does not.
std::string fallbackMessage(CalendarSource wanted, int y);

}  // namespace cal
