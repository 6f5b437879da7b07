#pragma once
// Rows of text cells laid out as a table by measured widths (for a printed page, where tab
// stops of the font would throw the columns off the page). QtCore only: the caller measures.
#include <QList>
#include <QPointF>
#include <QStringList>
#include <functional>
#include <vector>

namespace chart {

struct PlacedCell {
    QString text;
    QPointF topLeft;  // of the cell's line box, from the table's top-left corner
};

struct TextTable {
    std::vector<PlacedCell> cells;  // row by row, empty cells left out
    double width = 0;
    double height = 0;
};

// A row of one cell is a line of its own, as wide as its text; the cells of the other rows stand
// in columns, each as wide as its widest cell, with columnGap between columns. Every row is
// lineHeight high.
TextTable layoutTextTable(const QList<QStringList>& rows, const std::function<double(const QString&)>& measure,
                          double lineHeight, double columnGap);

}  // namespace chart
