#pragma once
// The objectName of each control of the main window (with its popup menu and its 断卦辅助 panel)
// and of the settings dialog. The main window's controls carry the names the window definition
// gives them, kept so that tests and scripts find a control and a reader can trace it; the
// window and the tests both read these, so a control renamed is renamed here only.
#include <QString>
#include <array>

namespace objectnames {

namespace mainwindow {

inline constexpr auto window = "TForm1";
inline constexpr auto chartArea = "PaintBox1";

inline constexpr auto pillarLabel = "Label1";
inline constexpr auto titleLabel = "Label2";
inline constexpr auto mainDescLabel = "Label3";
inline constexpr auto changedDescLabel = "Label4";
inline constexpr auto monthBranchLabel = "Label5";
inline constexpr auto dayBranchLabel = "Label6";
inline constexpr auto invertedLabel = "Label7";
inline constexpr auto voidLabel = "Label9";
inline constexpr auto groupLinkLabel = "Label10";
inline constexpr auto moreGroupsLabel = "Label11";
inline constexpr auto messageLabel = "Label12";
inline constexpr auto termLabel = "Label13";
inline constexpr auto judgmentLabel = "Label14";

inline constexpr auto beastGroup = "GroupBox1";
inline constexpr auto beastYear = "RadioButton1";
inline constexpr auto beastMonth = "RadioButton2";
inline constexpr auto beastDay = "RadioButton3";
inline constexpr auto directionGroup = "GroupBox2";
inline constexpr auto directionXiantian = "RadioButton4";
inline constexpr auto directionHoutian = "RadioButton5";
inline constexpr auto ordinalGroup = "GroupBox3";
inline constexpr auto ordinalXiantian = "RadioButton6";
inline constexpr auto ordinalHoutian = "RadioButton7";
inline constexpr auto methodGroup = "GroupBox4";
inline constexpr auto jingfangRadio = "RadioButton13";
inline constexpr auto zangshanRadio = "RadioButton14";

inline constexpr auto highlightBox = "CheckBox1";
inline constexpr auto annotationsBox = "CheckBox2";
inline constexpr auto allChangedBox = "CheckBox3";
inline constexpr auto stemsBox = "CheckBox4";
inline constexpr auto hiddenChangesBox = "CheckBox5";

inline constexpr auto recastButton = "Button1";
inline constexpr auto showChangedButton = "Button2";
inline constexpr auto invertButton = "Button4";
inline constexpr auto reportButton = "Button5";
inline constexpr auto knowledgeButton = "Button6";
inline constexpr auto hideChangedButton = "Button7";
inline constexpr auto enterButton = "Button8";
inline constexpr auto saveNoteButton = "Button9";
inline constexpr auto historyButton = "Button10";
inline constexpr auto refreshButton = "Button11";
inline constexpr auto calendarButton = "Button12";
inline constexpr auto copyTextButton = "Button13";
inline constexpr auto copyPictureButton = "Button14";
inline constexpr auto settingsButton = "Button18";
inline constexpr auto previousCaseButton = "Button19";
inline constexpr auto nextCaseButton = "Button20";
inline constexpr auto recentButton = "Button25";
inline constexpr auto saveJudgmentButton = "Button28";
inline constexpr auto saveFeedbackButton = "Button29";
inline constexpr auto saveAllButton = "Button30";

inline constexpr auto caseNumberEdit = "Edit1";
inline constexpr auto judgmentEdit = "Memo1";
inline constexpr auto feedbackEdit = "Memo3";
inline constexpr auto recentList = "ListBox1";

inline constexpr auto popupMenu = "PopupMenu1";
inline constexpr auto reportAction = "N7";
inline constexpr auto readingPanelAction = "readingPanelAction";
inline constexpr auto savePictureAction = "savePicture";
inline constexpr auto printAction = "print";
inline constexpr auto recordAction = "recordAction";
inline constexpr auto backUpAction = "BackUpAction";
inline constexpr auto restoreAction = "RestoreAction";
inline constexpr auto settingsAction = "SettingsAction";
// 更改旺衰: 月日(默认), 年月, 日时, 时分
inline constexpr std::array<const char*, 4> basisActions{"basis0", "basis1", "basis2", "basis3"};
// Shift+F10 for the popup menu.
inline constexpr auto popupKey = "popupKey";
// The action of a button's key is named after the button: "Button1Key".
inline constexpr auto keyActionSuffix = "Key";

}  // namespace mainwindow

// 断卦辅助, beside the main window's texts.
namespace readingpanel {
inline constexpr auto panel = "readingPanel";
inline constexpr auto questionBox = "readingQuestionBox";
inline constexpr auto genderLabel = "readingGender";
inline constexpr auto lines = "readingLines";
}  // namespace readingpanel

// The outcome beside the feedback, with 取应期.
namespace outcomebar {
inline constexpr auto bar = "outcomeBar";
inline constexpr auto takeTimingButton = "takeTimingButton";
}  // namespace outcomebar

namespace settingsdialog {
inline constexpr auto window = "SettingsDialog";
inline constexpr auto calendarSourceGroup = "CalendarSourceGroup";
inline constexpr auto formulaRadio = "FormulaRadio";
inline constexpr auto astronomicalRadio = "AstronomicalRadio";
inline constexpr auto calendarSourceNote = "CalendarSourceNote";
inline constexpr auto schoolGroup = "SchoolGroup";
inline constexpr auto okButton = "OkButton";
inline constexpr auto cancelButton = "CancelButton";
inline constexpr auto placeGroup = "PlaceGroup";
inline constexpr auto languageGroup = "LanguageGroup";
inline constexpr auto languageCombo = "LanguageCombo";
inline constexpr auto languageNote = "LanguageNote";
// The box of a school choice, named by its key: "SchoolCombo-noble".
inline QString schoolCombo(const char* key) { return QStringLiteral("SchoolCombo-") + QLatin1StringView(key); }
}  // namespace settingsdialog

}  // namespace objectnames
