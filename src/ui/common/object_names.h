#pragma once
// The objectNames the common helpers give: the scrolled client area of every window, the save
// prompt and the splash screen. Each window's own controls are named in its folder's
// object_names.h.

namespace objectnames {

inline constexpr auto clientScroll = "clientScroll";
inline constexpr auto client = "client";
inline constexpr auto savePrompt = "Tdlg_Form";
inline constexpr auto splash = "TForm6";

// The outcome editor (验证结果 and its dates), in the main window and the case browser.
namespace outcomeeditor {
inline constexpr auto outcomeBox = "outcomeBox";
inline constexpr auto outcomeDateEdit = "outcomeDateEdit";
inline constexpr auto predictedDateEdit = "predictedDateEdit";
}  // namespace outcomeeditor
// The place fields (ui/common/place_fields.h) of the casting dialog and of 设置.
namespace placefields {
inline constexpr auto longitudeBox = "LongitudeBox";
inline constexpr auto timeZoneBox = "TimeZoneBox";
inline constexpr auto beijingTimeRadio = "BeijingTimeRadio";
inline constexpr auto trueSolarTimeRadio = "TrueSolarTimeRadio";
}  // namespace placefields

}  // namespace objectnames
