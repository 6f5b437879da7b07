#pragma once
// The solar terms and the lunar months from the ephemeris, in Beijing time (UTC+8), for the
// civil years kAstronomicalFirstYear..kAstronomicalLastYear (calendar_source.h).
//
// Lunar months follow GB/T 33661-2017: a month starts on the civil day of its new moon; the
// month holding 冬至 is the eleventh; when 13 months lie between two eleventh months, the
// first of them without a principal term (中气) is the leap month.
#include "calendar/lunar.h"

namespace cal {

// Term number n (0 冬至 of the year before .. 24 冬至, 25 小寒 of the year after) of civil year y
// as day of year with the time of day as fraction, as termDay gives it for the formulas.
long double astronomicalTermDay(int y, int n);

// The lunar date of a civil day of a supported year; not ok outside them.
LunarDate astronomicalLunarDate(int y, int m, int d);

// Leap month of the lunar year that begins in civil year y (0 none); -1 outside the years.
int astronomicalLeapMonth(int y);

}  // namespace cal
