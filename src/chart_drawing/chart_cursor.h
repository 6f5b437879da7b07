#pragma once
// The keyboard cursor over the chart's line items: which items the chart on view draws, where
// an arrow key moves the cursor, the frame it is drawn in and the point a click on the item
// would land on. Items are named as a click finds them (ChartHit: row 1..6 from the top,
// column 1 hidden spirit, 2 main, 3 changed).
#include <QPoint>
#include <QRect>

#include "chart_drawing/chart_painter.h"

namespace chart {

enum class CursorMove { Up, Down, Left, Right };

// Whether the chart on view draws the item: every main line of a chart that is drawn; a hidden
// spirit where the line has one; a changed line where the changed hexagram is drawn beside the
// main one and the line changes into it.
bool itemShown(const ChartState& state, bool showingChanged, ChartHit item);
// The cursor on an item the chart draws: kept when drawn, else the main item of its row (the
// top one for none); row 0 for a chart that draws no item.
ChartHit settleCursor(const ChartState& state, bool showingChanged, ChartHit cursor);
// Left and Right go to the next drawn item of the row; Up and Down to the next row, keeping
// the column where that row draws it, else its main item. At an edge the cursor stays.
ChartHit moveCursor(const ChartState& state, bool showingChanged, ChartHit cursor, CursorMove move);
// How far the painter shifts the texts of the columns right: the stems offset under 藏山卜.
int columnShift(const ChartState& state, const ChartOptions& options);
// The frame drawn around the item on the drawing area, for a column shift.
QRect itemFrame(ChartHit item, int shift);
// A point of the item's band and column, where a mouse click would pick it.
QPoint itemPoint(ChartHit item);

}  // namespace chart
