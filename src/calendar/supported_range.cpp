#include "calendar/supported_range.h"

#include <cstdio>
#include <tuple>

namespace cal {

bool isSupportedDate(int y, int m, int d) {
    const auto key = [](const CivilDate& c) { return std::tuple(c.year, c.month, c.day); };
    const CivilDate date{y, m, d};
    return key(date) >= key(kFirstSupportedDate) && key(date) <= key(kLastSupportedDate);
}

std::string unsupportedDateMessage() {
    char range[64];
    std::snprintf(range, sizeof range, "%04d-%02d-%02d 至 %04d-%02d-%02d", kFirstSupportedDate.year,
                  kFirstSupportedDate.month, kFirstSupportedDate.day, kLastSupportedDate.year, kLastSupportedDate.month,
                  kLastSupportedDate.day);
    return std::string("日期超出历法可计算的范围（") + range + "），四柱和农历无从推算";
}

}  // namespace cal
