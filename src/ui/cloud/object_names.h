#pragma once
// The objectName of each control of the login window and of the password (account) window: the name the
// window definition gives it, kept so that tests and scripts find the control and a reader can
// trace it. The windows and the tests both read these; a control renamed is renamed here only.

namespace objectnames {

namespace loginwindow {
inline constexpr auto window = "Tlogin_Form";
inline constexpr auto nameEdit = "Edit1";
inline constexpr auto passwordEdit = "Edit2";
inline constexpr auto rememberBox = "CheckBox1";
inline constexpr auto loginButton = "Button1";
inline constexpr auto offlineButton = "Button2";
inline constexpr auto registerLink = "Label3";
inline constexpr auto forgottenLink = "Label4";
inline constexpr auto downloadLabel = "Label10";
// 注册新用户
inline constexpr auto registrationGroup = "GroupBox1";
inline constexpr auto newNameEdit = "Edit3";
inline constexpr auto newPasswordEdit = "Edit4";
inline constexpr auto repeatedEdit = "Edit5";
inline constexpr auto mobileEdit = "Edit6";
inline constexpr auto emailEdit = "Edit7";
inline constexpr auto registerButton = "Button3";
}  // namespace loginwindow

namespace passwordwindow {
inline constexpr auto window = "Tgaimi_Form";
inline constexpr auto oldEdit = "Edit1";
inline constexpr auto newEdit = "Edit2";
inline constexpr auto confirmationEdit = "Edit3";
inline constexpr auto changeButton = "Button1";
// 已记住登录的设备
inline constexpr auto deviceList = "ListView1";
inline constexpr auto removeDeviceButton = "Button2";
}  // namespace passwordwindow

}  // namespace objectnames
