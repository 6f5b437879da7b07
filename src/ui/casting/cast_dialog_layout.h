#pragma once
// Where every control of the casting dialog sits, in the coordinates of its tab page.
#include <QRect>

namespace ui::cast_layout {

inline constexpr QSize kDialog{660, 500};
inline constexpr QRect kTabs{4, 4, 652, 492};  // PageControl1
inline constexpr int kCaptionHeight = 24;
inline constexpr QSize kDatePicker{112, 24};
inline constexpr QSize kTimePicker{92, 24};
inline constexpr int kCheckBoxHeight = 22;
inline constexpr int kThrowFontPoints = 14;
inline constexpr int kLineFontPoints = 12;

// The case details of either tab in one row at the tab's y: category, sex, birth year.
struct DetailRow {
    QRect categoryCaption{8, 0, 44, kCaptionHeight};
    QRect category{52, 0, 140, 24};
    QRect sexCaption{204, 0, 44, kCaptionHeight};
    QRect sex{248, 0, 70, 24};
    QRect birthYearCaption{330, 0, 56, kCaptionHeight};
    QRect birthYear{386, 0, 64, 24};
};
inline constexpr DetailRow kDetails{};

// 常用功能
namespace first {
inline constexpr QRect kSubjectCaption{8, 16, 44, kCaptionHeight};
inline constexpr QRect kSubject{52, 16, 420, 24};  // Edit5
inline constexpr QRect kQuestionCaption{480, 16, 44, kCaptionHeight};
inline constexpr QRect kQuestion{524, 16, 108, 24};
inline constexpr QRect kMomentCaption{8, 50, 100, kCaptionHeight};
inline constexpr QPoint kDate{108, 50};  // DateTimePicker3
inline constexpr QPoint kTime{226, 50};  // DateTimePicker4
inline constexpr int kDetailsY = 84;
inline constexpr QRect kThrows{8, 122, 300, 232};  // GroupBox3
// The throws stack like the lines of a hexagram: the first at the bottom.
inline constexpr int kThrowLeft = 24;
inline constexpr int kThrowTop = 28;
inline constexpr int kThrowPitch = 33;
inline constexpr QSize kThrowSize{250, 30};
inline constexpr QRect throwLabel(int k) { return {QPoint(kThrowLeft, kThrowTop + (5 - k) * kThrowPitch), kThrowSize}; }
inline constexpr QRect kManualCast{332, 140, 130, 32};    // Button6
inline constexpr QRect kComputerCast{332, 186, 130, 32};  // Button2
inline constexpr QRect kCancel{332, 232, 130, 32};        // Button7
}  // namespace first

// 高级功能
namespace second {
inline constexpr QRect kMomentCaption{8, 8, 100, kCaptionHeight};
inline constexpr QPoint kDate{108, 8};               // DateTimePicker1
inline constexpr QPoint kTime{226, 8};               // DateTimePicker2
inline constexpr QRect kDateHeader{8, 36, 440, 22};  // Label14
inline constexpr QRect kTerm{330, 8, 118, 24};       // Label19
inline constexpr int kDetailsY = 62;
inline constexpr QRect kSubjectCaption{8, 92, 44, kCaptionHeight};
inline constexpr QRect kSubject{52, 92, 240, 24};  // Edit3
inline constexpr QRect kQuestionCaption{300, 92, 44, kCaptionHeight};
inline constexpr QRect kQuestion{344, 92, 106, 24};
inline constexpr QRect kNameCaption{8, 124, 110, kCaptionHeight};
inline constexpr QRect kName{118, 124, 332, 24};      // Edit1
inline constexpr QRect kNameCast{118, 154, 104, 26};  // Button4
inline constexpr QRect kMatch{230, 154, 100, 26};     // Button5
inline constexpr QRect kViewer{338, 154, 112, 26};    // Button29
// The lines, the top line uppermost.
inline constexpr int kLineTop = 190;
inline constexpr int kLinePitch = 26;
inline constexpr int lineY(int line) { return kLineTop + (5 - line) * kLinePitch; }
inline constexpr QRect lineRadio(int line) { return {8, lineY(line), 70, 24}; }
inline constexpr QRect lineSymbol(int line) { return {80, lineY(line), 60, 24}; }
inline constexpr int kCoinLeft = 160;
inline constexpr int kCoinPitch = 56;
inline constexpr QRect coin(int i) { return {kCoinLeft + i * kCoinPitch, 196, 48, 48}; }  // Image1..3
inline constexpr QRect kNames{160, 252, 290, 24};                                         // Label16
inline constexpr QRect kClear{160, 284, 80, 26};                                          // Button25
inline constexpr QRect kFinishManual{248, 284, 110, 26};                                  // Button26
inline constexpr QRect kNextLine{366, 284, 84, 26};                                       // Button1
inline constexpr QRect kPattern{160, 318, 150, kCheckBoxHeight};                          // CheckBox1
inline constexpr QRect kRules{8, 350, 442, 104};                                          // Memo1
inline constexpr QRect kSource{462, 8, 176, 44};                                          // Label17
inline constexpr QRect kComputerCast{462, 56, 130, 28};                                   // Button27
inline constexpr QRect kRandomDate{462, 92, 176, kCheckBoxHeight};                        // CheckBox2
inline constexpr QRect kMethodGroup{462, 124, 176, 102};                                  // GroupBox2
inline constexpr QRect methodRadio(int row) { return {10, 24 + row * 24, 150, 22}; }      // RadioButton12..14
inline constexpr QRect kChartOnly{462, 236, 176, kCheckBoxHeight};                        // CheckBox3
inline constexpr QRect kReadCases{462, 424, 84, 28};                                      // Button3
inline constexpr QRect kClose{554, 424, 84, 28};                                          // Button28
}  // namespace second

}  // namespace ui::cast_layout
