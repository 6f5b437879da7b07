#pragma once
// Draws a chart on the main window's drawing area (665 x 337) and finds the line a click
// lands on. QtGui only: the window hands in a painter.
#include <QColor>
#include <QPainter>
#include <functional>
#include <vector>

#include "analysis/line_strength.h"
#include "chart/chart_state.h"
#include "chart_drawing/chart_geometry.h"

namespace chart {

inline constexpr int kChartWidth = geometry::kWidth;
inline constexpr int kChartHeight = geometry::kHeight;

struct PaintInputs {
    const ChartState& state;
    const ChartOptions& options;
    bool showingChanged = false;  // the changed hexagram is on view
    QString caseHeader;           // 性别:… 出生:… 占事:…
    // The strength note of a line item (relative, branch, element), drawn in its season's colour.
    std::function<analysis::LineStrength(const QString& item)> strengthNote;
    std::function<QString(QChar mainElement, QChar changedElement)> returnInfluence;
    QColor faceColor = QColor(240, 240, 240);
    QColor textColor = Qt::black;
};

// Stems-shown offset: 22 while stems are shown, else 0.
int stemsShownOffset(const ChartOptions& options);
// A text the painter drew and the rectangle its characters cover, in drawing-area pixels.
struct DrawnText {
    QString text;
    QRect rect;
};
// Draws the chart and returns every text drawn. The notes, the 京房式 stems, the method word and
// the changed name stand where the layout puts them unless a text is already there (or the name
// would leave the area); then each moves to the nearest free place in its row (the names above
// the rows), off the bars too where there is room, so no text covers another.
std::vector<DrawnText> paintChart(QPainter& painter, const PaintInputs& in);

// Row (1..6, from the top) and column (1 hidden spirit, 2 main, 3 changed) under a point of
// the drawing area; row 0 when the point lies in no row band.
struct ChartHit {
    int row = 0;
    int column = 0;
};
ChartHit hitTest(int x, int y);

// Colour of a strength note in a season state: red while the item thrives, browns darkening as
// it weakens; invalid for none (the note colour).
QColor seasonColor(analysis::SeasonState season);
// Colour of a highlight flag: the first matching bit of 1, 2|4, 8, 16, 32; invalid for none.
QColor highlightColor(int flag);

}  // namespace chart
