#pragma once
// Where every control of the main window sits, in client coordinates (the radio buttons in
// their group box). The window places its controls from this table; the picture copy and the
// tests read it too.
#include <QRect>

namespace ui::main_layout {

inline constexpr QSize kClient{1124, 581};
inline constexpr QPoint kChartArea{90, 104};  // PaintBox1
// The 断卦辅助 panel, right of the usual client, which widens by it while the panel shows.
inline constexpr QRect kReadingPanel{kClient.width(), 0, 300, kClient.height()};
inline constexpr QSize kClientWithPanel{kClient.width() + kReadingPanel.width(), kClient.height()};

// Labels.
inline constexpr QRect kPillar{90, 10, 665, 20};        // Label1
inline constexpr QRect kVoid{90, 34, 440, 20};          // Label9
inline constexpr QRect kTerm{560, 34, 195, 20};         // Label13
inline constexpr QRect kMainDesc{90, 60, 330, 20};      // Label3
inline constexpr QRect kChangedDesc{425, 60, 330, 20};  // Label4
inline constexpr QRect kTitle{90, 82, 665, 20};         // Label2
inline constexpr QRect kInverted{60, 80, 24, 22};       // Label7 "综"
inline constexpr int kInvertedFontPixels = 16;
inline constexpr QRect kMonthBranch{8, 34, 40, 20};   // Label5
inline constexpr QRect kDayBranch{8, 58, 40, 20};     // Label6
inline constexpr QRect kMessage{980, 12, 100, 20};    // Label12
inline constexpr QRect kGroupLink{8, 530, 200, 20};   // Label10
inline constexpr QRect kMoreGroups{8, 552, 200, 20};  // Label11
// A longer message grows Label12 to the left, up to the column of the case texts.
inline constexpr int kMessageLeftmost = 773;

// Option groups and the radio buttons inside them (one column, rows at kRadioRows).
inline constexpr QRect kBeastGroup{1, 104, 85, 100};     // GroupBox1 装六兽
inline constexpr QRect kDirectionGroup{1, 207, 85, 72};  // GroupBox2 方位
inline constexpr QRect kOrdinalGroup{1, 282, 85, 74};    // GroupBox3 取数
inline constexpr QRect kMethodGroup{1, 359, 85, 74};     // GroupBox4 排卦方式
inline constexpr int kRadioLeft = 8;
inline constexpr QSize kRadioSize{72, 20};
inline constexpr int kRadioRows[] = {22, 46, 70};

// Check boxes.
inline constexpr QRect kStemsBox{8, 451, 100, 20};          // CheckBox4
inline constexpr QRect kAllChangedBox{8, 474, 110, 20};     // CheckBox3
inline constexpr QRect kHiddenChangesBox{8, 497, 110, 20};  // CheckBox5
inline constexpr QRect kHighlightBox{0, 0, 120, 20};        // CheckBox1 (hidden)
inline constexpr QRect kAnnotationsBox{0, 0, 100, 20};      // CheckBox2 (hidden)

// Buttons.
inline constexpr QRect kRecast{773, 447, 75, 25};        // Button1
inline constexpr QRect kHistory{773, 478, 75, 25};       // Button10
inline constexpr QRect kCalendar{643, 447, 112, 25};     // Button12
inline constexpr QRect kInvert{643, 480, 112, 25};       // Button4
inline constexpr QRect kCopyText{437, 447, 86, 25};      // Button13
inline constexpr QRect kCopyPicture{437, 478, 86, 25};   // Button14
inline constexpr QRect kPreviousCase{539, 447, 89, 25};  // Button19
inline constexpr QRect kNextCase{539, 480, 89, 25};      // Button20
inline constexpr QRect kRecent{121, 447, 112, 25};       // Button25
inline constexpr QRect kSettings{1088, 8, 28, 25};       // Button18
inline constexpr QRect kHiddenButton{0, 0, 75, 25};      // Button2, 5, 6, 7, 8, 9, 11 (hidden)
inline constexpr QRect kCaseNumberEdit{0, 0, 200, 22};   // Edit1 (hidden)

// The case editors; double-clicking an editor enlarges it over the other.
inline constexpr QRect kJudgmentLabel{773, 104, 200, 20};  // Label14
inline constexpr QRect kJudgment{773, 126, 343, 120};      // Memo1
inline constexpr QRect kSaveJudgment{773, 252, 75, 25};    // Button28
inline constexpr QRect kFeedback{773, 282, 343, 120};      // Memo3
inline constexpr QRect kSaveFeedback{773, 416, 75, 25};    // Button29
inline constexpr QRect kSaveAll{856, 416, 75, 25};         // Button30
// The outcome beside the feedback, below its save buttons.
inline constexpr QRect kOutcomeBar{856, 447, 260, 56};
inline constexpr int kEnlargedEditorHeight = 284;
inline constexpr QRect kJudgmentEnlarged{kJudgment.x(), kJudgment.y(), kJudgment.width(), kEnlargedEditorHeight};
inline constexpr QRect kFeedbackEnlarged{kFeedback.x(), kJudgment.y(), kFeedback.width(), kEnlargedEditorHeight};
inline constexpr QPoint kSaveJudgmentEnlarged{kSaveJudgment.x(), kSaveFeedback.y()};

// The recent-cases list over the chart (ListBox1).
inline constexpr QRect kRecentList{136, 8, 660, 498};

// The picture copy: the part of the client copied, and the publisher line drawn into it.
inline constexpr QRect kPicture{82, 8, 680, 425};
inline constexpr QRect kPicturePublisher{44, 360, 620, 30};
inline constexpr int kPicturePublisherFontPixels = 14 * 96 / 72;

// The printed page: the picture across the page width, then the text copy below it, in points.
inline constexpr int kPrintGapPoints = 18;
inline constexpr int kPrintTextPoints = 10;

}  // namespace ui::main_layout
