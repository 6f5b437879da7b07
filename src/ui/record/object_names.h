#pragma once
// The objectName of each control of 验证统计, read by the window and its tests.

namespace objectnames::recordwindow {

inline constexpr auto window = "recordWindow";
inline constexpr auto categoryBox = "recordCategoryBox";
inline constexpr auto rangeBox = "recordRangeBox";
inline constexpr auto fromEdit = "recordFromEdit";
inline constexpr auto toEdit = "recordToEdit";
inline constexpr auto pictureButton = "recordPictureButton";
inline constexpr auto csvButton = "recordCsvButton";
inline constexpr auto content = "recordContent";
inline constexpr auto summary = "recordSummary";
// One table per grouping: the prefix and the grouping's word ("groupTable_question").
inline constexpr auto groupTablePrefix = "groupTable_";
inline constexpr auto quarterTable = "quarterTable";
inline constexpr auto timingTable = "timingTable";
inline constexpr auto overdueTable = "overdueTable";

}  // namespace objectnames::recordwindow
