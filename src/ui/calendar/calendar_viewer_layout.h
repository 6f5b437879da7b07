#pragma once
// Where every control of the stems-branches calendar viewer sits.
#include <QRect>

namespace ui::calendar_layout {

inline constexpr QSize kDialog{760, 460};
inline constexpr QRect kYears{8, 36, 120, 370};     // ListBox1
inline constexpr QRect kMonths{136, 36, 170, 370};  // ListBox2
inline constexpr QRect kDays{314, 36, 438, 370};    // ListBox3
inline constexpr QRect kPicked{8, 8, 400, 22};      // Label1
inline constexpr QRect kHint{8, 418, 400, 22};      // Label2
inline constexpr QRect kUse{560, 416, 92, 28};      // Button1
inline constexpr QRect kClose{660, 416, 92, 28};    // Button2

}  // namespace ui::calendar_layout
