#pragma once
// The objectName of each control of the stems-branches viewer "天干地支查看": the name the window
// definition gives it, kept so that tests and scripts find the control and a reader can trace
// it. The window and the tests both read these; a control renamed is renamed here only.

namespace objectnames::calendarviewer {

inline constexpr auto window = "TForm4";
inline constexpr auto yearList = "ListBox1";
inline constexpr auto monthList = "ListBox2";
inline constexpr auto dayList = "ListBox3";
inline constexpr auto pickedLabel = "Label1";
inline constexpr auto hintLabel = "Label2";
inline constexpr auto useButton = "Button1";
inline constexpr auto closeButton = "Button2";

}  // namespace objectnames::calendarviewer
