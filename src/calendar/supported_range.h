#pragma once
// The dates the calendar stands behind: the lunar date (both sources) and the pillars are
// computed for these and no others. Every date entry refuses a date outside them, and the
// calendar viewer lists exactly these years.
#include <string>

#include "calendar/civil_date.h"

namespace cal {

inline constexpr CivilDate kFirstSupportedDate{1900, 1, 1};
inline constexpr CivilDate kLastSupportedDate{2100, 12, 31};

bool isSupportedDate(int y, int m, int d);
// "日期超出可计算的范围（1900-01-01 至 2100-12-31）", for the refusal.
std::string unsupportedDateMessage();

}  // namespace cal
