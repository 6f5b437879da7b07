#pragma once
// Where every control of the case browser sits (radio buttons in their group box).
#include <QRect>

namespace ui::browser_layout {

inline constexpr QSize kDialog{780, 604};
inline constexpr QRect kSourceGroup{8, 4, 200, 52};       // GroupBox1 数据来源
inline constexpr QRect kViewGroup{216, 4, 200, 52};       // GroupBox2 查看方式
inline constexpr QRect kLeftRadio{8, 22, 95, 22};         // RadioButton1, RadioButton3
inline constexpr QRect kRightRadio{105, 22, 90, 22};      // RadioButton2, RadioButton4
inline constexpr QRect kKeywordCaption{430, 26, 60, 22};  // Label1
inline constexpr QRect kKeyword{490, 24, 190, 24};        // Edit1
inline constexpr QRect kSearch{690, 24, 80, 25};          // Button1
inline constexpr QRect kCategories{8, 64, 170, 300};      // ListBox1
inline constexpr QRect kYears{184, 64, 70, 300};          // ListBox2
inline constexpr QRect kMonths{260, 64, 50, 300};         // ListBox3
inline constexpr QRect kCases{316, 64, 456, 300};         // ListBox4
inline constexpr QRect kTexts{8, 372, 676, 130};          // Memo1
inline constexpr QRect kOpen{692, 372, 80, 25};           // Button2
inline constexpr QRect kSelected{8, 512, 240, 24};        // Label2
inline constexpr QRect kNewName{256, 512, 200, 24};       // Edit2
inline constexpr QRect kRename{464, 511, 110, 25};        // Button3
// The local library: deleting and moving the picked case, adding and deleting categories.
inline constexpr QRect kDeleteCase{692, 402, 80, 25};
inline constexpr QRect kMoveTarget{692, 434, 80, 24};
inline constexpr QRect kMoveCase{692, 464, 80, 25};
inline constexpr QRect kAddCategory{580, 511, 90, 25};
inline constexpr QRect kDeleteCategory{676, 511, 96, 25};
// The outcome of the picked local case, and the record of outcomes.
inline constexpr QRect kOutcome{8, 546, 480, 52};
inline constexpr QRect kSaveOutcome{496, 546, 90, 25};
inline constexpr QRect kRecord{692, 546, 80, 25};

}  // namespace ui::browser_layout
