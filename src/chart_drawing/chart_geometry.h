#pragma once
// Where the chart painter puts everything on the drawing area, and the row bands a click is
// tested against. x positions are the left edge of a text or bar before the stems shift
// (wq: 22 while 藏山卜 stems are shown) is added with the factor given beside it.
namespace chart::geometry {

inline constexpr int kWidth = 665;
inline constexpr int kHeight = 337;
inline constexpr int kStemsShift = 22;

// The six rows, top line first: row i spans (rowTop(i), rowTop(i) + kRowPitch) exclusive.
inline constexpr int kFirstRowTop = 64;
inline constexpr int kRowPitch = 35;
constexpr int rowTop(int i) { return kFirstRowTop + kRowPitch * i; }
// Click columns: hidden spirit up to kHiddenColumnEnd, changed line beyond kChangedColumnStart.
inline constexpr int kHiddenColumnEnd = 197;
inline constexpr int kChangedColumnStart = 455;

// A text's position is the top-left corner of its character cell. The cell is one em high
// with the baseline 7/8 em below its top, the metrics of the CJK screen fonts the positions
// were laid out with; a face with a taller line box is placed by these, not its own ascent.
inline constexpr int kCellBaselineEighths = 7;

// Header: method word, hexagram names (+wq, changed +2wq), the case header.
inline constexpr int kMethodX = 540, kMethodY = 8;
inline constexpr int kNameY = 30;
inline constexpr int kCaseHeaderX = 20, kCaseHeaderY = 2;

// Row items.
inline constexpr int kBeastX = 8;
inline constexpr int kHiddenRelativeX = 65;
inline constexpr int kHiddenBranchX = 115;     // +wq
inline constexpr int kRelativeX = 171;         // +wq (also the main name)
inline constexpr int kBranchX = 221;           // +2wq
inline constexpr int kMarkX = 333;             // +2wq
inline constexpr int kChangedMarkX = 565;      // +3wq
inline constexpr int kChangedRelativeX = 405;  // +2wq (also the changed name)
inline constexpr int kChangedBranchX = 455;    // +3wq
inline constexpr int kMotionX = 370;           // +2wq: "o->" / "x->"

// Bars: a yang bar is one block; a yin bar leaves a gap after its first part.
inline constexpr int kMainBarX = 275;     // +2wq
inline constexpr int kChangedBarX = 507;  // +3wq
inline constexpr int kBarWidth = 50;
inline constexpr int kBarTop = 6;  // below the row top
inline constexpr int kBarHeight = 12;
inline constexpr int kYinFirstPart = 22;
inline constexpr int kYinSecondStart = 29;

// Notes: void or clash and strength of hidden spirit, main and changed items, the advance
// note and the return influence; the second line of a note sits kNoteLine lower.
inline constexpr int kNoteLine = 14;
// A note moved off a text stays in its row's band or this far into the gap beyond it.
inline constexpr int kNoteReach = 6;
inline constexpr int kHiddenNoteX = 161;    // +wq
inline constexpr int kMainNoteX = 305;      // +2wq
inline constexpr int kChangedVoidX = 557;   // +3wq
inline constexpr int kChangedStateX = 585;  // +3wq

// Stems: 京房式 small stems above rows 0 and 3 (hidden spirit, main, changed), 藏山卜 stems
// in the rows.
inline constexpr int kSmallStemRise = 4;
inline constexpr int kSmallStemX[3] = {106, 213, 446};
inline constexpr int kZangshanMainStemX = 241;
inline constexpr int kZangshanHiddenStemX = 113;
inline constexpr int kZangshanChangedStemX = 497;

// Font sizes in points of a 96-dpi screen.
inline constexpr int kNameFont = 18;
inline constexpr int kHeaderFont = 14;
inline constexpr int kMotionFont = 12;
inline constexpr int kNoteFont = 10;

// English rows: each item on two lines of this size (a text too wide for its column is drawn
// smaller), the second line this far below the first; the marks on one line, lowered by this.
inline constexpr int kEnglishRowFont = 11;
inline constexpr int kEnglishSecondLine = 17;
inline constexpr int kEnglishMarkDrop = 9;

}  // namespace chart::geometry
