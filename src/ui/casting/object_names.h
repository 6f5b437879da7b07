#pragma once
// The objectName of each control of the casting dialog "起卦": the name the window definition
// gives it, kept so that tests and scripts find the control and a reader can trace it. The
// window and the tests both read these; a control renamed is renamed here only.
#include <array>

namespace objectnames::castdialog {

inline constexpr auto window = "TForm2";
inline constexpr auto tabs = "PageControl1";
inline constexpr auto firstTab = "TabSheet1";
inline constexpr auto secondTab = "TabSheet2";
// Both tabs have a 占类 box beside 占事; the two share the name.
inline constexpr auto questionBox = "questionTypeBox";

// 常用功能
inline constexpr auto subjectEdit1 = "Edit5";
inline constexpr auto dateEdit1 = "DateTimePicker3";
inline constexpr auto timeEdit1 = "DateTimePicker4";
inline constexpr auto categoryBox1 = "ComboBox3";
inline constexpr auto sexBox1 = "ComboBox4";
inline constexpr auto birthYearEdit1 = "Edit4";
inline constexpr auto throwsGroup = "GroupBox3";
// 第一次摇得 .. 第六次摇得
inline constexpr std::array<const char*, 6> throwLabels{"Label29", "Label30", "Label31",
                                                        "Label32", "Label33", "Label34"};
inline constexpr auto manualCastButton = "Button6";
inline constexpr auto computerCastButton1 = "Button2";
inline constexpr auto cancelButton = "Button7";

// 高级功能
inline constexpr auto dateEdit2 = "DateTimePicker1";
inline constexpr auto timeEdit2 = "DateTimePicker2";
inline constexpr auto dateHeaderLabel = "Label14";
inline constexpr auto termLabel = "Label19";
inline constexpr auto categoryBox2 = "ComboBox1";
inline constexpr auto sexBox2 = "ComboBox2";
inline constexpr auto birthYearEdit2 = "Edit2";
inline constexpr auto subjectEdit2 = "Edit3";
inline constexpr auto nameEdit = "Edit1";
inline constexpr auto nameCastButton = "Button4";
inline constexpr auto matchButton = "Button5";
inline constexpr auto viewerButton = "Button29";
// 初爻 .. 上爻
inline constexpr std::array<const char*, 6> lineRadios{"RadioButton1", "RadioButton2", "RadioButton3",
                                                       "RadioButton4", "RadioButton5", "RadioButton6"};
inline constexpr std::array<const char*, 6> lineLabels{"Label7", "Label8", "Label9", "Label10", "Label11", "Label12"};
inline constexpr std::array<const char*, 3> coinImages{"Image1", "Image2", "Image3"};
inline constexpr auto namesLabel = "Label16";
inline constexpr auto clearButton = "Button25";
inline constexpr auto finishManualButton = "Button26";
inline constexpr auto nextLineButton = "Button1";
inline constexpr auto patternBox = "CheckBox1";
inline constexpr auto rulesView = "Memo1";
inline constexpr auto sourceLabel = "Label17";
inline constexpr auto computerCastButton2 = "Button27";
inline constexpr auto randomDateBox = "CheckBox2";
inline constexpr auto methodGroup = "GroupBox2";
inline constexpr auto randomMethod = "RadioButton12";
inline constexpr auto jingfangMethod = "RadioButton13";
inline constexpr auto zangshanMethod = "RadioButton14";
inline constexpr auto chartOnlyBox = "CheckBox3";
inline constexpr auto readCasesButton = "Button3";
inline constexpr auto closeButton = "Button28";

// 数字/时间: 梅花 by the time and by numbers, yarrow odds, the place of this cast
inline constexpr auto numberTimeTab = "NumberTimeTab";
inline constexpr auto numberTimeHeader = "NumberTimeHeader";
inline constexpr auto castPlaceGroup = "CastPlaceGroup";
inline constexpr auto plumGroup = "PlumGroup";
inline constexpr auto plumTimeButton = "PlumTimeButton";
inline constexpr auto numbersEdit = "NumbersEdit";
inline constexpr auto addHourBox = "AddHourBox";
inline constexpr auto plumNumbersButton = "PlumNumbersButton";
inline constexpr auto yarrowGroup = "YarrowGroup";
inline constexpr auto yarrowButton = "YarrowButton";

}  // namespace objectnames::castdialog
