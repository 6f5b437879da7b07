#include "chart_drawing/text_table.h"

#include <algorithm>

namespace chart {

TextTable layoutTextTable(const QList<QStringList>& rows, const std::function<double(const QString&)>& measure,
                          double lineHeight, double columnGap) {
    std::vector<double> columnWidths;
    for (const QStringList& row : rows) {
        if (row.size() < 2) continue;
        if (columnWidths.size() < std::size_t(row.size())) columnWidths.resize(std::size_t(row.size()), 0.0);
        for (qsizetype k = 0; k < row.size(); ++k)
            columnWidths[std::size_t(k)] = std::max(columnWidths[std::size_t(k)], measure(row[k]));
    }
    std::vector<double> columnX(columnWidths.size(), 0.0);
    for (std::size_t k = 1; k < columnX.size(); ++k) columnX[k] = columnX[k - 1] + columnWidths[k - 1] + columnGap;

    TextTable table;
    double y = 0;
    for (const QStringList& row : rows) {
        for (qsizetype k = 0; k < row.size(); ++k) {
            if (row[k].isEmpty()) continue;
            const double x = row.size() < 2 ? 0.0 : columnX[std::size_t(k)];
            table.cells.push_back({row[k], QPointF(x, y)});
            table.width = std::max(table.width, x + measure(row[k]));
        }
        y += lineHeight;
    }
    table.height = y;
    return table;
}

}  // namespace chart
