#pragma once
// The objectName of each control of the case browser "读取": the name the window definition gives
// it (the local-case controls added beside them are named by role), kept so that tests and
// scripts find the control and a reader can trace it. The window and the tests both read these;
// a control renamed is renamed here only.

namespace objectnames::casebrowser {

inline constexpr auto window = "TForm3";
inline constexpr auto sourceGroup = "GroupBox1";
inline constexpr auto cloudSource = "RadioButton1";
inline constexpr auto localSource = "RadioButton2";
inline constexpr auto viewGroup = "GroupBox2";
inline constexpr auto byCategory = "RadioButton3";
inline constexpr auto byTime = "RadioButton4";
inline constexpr auto keywordCaption = "Label1";
inline constexpr auto keywordEdit = "Edit1";
inline constexpr auto searchButton = "Button1";
inline constexpr auto categoryList = "ListBox1";
inline constexpr auto yearList = "ListBox2";
inline constexpr auto monthList = "ListBox3";
inline constexpr auto caseList = "ListBox4";
inline constexpr auto textsView = "Memo1";
inline constexpr auto openButton = "Button2";
inline constexpr auto selectedLabel = "Label2";
inline constexpr auto newNameEdit = "Edit2";
inline constexpr auto renameButton = "Button3";
inline constexpr auto deleteCaseButton = "DeleteCaseButton";
inline constexpr auto moveTargetBox = "MoveTargetBox";
inline constexpr auto moveCaseButton = "MoveCaseButton";
inline constexpr auto addCategoryButton = "AddCategoryButton";
inline constexpr auto deleteCategoryButton = "DeleteCategoryButton";

}  // namespace objectnames::casebrowser
