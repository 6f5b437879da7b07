#pragma once
// Where every control of the login window and the password window sits.
#include <QRect>

namespace ui::login_layout {

inline constexpr int kHeight = 236;
inline constexpr int kNarrowWidth = 260;  // registration group hidden
inline constexpr int kWideWidth = 580;    // registration group shown
// A caption and its box in one row, from the row's top-left corner.
inline constexpr QRect kFieldCaption{0, 2, 76, 22};
inline constexpr QRect kField{78, 0, 150, 24};
inline constexpr int kButtonHeight = 28;
inline constexpr QPoint kName{8, 16};                          // Edit1
inline constexpr QPoint kPassword{8, 50};                      // Edit2
inline constexpr QRect kRemember{86, 82, 160, 22};             // CheckBox1
inline constexpr QRect kLogin{30, 112, 94, kButtonHeight};     // Button1
inline constexpr QRect kOffline{136, 112, 94, kButtonHeight};  // Button2
inline constexpr QRect kRegisterLink{30, 154, 100, 20};        // Label3
inline constexpr QRect kForgottenLink{30, 180, 200, 20};       // Label4
inline constexpr QRect kDownload{30, 206, 220, 20};            // Label10
inline constexpr QRect kRegistration{264, 6, 308, 222};        // GroupBox1
inline constexpr int kRegistrationLeft = 8;
inline constexpr int kRegistrationRows[] = {24, 54, 84, 114, 144};  // Edit3 .. Edit7
inline constexpr QRect kRegister{86, 180, 100, kButtonHeight};      // Button3

}  // namespace ui::login_layout

namespace ui::password_layout {

inline constexpr QSize kDialog{420, 336};
inline constexpr int kFirstRow = 14;
inline constexpr int kRowPitch = 34;
inline constexpr QRect kCaption{12, 2, 90, 22};  // from the row's top
inline constexpr QRect kField{104, 0, 160, 24};
inline constexpr int rowY(int row) { return kFirstRow + row * kRowPitch; }
inline constexpr QRect kChange{104, rowY(3) + 4, 100, 28};  // Button1
// The devices that keep this account's login.
inline constexpr QRect kDevicesCaption{12, 160, 396, 20};
inline constexpr QRect kDevices{12, 182, 396, 110};       // ListView1
inline constexpr QRect kRemoveDevice{288, 298, 120, 28};  // Button2

}  // namespace ui::password_layout
